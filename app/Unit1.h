// The input window: the variant list, the two grids of monthly counts, the smoothing choice and
// the run button. It is the main window; closing it ends the program.
#pragma once

#include "analysis/NumMethods.h"
#include "app/Controls.h"
#include "app/Settings.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class TFrmRun;
class TFrmRunTarget;

// The current variant, 0-based (0 = variant 1). Always 0 .. 29.
extern int32_t VariantIndex;
// -1 after ShowInputError until the run clears it, else 0.
extern int32_t InputError;
// The counts read by the last run, index 0 = month 1.
extern TCountArray Counts1;
extern TCountArray Counts2;

// The value of a count text, as the analysis layer's CountFromText reads it.
bool CountFromText(const QString &text, int32_t &value);

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // place: where data.ini is read at start and written when the window is destroyed.
    explicit TForm1(const TSettingsPlace &place = DefaultSettingsPlace(),
                    QWidget *parent = nullptr);
    ~TForm1() override;

    // The results window the run paints on and shows; not owned, and it must outlive this
    // window or be replaced first.
    void SetResultsWindow(TFrmRun *frmRun) { FFrmRun = frmRun; }
    // The run's view of the results window (with what its image areas painted last); null
    // without a results window.
    TFrmRunTarget *RunTarget() const;

    // The top-left corner of a window of outer size `window` on a screen of size `screen`:
    // centred across, lifted by an eighth of the screen height above the middle.
    static QPoint StartPosition(QSize screen, QSize window);

    // The run button: paints the formulas page, reads the counts (stopping at the first bad
    // cell), computes the run, and either reports a refusal or fills the results window and
    // shows it. A stopped or refused run leaves the results window as it was.
    void Button1Click();
    // Reads the ten cells of each grid into Counts1 and Counts2, grid 1 first, month 1 first.
    // The first cell that does not convert is reported, named, and gets the focus; then false.
    bool ReadCounts();
    // The variant list changed: a text equal to a list item selects that variant.
    void ComboBox1Change();
    // Copies the variant at VariantIndex into row 1 of both grids.
    void FillGrids();
    // The key hook of both grids: digits and backspace pass, any other character is discarded.
    void StringGrid1KeyPress(QChar &key);
    // The count in a cell text; 0 after reporting an input error.
    int32_t ParseCount(const QString &text);
    // The modal "Ошибка ввода" box; sets InputError.
    void ShowInputError();
    // The same box naming the cell (grid, population 1 or 2, column 0 .. 9) on a second line;
    // when it closes, that cell has the focus with its text selected.
    void ShowInputError(TStringGrid *grid, int population, int col);
    // The modal "Ошибка ввода" box with the error icon and a refused run's reason.
    void ShowRunError(const QString &text);
    // The language picked in the window's context menu: kept in data.ini with the variant and
    // used from the next start on, which a note says.
    void ChooseLanguage(TLanguage language);
    std::optional<TLanguage> ChosenLanguage() const { return FChosenLanguage; }

    // After the results window closed: counts changed on its exploring page become the grids'
    // counts and smoothing, and the variant box shows that they are the user's own. Unchanged
    // counts leave the window as it is.
    void TakeExplored();
    // The variant box's text for counts that are no variant's.
    static QString OwnDataText();

    QLabel *Label1() const { return FLabel1; }
    QLabel *Label2() const { return FLabel2; }
    QLabel *Label3() const { return FLabel3; }
    QLabel *Label4() const { return FLabel4; }
    QPushButton *Button1() const { return FButton1; }
    QComboBox *ComboBox1() const { return FComboBox1; }
    TStringGrid *StringGrid1() const { return FStringGrid1; }
    TStringGrid *StringGrid2() const { return FStringGrid2; }
    TRadioGroup *RadioGroup1() const { return FRadioGroup1; }

protected:
    // Enter and keypad Enter on the focused run button run it, as Space does.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();

    TSettingsPlace FPlace;
    std::optional<TLanguage> FChosenLanguage;
    TFrmRun *FFrmRun = nullptr;
    QLabel *FLabel1 = nullptr;
    QLabel *FLabel2 = nullptr;
    QLabel *FLabel3 = nullptr;
    QLabel *FLabel4 = nullptr;
    QPushButton *FButton1 = nullptr;
    QComboBox *FComboBox1 = nullptr;
    TStringGrid *FStringGrid1 = nullptr;
    TStringGrid *FStringGrid2 = nullptr;
    TRadioGroup *FRadioGroup1 = nullptr;
};
