#include "results/Unit2.h"

#include "analysis/Report.h"
#include "results/CheckChart.h"
#include "results/DrawFunc.h"
#include "results/Explore.h"
#include "results/FontSetup.h"
#include "results/FormulaFocus.h"
#include "results/HelpWindow.h"
#include "results/PageAccessible.h"
#include "results/PageZoom.h"
#include "results/RunTarget.h"
#include "runtime/Cp1251.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

namespace {

const QString SansFace = QStringLiteral("MS Sans Serif");
const QString ComicFace = QStringLiteral("Comic Sans MS");

constexpr int PageWidth = 961;
constexpr int PageHeight = 643;
constexpr int HalfWidth = 477;       // the left image of a two-image page
constexpr int CheckTextHeight = 465; // the check page: texts above, charts below
// The button row's room below the pages, and the smallest window: the row whole, a few lines of
// each page.
constexpr int StripHeight = 46;
constexpr int MinimumWidth = 969;
constexpr int MinimumHeight = 420;

} // namespace

TFrmRun::TFrmRun(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    FormCreate();
}

TFrmRun::~TFrmRun() {
    FormDestroy();
}

void TFrmRun::FormCreate() {
    setWindowTitle(QCoreApplication::translate("TFrmRun", "Данные"));
    // Resizable down to what a 1280 x 720 screen with a panel leaves; the pages scroll and the
    // button row stays at the bottom. It opens at the size the pages are laid out for.
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(969, 719);
    setFont(ClassicFont(SansFace, 11));
    // The button-face colour as the window colour: children keep their usual text roles.
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    FPageControl1 = new QTabWidget(this);
    FPageControl1->setObjectName(QStringLiteral("PageControl1"));
    FPageControl1->setGeometry(0, 0, 969, 673);
    FPageControl1->setTabPosition(QTabWidget::South);
    FPageControl1->setFont(ClassicFont(ComicFace, 11));
    CreatePages();
    CreateExplorePage();
    ShowPage(4);

    FButton1 = new QPushButton(QCoreApplication::translate("TFrmRun", "Ок"), this);
    FButton1->setObjectName(QStringLiteral("Button1"));
    FButton1->setGeometry(744, 680, 217, 33);
    FButton1->setFont(ClassicFont(ComicFace, 11, true));
    connect(FButton1, &QPushButton::clicked, this, &TFrmRun::Button1Click);
    // At the end of the tab row, where the tabs leave room and the button row has none; F1 opens
    // the guide where it explains this page.
    FHelpButton = new THelpButton(this, [this] { return GuideAnchor(CurrentPage()); });
    FHelpButton->setFont(ClassicFont(ComicFace, 11, true));
    FHelpButton->setFixedWidth(33);
    // Clear of the window's right edge, as "Ок" is.
    auto *corner = new QWidget;
    auto *cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 2, 8, 0);
    cornerLayout->addWidget(FHelpButton);
    FPageControl1->setCornerWidget(corner, Qt::BottomRightCorner);
    FitTabs();

    TRunWidgets widgets;
    for (int n = 1; n <= 11; ++n)
        widgets.Images[static_cast<size_t>(n)] = Image(n);
    for (int n : ChartNumbers)
        widgets.Charts[static_cast<size_t>(n)] = Chart(n);
    widgets.CheckCharts = FCheckCharts;
    for (int n = 3; n <= 6; ++n)
        widgets.Labels[static_cast<size_t>(n)] = Label(n);
    FTarget = std::make_unique<TFrmRunTarget>(widgets);
    FActions = new TResultsActions(*this, *FPageControl1, *FTarget);
    FActions->BringPagesUpToDate = [this] { BringPagesUpToDate(); };
    // Before the zoom repaints the page from what it painted.
    connect(FPageControl1, &QTabWidget::currentChanged, this, [this] {
        if (FOwedParts.any() && ShownResult()) PaintOwedParts(*ShownResult(), CurrentTab());
    });
    InstallPageAccessibility();
    for (int n = 1; n <= 11; ++n)
        new TFormulaFocus(*FImages[static_cast<size_t>(n)], FTarget->Image(n));
    FZoom = new TPageZoom(*FPageControl1, *this);

    InitFormulaFont();
}

QString TFrmRun::GuideAnchor(const QWidget *page) const {
    static const std::array<const char *, 13> anchors = {
        "",         "models",   "smoothing", "smoothing", "k",        "forecast", "forecast",
        "forecast", "forecast", "forecast",  "pages",     "forecast", "check"};
    for (size_t n = 1; n < FTabSheets.size(); ++n)
        if (FTabSheets[n] == page) return QString::fromLatin1(anchors[n]);
    return QStringLiteral("pages");
}

void TFrmRun::FitInto(const QRect &area) {
    // The frame's own size (title bar, borders) counts too; never below the minimum.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room = (area.size() - frame).expandedTo(minimumSize());
    resize(QSize(969, 719).boundedTo(room));
    const QSize outer = frameGeometry().size();
    // Offset for another copy, but never past the area's right or bottom edge.
    const int left = std::max(0, std::min((area.width() - outer.width()) / 2 + FPlacementOffset.x(),
                                          area.width() - outer.width()));
    const int top =
        std::max(0, std::min((area.height() - outer.height()) / 2 + FPlacementOffset.y(),
                             area.height() - outer.height()));
    move(area.x() + left, area.y() + top);
}

void TFrmRun::ShowPage(int number) {
    for (int i = 0; i < FPageControl1->count(); ++i)
        if (auto *scroll = qobject_cast<QScrollArea *>(FPageControl1->widget(i));
            scroll && scroll->widget() && scroll->widget() == TabSheet(number))
            FPageControl1->setCurrentIndex(i);
}

QWidget *TFrmRun::CurrentPage() const {
    auto *scroll = qobject_cast<QScrollArea *>(FPageControl1->currentWidget());
    return scroll ? scroll->widget() : FPageControl1->currentWidget();
}

void TFrmRun::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    if (!FPageControl1 || !FActions || !FHelpButton) return;
    // The pages take what the button row leaves; the row keeps its place from the bottom, "Ок"
    // and "?" from the right edge.
    FPageControl1->setGeometry(0, 0, width(), height() - StripHeight);
    const int top = height() - StripHeight + 7;
    for (QWidget *button :
         {static_cast<QWidget *>(FActions->Button2()), static_cast<QWidget *>(FActions->Button3()),
          static_cast<QWidget *>(FActions->Button5()), static_cast<QWidget *>(FActions->Button4()),
          static_cast<QWidget *>(FStaleLine)})
        if (button) button->move(button->x(), top);
    FButton1->move(width() - 225, top);
}

QWidget *TFrmRun::AddPage(int number, const QString &caption) {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet%1").arg(number));
    // Fixed, so the pane's own frame does not shift or stretch the contents.
    page->setFixedSize(PageWidth, PageHeight);
    FTabSheets[static_cast<size_t>(number)] = page;
    AddScrolled(page, number, caption);
    return page;
}

void TFrmRun::AddScrolled(QWidget *page, int number, const QString &caption) {
    // Scrolls where the window is smaller than the page; frameless and see-through, so at full
    // size the page shows exactly as it would on its own.
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("Scroll%1").arg(number));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    scroll->setWidget(page);
    page->setAutoFillBackground(false); // setWidget turned it on
    FPageControl1->addTab(scroll, caption);
}

void TFrmRun::AddImage(QWidget *page, int number, int left, int width, int height) {
    auto *image = new TImage(width, height, page);
    image->setObjectName(QStringLiteral("Image%1").arg(number));
    image->move(left, 0);
    FImages[static_cast<size_t>(number)] = image;
}

void TFrmRun::AddImagePair(QWidget *page, int left, int right) {
    AddImage(page, left, 0, HalfWidth, PageHeight);
    AddImage(page, right, HalfWidth, PageWidth - HalfWidth, PageHeight);
}

void TFrmRun::AddChart(QWidget *page, int number, QRect geometry, const QString &bottomTitle,
                       bool markersOnLine, bool measuredMarkers) {
    auto *chart =
        new TChart(bottomTitle, QCoreApplication::translate("TFrmRun", "Численность популяции"),
                   markersOnLine, page, measuredMarkers);
    chart->setObjectName(QStringLiteral("Chart%1").arg(number));
    chart->setGeometry(geometry);
    FCharts[static_cast<size_t>(number)] = chart;
}

QLabel *TFrmRun::AddLabel(QWidget *page, int number, QPoint at, const QString &text,
                          const QFont *font) {
    auto *label = new QLabel(text, page);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    if (font) label->setFont(*font);
    label->move(at);
    label->adjustSize();
    FLabels[static_cast<size_t>(number)] = label;
    return label;
}

void TFrmRun::AddRunLabel(QWidget *page, int number, QPoint at) {
    QLabel *label = AddLabel(page, number, at, QStringLiteral("Label%1").arg(number));
    label->resize(PageWidth - at.x(), label->height());
}

void TFrmRun::AddProjectionPage(int number, const QString &caption, std::array<int, 2> charts,
                                std::array<int, 4> labels, const QString &period,
                                const QString &bottomTitle, bool markersOnLine) {
    QWidget *page = AddPage(number, caption);
    AddChart(page, charts[0], {0, 0, 721, 269}, bottomTitle, markersOnLine);
    AddChart(page, charts[1], {0, 270, 721, 268}, bottomTitle, markersOnLine);
    AddLabel(page, labels[0], {728, 32},
             QCoreApplication::translate("TFrmRun", "Первая популяция"));
    AddLabel(page, labels[1], {728, 48}, period);
    AddLabel(page, labels[2], {728, 308},
             QCoreApplication::translate("TFrmRun", "Вторая популяция"));
    AddLabel(page, labels[3], {728, 326}, period);
}

void TFrmRun::CreatePages() {
    const QFont labelBold = ClassicFont(ComicFace, 11, true);
    const QString months = QCoreApplication::translate("TFrmRun", "Месяцы");

    QWidget *page = AddPage(1, QCoreApplication::translate("TFrmRun", "Формулы"));
    page->setFont(ClassicFont(SansFace, 19));
    AddImage(page, 1, 0, PageWidth, PageHeight);

    // The month charts of population 1 and 2 with the labels the run writes.
    for (int p = 1; p <= 2; ++p) {
        page = AddPage(p + 1, QCoreApplication::translate("TFrmRun", "График %1").arg(p));
        AddLabel(page, p, {40, 16},
                 p == 1 ? QCoreApplication::translate("TFrmRun", "Первая популяция")
                        : QCoreApplication::translate("TFrmRun", "Вторая популяция"),
                 &labelBold);
        AddChart(page, p, {40, 48, 657, 321}, months, false, true);
        AddRunLabel(page, p + 2, {48, 392});
        AddRunLabel(page, p + 4, {48, 416});
    }

    AddImagePair(AddPage(4, QCoreApplication::translate("TFrmRun", "Коэффициент k")), 2, 3);
    AddImagePair(AddPage(5, QCoreApplication::translate("TFrmRun", "Понедельный рост")), 4, 5);
    AddProjectionPage(6, QCoreApplication::translate("TFrmRun", "График понедельный рост"), {3, 4},
                      {7, 9, 8, 10}, QCoreApplication::translate("TFrmRun", "4-5 месяцы"),
                      QCoreApplication::translate("TFrmRun", "Недели"), false);
    AddImagePair(AddPage(7, QCoreApplication::translate("TFrmRun", "За два года ")), 6, 7);
    AddProjectionPage(8, QCoreApplication::translate("TFrmRun", "График два года"), {6, 5},
                      {11, 12, 13, 14}, QCoreApplication::translate("TFrmRun", "2 года"), months,
                      true);
    AddImagePair(AddPage(9, QCoreApplication::translate("TFrmRun", "За три года")), 8, 9);
    AddProjectionPage(11, QCoreApplication::translate("TFrmRun", "График три года"), {12, 11},
                      {16, 15, 17, 18}, QCoreApplication::translate("TFrmRun", "3 года"), months,
                      true);

    page = AddPage(10, QCoreApplication::translate("TFrmRun", "Вывод"));
    const QFont conclusionTitle = ClassicFont(ComicFace, 29, true);
    QLabel *title = AddLabel(page, 20, {152, 48}, QCoreApplication::translate("TFrmRun", "Вывод"),
                             &conclusionTitle);
    QPalette blue = title->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    title->setPalette(blue);
    const QFont conclusion = ClassicFont(ComicFace, 21, true);
    AddLabel(page, 19, {120, 152},
             QCoreApplication::translate("TFrmRun", "Чтоб не вымреть нужно размножаться !"),
             &conclusion);

    page = AddPage(12, QCoreApplication::translate("TFrmRun", "Проверка"));
    AddImage(page, 10, 0, HalfWidth, CheckTextHeight);
    AddImage(page, 11, HalfWidth, PageWidth - HalfWidth, CheckTextHeight);
    for (int i = 0; i < 2; ++i) {
        auto *chart = new TCheckChart(page);
        chart->setObjectName(QStringLiteral("Chart%1").arg(13 + i));
        chart->setGeometry(i == 0 ? 0 : HalfWidth, CheckTextHeight,
                           i == 0 ? HalfWidth : PageWidth - HalfWidth,
                           PageHeight - CheckTextHeight);
        FCheckCharts[static_cast<size_t>(i)] = chart;
    }
}

void TFrmRun::FitTabs() {
    QTabBar *tabs = FPageControl1->tabBar();
    QFont tabFont = tabs->font();
    // The corner button takes its width from the row.
    const QWidget *corner = FPageControl1->cornerWidget(Qt::BottomRightCorner);
    const int room = FPageControl1->width() - (corner ? corner->width() : 0);
    for (int stretch = 99; stretch >= 75 && tabs->sizeHint().width() > room; --stretch) {
        tabFont.setStretch(stretch);
        tabs->setFont(tabFont);
    }
    // Where the face cannot be condensed (or not enough), a smaller size makes the room.
    for (int size = tabFont.pixelSize() - 1; size >= 8 && tabs->sizeHint().width() > room; --size) {
        tabFont.setPixelSize(size);
        tabs->setFont(tabFont);
    }
}

void TFrmRun::FormDestroy() {
    DoneFormulaFont();
}

void TFrmRun::Button1Click() {
    accept();
}

void TFrmRun::CreateExplorePage() {
    FExplore = new TExplorePage;
    FExplore->setObjectName(QStringLiteral("TabSheet13"));
    FExplore->setFixedSize(PageWidth, PageHeight);
    // Not a page of the printed or saved report.
    FExplore->setProperty("notInReport", true);
    AddScrolled(FExplore, 13, QCoreApplication::translate("TFrmRun", "Исследование"));
    connect(FExplore, &TExplorePage::StateChanged, this, &TFrmRun::ExploredChanged);
    connect(FExplore, &TExplorePage::RefusalChanged, this, &TFrmRun::MarkStale);

    // In the strip beside "Ок", so it is seen under every page and covers nothing on them.
    FStaleLine =
        new QLabel(QCoreApplication::translate("TFrmRun", "Показан последний верный расчёт"), this);
    FStaleLine->setObjectName(QStringLiteral("StaleLine"));
    FStaleLine->setGeometry(616, 680, 120, 33);
    FStaleLine->setWordWrap(true);
    FStaleLine->setAlignment(Qt::AlignCenter);
    FStaleLine->setAutoFillBackground(true);
    QPalette colours = FStaleLine->palette();
    colours.setColor(QPalette::Window, QColor(255, 236, 140));
    colours.setColor(QPalette::WindowText, QColor(120, 0, 0));
    FStaleLine->setPalette(colours);
    FStaleLine->hide();

    // The window's undo keys, whichever page has the focus.
    QUndoStack *undo = FExplore->UndoStack();
    QAction *undoAction = undo->createUndoAction(this);
    undoAction->setShortcuts(QKeySequence::Undo);
    QAction *redoAction = undo->createRedoAction(this);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redoAction->setShortcuts(redoKeys);
    addAction(undoAction);
    addAction(redoAction);
}

void TFrmRun::MarkStale(bool stale) {
    FStaleLine->setVisible(stale);
}

void TFrmRun::ExploredChanged() {
    // Changes that come faster than a run are coalesced: the run takes the latest counts.
    if (FExplorePending) return;
    FExplorePending = true;
    QTimer::singleShot(0, this, &TFrmRun::RunExploredNow);
}

void TFrmRun::RunExploredNow() {
    if (!FExplorePending) return;
    FExplorePending = false;
    ++FExploredRuns;
    const TExploreState &state = FExplore->Current();
    TRunOutcome outcome = ComputeRun(state.Counts[0], state.Counts[1], state.Smoothing);
    if (!outcome.Result) {
        FExplore->ShowRefusal(QString::fromStdString(Cp1251ToUtf8(outcome.Refusal)));
        return;
    }
    try {
        // The formulas page never changes with the counts; the coefficient page measures on it.
        if (!FFormulasPainted) PaintFormulasPage(*FTarget);
        FFormulasPainted = true;
        // Only the page in sight is painted now: all of them cost several frames.
        FOwedParts.set();
        const TRunResult &run = *outcome.Result;
        PaintOwedParts(run, CurrentTab());
    } catch (const std::exception &e) {
        // The run's formula texts always parse; should one not, the line says so.
        FExplore->ShowRefusal(QString::fromUtf8(e.what()));
        return;
    }
    TShownRun shown;
    if (NameExploredRun) {
        shown = NameExploredRun(std::move(*outcome.Result));
    } else {
        shown = FActions->Run();
        shown.Result = std::make_shared<const TRunResult>(std::move(*outcome.Result));
    }
    FActions->SetRun(std::move(shown));
    FExplore->RunTaken();
}

void TFrmRun::PaintOwedParts(const TRunResult &run, int tab) {
    // The tabs each part paints on, two at most.
    static constexpr std::array<std::array<int, 2>, 6> Tabs = {
        {{2, 3}, {4, 4}, {5, 6}, {7, 8}, {9, 11}, {12, 12}}};
    for (size_t part = 0; part < Tabs.size(); ++part) {
        if (!FOwedParts.test(part)) continue;
        if (tab != AllTabs && Tabs[part][0] != tab && Tabs[part][1] != tab) continue;
        ApplyRunPart(run, *FTarget, RunParts[part]);
        FOwedParts.reset(part);
    }
    // Charts in sight take their points before the next frame, not a frame later.
    for (int number : ChartNumbers)
        if (TChart *chart = FCharts[static_cast<size_t>(number)]; chart->isVisible())
            chart->Flush();
    for (TCheckChart *chart : FCheckCharts)
        if (chart->isVisible()) chart->Flush();
}

void TFrmRun::BringPagesUpToDate() {
    if (FOwedParts.any() && ShownResult()) PaintOwedParts(*ShownResult(), AllTabs);
}

int TFrmRun::CurrentTab() const {
    const QWidget *page = CurrentPage();
    for (size_t n = 1; n < FTabSheets.size(); ++n)
        if (FTabSheets[n] == page) return static_cast<int>(n);
    return 0;
}

void TFrmRun::KeepRun(TShownRun shown) {
    FOwedParts.reset();
    if (shown.Result) {
        TExploreState state;
        state.Counts = {shown.Result->Population[0].Counts, shown.Result->Population[1].Counts};
        state.Smoothing = shown.Result->Smoothing;
        FExplorePending = false;
        FExplore->Start(state);
    }
    FActions->SetRun(std::move(shown));
}

void TFrmRun::ShowRun(TShownRun shown) {
    if (shown.Result) PaintRun(*shown.Result, *FTarget);
    KeepRun(std::move(shown));
}

void TFrmRun::ShowModal() {
    for (int number : ChartNumbers)
        FCharts[static_cast<size_t>(number)]->Flush();
    for (TCheckChart *chart : FCheckCharts)
        chart->Flush();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        FitInto(screen->availableGeometry());
    exec();
}

QWidget *TFrmRun::TabSheet(int number) const {
    return number >= 1 && number <= 12 ? FTabSheets[static_cast<size_t>(number)] : nullptr;
}

TImage *TFrmRun::Image(int number) const {
    return number >= 1 && number <= 11 ? FImages[static_cast<size_t>(number)] : nullptr;
}

TCheckChart *TFrmRun::CheckChart(int number) const {
    return number == 13 || number == 14 ? FCheckCharts[static_cast<size_t>(number - 13)] : nullptr;
}

TChart *TFrmRun::Chart(int number) const {
    return number >= 0 && number < static_cast<int>(FCharts.size())
               ? FCharts[static_cast<size_t>(number)]
               : nullptr;
}

QLabel *TFrmRun::Label(int number) const {
    return number >= 1 && number <= 20 ? FLabels[static_cast<size_t>(number)] : nullptr;
}
