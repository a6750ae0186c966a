// The buttons left of "Ок" in the results window, which keep the run the window shows:
// "Печать…" prints the report of all twelve pages on a printer the user chooses, "Сохранить
// PDF…" writes that report as a PDF file, "Сохранить HTML…" writes the lesson as one HTML file
// for any browser, "Сохранить таблицы…" writes the run's values as a CSV file. Files are written
// whole or not at all; a failure is shown as one sentence with the path and the reason.
#pragma once

#include "analysis/RunResult.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

class QPrinter;
class QPushButton;
class QTabWidget;
class TFrmRunTarget;

// The run the window shows, as its outputs need it.
struct TShownRun {
    // What the pages show; every output reads it.
    std::shared_ptr<const TRunResult> Result;
    // At the top of every printed page: "вариант 5, без сглаживания".
    QString Heading;
    // The suggested file name without its extension: "zelvano-вариант-5".
    QString FileBase;
};

class TResultsActions : public QObject {
    Q_OBJECT
public:
    // Adds the buttons to window, in the strip left of its "Ок"; dialogs open over window. The
    // report is made of pages, whose image areas target paints on; both must outlive the actions.
    TResultsActions(QWidget &window, const QTabWidget &pages, TFrmRunTarget &target);

    // The run the buttons keep from now on; until one is given they do nothing.
    void SetRun(TShownRun run) { FRun = std::move(run); }
    const TShownRun &Run() const { return FRun; }

    QPushButton *Button2() const { return FButton2; } // "Печать…"
    QPushButton *Button3() const { return FButton3; } // "Сохранить PDF…"
    QPushButton *Button4() const { return FButton4; } // "Сохранить таблицы…"
    QPushButton *Button5() const { return FButton5; } // "Сохранить HTML…"

    // Called before a report reads the pages: the window paints some of them only when shown.
    std::function<void()> BringPagesUpToDate;
    // The print dialog for printer; true to print. Tests replace it.
    std::function<bool(QPrinter &printer)> AskPrinter;
    // The save dialog: the chosen path, empty when cancelled. Tests replace it.
    std::function<QString(const QString &caption, const QString &suggested, const QString &filter,
                          const QString &suffix)>
        AskFileName;

    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

    // The outputs without dialogs; false after the failure was shown in a message box.
    bool Print(QPrinter &printer);
    bool SavePdf(const QString &path);
    bool SaveTables(const QString &path);
    bool SaveHtml(const QString &path);

private:
    // Asks for a file name with the given dialog title, filter and extension, then saves.
    void AskAndSave(const QString &title, const QString &filter, const QString &extension,
                    bool (TResultsActions::*save)(const QString &));
    QString Suggested(const QString &suffix) const;
    // A file that could not be written, as one Russian sentence with the path and the reason.
    void ShowWriteError(const QString &sentence);

    QWidget &FWindow;
    const QTabWidget &FPages;
    TFrmRunTarget &FTarget;
    TShownRun FRun;
    QString FFolder; // where the last file went
    QPushButton *FButton2 = nullptr;
    QPushButton *FButton3 = nullptr;
    QPushButton *FButton4 = nullptr;
    QPushButton *FButton5 = nullptr;
};
