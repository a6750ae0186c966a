#include "results/ResultsActions.h"

#include "analysis/RunCsv.h"
#include "results/FontSetup.h"
#include "results/HtmlLesson.h"
#include "results/ResultsPdf.h"
#include "results/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>

namespace {

// The strip below the tab control, as high as "Ок".
constexpr int StripTop = 680;
constexpr int ButtonHeight = 33;
// Four buttons and their gaps end at 608, leaving room before "Ок" (at 744) for the mark of a
// run that is not current.
constexpr int ButtonWidth = 144;
constexpr int ButtonGap = 8;

QString DefaultFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

TResultsActions::TResultsActions(QWidget &window, const QTabWidget &pages, TFrmRunTarget &target)
    : QObject(&window), FWindow(window), FPages(pages), FTarget(target), FFolder(DefaultFolder()) {
    const QFont font = ClassicFont(QStringLiteral("Comic Sans MS"), 11, true);
    int left = ButtonGap;
    auto addButton = [&](const char *name, const QString &caption,
                         void (TResultsActions::*click)()) {
        auto *button = new QPushButton(caption, &window);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, StripTop, ButtonWidth, ButtonHeight);
        button->setFont(FitFont(font, caption, ButtonWidth - 16));
        connect(button, &QPushButton::clicked, this, click);
        left += ButtonWidth + ButtonGap;
        return button;
    };
    FButton2 = addButton("Button2", QCoreApplication::translate("TResultsActions", "Печать…"),
                         &TResultsActions::Button2Click);
    FButton3 =
        addButton("Button3", QCoreApplication::translate("TResultsActions", "Сохранить PDF…"),
                  &TResultsActions::Button3Click);
    FButton5 =
        addButton("Button5", QCoreApplication::translate("TResultsActions", "Сохранить HTML…"),
                  &TResultsActions::Button5Click);
    FButton4 =
        addButton("Button4", QCoreApplication::translate("TResultsActions", "Сохранить таблицы…"),
                  &TResultsActions::Button4Click);

    // The platform's print and save keys; the PDF is what this window saves.
    auto *print = new QShortcut(QKeySequence::Print, &window);
    connect(print, &QShortcut::activated, this, &TResultsActions::Button2Click);
    auto *save = new QShortcut(QKeySequence::Save, &window);
    connect(save, &QShortcut::activated, this, &TResultsActions::Button3Click);

    AskPrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, &FWindow);
        return dialog.exec() == QDialog::Accepted;
    };
    AskFileName = [this](const QString &caption, const QString &suggested, const QString &filter,
                         const QString &suffix) {
        QFileDialog dialog(&FWindow, caption, suggested, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(suggested);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
}

QString TResultsActions::Suggested(const QString &suffix) const {
    return QDir(FFolder).filePath(FRun.FileBase + u'.' + suffix);
}

void TResultsActions::ShowWriteError(const QString &sentence) {
    QMessageBox box(QMessageBox::Critical,
                    QCoreApplication::translate("TResultsActions", "Ошибка записи"), sentence,
                    QMessageBox::Ok, &FWindow);
    box.exec();
}

void TResultsActions::Button2Click() {
    if (!FRun.Result) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(FRun.FileBase);
    // The pages are landscape on the screen; the dialog lets the user choose otherwise.
    printer.setPageOrientation(QPageLayout::Landscape);
    // The margins of the saved PDF: a printer's own minimum of a few millimetres may clip.
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    if (AskPrinter && AskPrinter(printer)) Print(printer);
}

void TResultsActions::AskAndSave(const QString &title, const QString &filter,
                                 const QString &extension,
                                 bool (TResultsActions::*save)(const QString &)) {
    if (!FRun.Result || !AskFileName) return;
    const QString path = AskFileName(title, Suggested(extension), filter, extension);
    if (!path.isEmpty()) (this->*save)(path);
}

void TResultsActions::Button3Click() {
    AskAndSave(QCoreApplication::translate("TResultsActions", "Сохранить PDF"),
               QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"), &TResultsActions::SavePdf);
}

void TResultsActions::Button4Click() {
    AskAndSave(QCoreApplication::translate("TResultsActions", "Сохранить таблицы"),
               QCoreApplication::translate("TResultsActions", "Таблицы CSV (*.csv)"),
               QStringLiteral("csv"), &TResultsActions::SaveTables);
}

void TResultsActions::Button5Click() {
    AskAndSave(QCoreApplication::translate("TResultsActions", "Сохранить урок в HTML"),
               QCoreApplication::translate("TResultsActions", "Веб-страница (*.html)"),
               QStringLiteral("html"), &TResultsActions::SaveHtml);
}

bool TResultsActions::Print(QPrinter &printer) {
    if (!FRun.Result) return false;
    if (BringPagesUpToDate) BringPagesUpToDate();
    if (PaintResultsReport(FPages, FTarget, printer, FRun.Heading)) return true;
    QMessageBox box(QMessageBox::Critical,
                    QCoreApplication::translate("TResultsActions", "Ошибка печати"),
                    QCoreApplication::translate("TResultsActions",
                                                "Не удалось напечатать отчёт на принтере\n%1")
                        .arg(printer.printerName().isEmpty() ? printer.outputFileName()
                                                             : printer.printerName()),
                    QMessageBox::Ok, &FWindow);
    box.exec();
    return false;
}

bool TResultsActions::SavePdf(const QString &path) {
    if (!FRun.Result) return false;
    if (BringPagesUpToDate) BringPagesUpToDate();
    FFolder = QFileInfo(path).absolutePath();
    QString reason, sentence;
    if (WriteResultsPdf(FPages, FTarget, path, FRun.Heading, reason, &sentence)) return true;
    ShowWriteError(sentence);
    return false;
}

bool TResultsActions::SaveTables(const QString &path) {
    if (!FRun.Result) return false;
    FFolder = QFileInfo(path).absolutePath();
    QString sentence;
    if (WriteWholeFile(path, QByteArray::fromStdString(RunTablesCsv(*FRun.Result)), &sentence)
            .isEmpty())
        return true;
    ShowWriteError(sentence);
    return false;
}

bool TResultsActions::SaveHtml(const QString &path) {
    if (!FRun.Result) return false;
    if (BringPagesUpToDate) BringPagesUpToDate();
    FFolder = QFileInfo(path).absolutePath();
    QString reason, sentence;
    if (WriteLessonHtml(FPages, FTarget, FRun.Result.get(), path, FRun.Heading, reason, &sentence))
        return true;
    ShowWriteError(sentence);
    return false;
}
