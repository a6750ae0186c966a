// The results window: twelve tab pages of image areas, charts and labels that an analysis run
// fills, and "Ок" to close it. It is resizable; each page scrolls inside its tab. It is created
// hidden at start and shown modally after each run. It keeps the result of the run it shows, which
// its print and save buttons read. Its lifetime brackets the formula font's.
#pragma once

#include "results/Chart.h"
#include "results/Image.h"
#include "results/ResultsActions.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

#include <array>
#include <bitset>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTabWidget;
class TCheckChart;
class TExplorePage;
class TFrmRunTarget;
class TPageZoom;

class TFrmRun : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRun(QWidget *parent = nullptr);
    ~TFrmRun() override;

    // Fits the window into the screen's free area, hands pending chart points to the views and
    // shows the window modally; returns when it is closed.
    void ShowModal();

    QTabWidget *PageControl1() const { return FPageControl1; }
    QPushButton *Button1() const { return FButton1; }
    // The print and save buttons left of "Ок" and what they keep.
    TResultsActions *Actions() const { return FActions; }
    // The pages' zoom.
    TPageZoom *Zoom() const { return FZoom; }

    // The window as an analysis run paints on it, with what its image areas painted last.
    TFrmRunTarget &Target() const { return *FTarget; }
    // Keeps shown as the run the window shows; its pages must show it already (RunAnalysis
    // painted them on Target()).
    void KeepRun(TShownRun shown);
    // Paints the run of shown on every page and keeps it: a new run replaces the one shown, open
    // window or not, without a modal step.
    void ShowRun(TShownRun shown);
    // The exploring page, the last tab: its changes re-run the analysis on the counts it holds and
    // repaint every page; a refused change leaves the last good run on the pages, marked.
    TExplorePage *Explore() const { return FExplore; }
    // Names a run made on the exploring page for the print and save buttons; unset, such a run
    // keeps the name of the run before it.
    std::function<TShownRun(TRunResult)> NameExploredRun;
    // Runs the exploring page's pending change now instead of when the event loop comes to it.
    // The page in sight is painted at once; the others when their tab is shown or a report
    // reads them.
    void RunExploredNow();
    // Paints what the pages out of sight still owe the shown run.
    void BringPagesUpToDate();
    // How many runs the exploring page has made (changes that came faster were coalesced).
    int ExploredRuns() const { return FExploredRuns; }
    // "Показан последний верный расчёт" beside "Ок", shown while the exploring page's counts
    // are refused and the pages show the last run that was not.
    QLabel *StaleLine() const { return FStaleLine; }

    // The result of the run the window shows; null before the first.
    const TRunResult *ShownResult() const { return FActions->Run().Result.get(); }

    // TabSheet1 .. TabSheet12 (the pages, not in tab order: TabSheet11 comes before TabSheet10).
    QWidget *TabSheet(int number) const;
    // Image1 .. Image11.
    TImage *Image(int number) const;
    // Chart1 .. Chart6, Chart11, Chart12.
    TChart *Chart(int number) const;
    // Chart13 and Chart14, the check page's charts of population 1 and 2.
    TCheckChart *CheckChart(int number) const;
    // Label1 .. Label20.
    QLabel *Label(int number) const;
    // Each accessor returns null for a number the window does not have.

    TImage *Image1() const { return FImages[1]; }
    TImage *Image2() const { return FImages[2]; }
    TImage *Image3() const { return FImages[3]; }
    TImage *Image4() const { return FImages[4]; }
    TImage *Image5() const { return FImages[5]; }
    TImage *Image6() const { return FImages[6]; }
    TImage *Image7() const { return FImages[7]; }
    TImage *Image8() const { return FImages[8]; }
    TImage *Image9() const { return FImages[9]; }
    TChart *Chart1() const { return FCharts[1]; }
    TChart *Chart2() const { return FCharts[2]; }
    TChart *Chart3() const { return FCharts[3]; }
    TChart *Chart4() const { return FCharts[4]; }
    TChart *Chart5() const { return FCharts[5]; }
    TChart *Chart6() const { return FCharts[6]; }
    TChart *Chart11() const { return FCharts[11]; }
    TChart *Chart12() const { return FCharts[12]; }
    QLabel *Label3() const { return FLabels[3]; }
    QLabel *Label4() const { return FLabels[4]; }
    QLabel *Label5() const { return FLabels[5]; }
    QLabel *Label6() const { return FLabels[6]; }

    // Sizes the window to its usual size or what area (a screen's free area) leaves, and centres
    // it there.
    void FitInto(const QRect &area);
    // Where FitInto places the window from the area's centre (another copy's windows are there).
    void SetPlacementOffset(QPoint offset) { FPlacementOffset = offset; }
    // Makes the tab of TabSheet(number) the current one.
    void ShowPage(int number);
    // The page of the current tab (inside the area that scrolls it).
    QWidget *CurrentPage() const;
    // Where the guide explains page (one of the tab sheets); "pages" for any other.
    QString GuideAnchor(const QWidget *page) const;

    // The charts in the order of their numbers.
    static constexpr std::array<int, 8> ChartNumbers = {1, 2, 3, 4, 5, 6, 11, 12};

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    // The eleven tab sheets with their images, charts and labels.
    void CreatePages();
    QWidget *AddPage(int number, const QString &caption);
    void AddScrolled(QWidget *page, int number, const QString &caption);
    void AddImage(QWidget *page, int number, int left, int width, int height);
    // Two images side by side filling the page.
    void AddImagePair(QWidget *page, int left, int right);
    void AddChart(QWidget *page, int number, QRect geometry, const QString &bottomTitle,
                  bool markersOnLine, bool measuredMarkers = false);
    // Labels size themselves to a fixed caption.
    QLabel *AddLabel(QWidget *page, int number, QPoint at, const QString &text,
                     const QFont *font = nullptr);
    // A label the run writes: it gets the room to the page's right edge.
    void AddRunLabel(QWidget *page, int number, QPoint at);
    // A page of two projection charts (population 1 above population 2), each captioned with
    // its population and period; labels: the numbers of those four labels in that order.
    void AddProjectionPage(int number, const QString &caption, std::array<int, 2> charts,
                           std::array<int, 4> labels, const QString &period,
                           const QString &bottomTitle, bool markersOnLine);
    // All tabs in one row without scroll buttons, as the substitute face runs wider.
    void FitTabs();
    void FormDestroy();
    void Button1Click();
    void CreateExplorePage();
    void ExploredChanged();
    void MarkStale(bool stale);
    // Paints the parts of run that tab (a TabSheet number, or AllTabs) shows, where still owed.
    static constexpr int AllTabs = -1;
    void PaintOwedParts(const TRunResult &run, int tab);
    // The TabSheet number of the current tab; 0 for the exploring page.
    int CurrentTab() const;

    QTabWidget *FPageControl1 = nullptr;
    QPushButton *FButton1 = nullptr;
    QWidget *FHelpButton = nullptr;
    QPoint FPlacementOffset;
    TResultsActions *FActions = nullptr;
    std::unique_ptr<TFrmRunTarget> FTarget;
    std::array<QWidget *, 13> FTabSheets{};
    std::array<TImage *, 12> FImages{};
    std::array<TChart *, 13> FCharts{};
    std::array<TCheckChart *, 2> FCheckCharts{};
    std::array<QLabel *, 21> FLabels{};
    TExplorePage *FExplore = nullptr;
    TPageZoom *FZoom = nullptr;
    QLabel *FStaleLine = nullptr;
    bool FExplorePending = false;
    // The parts of the shown run (TRunPart order) its pages do not show yet.
    std::bitset<6> FOwedParts;
    bool FFormulasPainted = false;
    int FExploredRuns = 0;
};
