#include "results/Unit2.h"

#include "analysis/Report.h"
#include "results/CheckChart.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "results/RunTarget.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace {

const QString SansFace = QStringLiteral("MS Sans Serif");
const QString ComicFace = QStringLiteral("Comic Sans MS");

constexpr int PageWidth = 961;
constexpr int PageHeight = 643;
constexpr int HalfWidth = 477;       // the left image of a two-image page
constexpr int CheckTextHeight = 465; // the check page: texts above, charts below

} // namespace

TFrmRun::TFrmRun(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    FormCreate();
}

TFrmRun::~TFrmRun() {
    FormDestroy();
}

void TFrmRun::FormCreate() {
    setWindowTitle(QCoreApplication::translate("TFrmRun", "Данные"));
    setFixedSize(969, 719);
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
    FPageControl1->setCurrentWidget(FTabSheets[4]);
    FitTabs();

    FButton1 = new QPushButton(QCoreApplication::translate("TFrmRun", "Ок"), this);
    FButton1->setObjectName(QStringLiteral("Button1"));
    FButton1->setGeometry(744, 680, 217, 33);
    FButton1->setFont(ClassicFont(ComicFace, 11, true));
    connect(FButton1, &QPushButton::clicked, this, &TFrmRun::Button1Click);
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

    InitFormulaFont();
}

QWidget *TFrmRun::AddPage(int number, const QString &caption) {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet%1").arg(number));
    // Fixed, so the pane's own frame does not shift or stretch the contents.
    page->setFixedSize(PageWidth, PageHeight);
    FTabSheets[static_cast<size_t>(number)] = page;
    FPageControl1->addTab(page, caption);
    return page;
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
                       bool markersOnLine) {
    auto *chart =
        new TChart(bottomTitle, QCoreApplication::translate("TFrmRun", "Численность популяции"),
                   markersOnLine, page);
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
        AddChart(page, p, {40, 48, 657, 321}, months, false);
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
    for (int stretch = 99; stretch >= 75 && tabs->sizeHint().width() > FPageControl1->width();
         --stretch) {
        tabFont.setStretch(stretch);
        tabs->setFont(tabFont);
    }
    // Where the face cannot be condensed (or not enough), a smaller size makes the room.
    for (int size = tabFont.pixelSize() - 1;
         size >= 8 && tabs->sizeHint().width() > FPageControl1->width(); --size) {
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

void TFrmRun::KeepRun(TShownRun shown) {
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
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
    }
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
