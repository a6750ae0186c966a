#include "results/Unit2.h"

#include "results/CheckChart.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "results/ResultsActions.h"

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
    setWindowTitle(QStringLiteral("Данные"));
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

    const QFont labelBold = ClassicFont(ComicFace, 11, true);

    auto addPage = [this](int number, const QString &caption) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("TabSheet%1").arg(number));
        // Fixed, so the pane's own frame does not shift or stretch the contents.
        page->setFixedSize(PageWidth, PageHeight);
        FTabSheets[static_cast<size_t>(number)] = page;
        FPageControl1->addTab(page, caption);
        return page;
    };
    auto addImage = [this](QWidget *page, int number, int left, int width,
                           int height = PageHeight) {
        auto *image = new TImage(width, height, page);
        image->setObjectName(QStringLiteral("Image%1").arg(number));
        image->move(left, 0);
        FImages[static_cast<size_t>(number)] = image;
    };
    auto addChart = [this](QWidget *page, int number, int left, int top, int width, int height,
                           const QString &bottomTitle, bool markersOnLine) {
        auto *chart =
            new TChart(bottomTitle, QStringLiteral("Численность популяции"), markersOnLine, page);
        chart->setObjectName(QStringLiteral("Chart%1").arg(number));
        chart->setGeometry(left, top, width, height);
        FCharts[static_cast<size_t>(number)] = chart;
    };
    // Labels size themselves to a fixed caption; those the run writes get the room to the
    // page's right edge.
    auto addLabel = [this](QWidget *page, int number, int left, int top, const QString &text,
                           const QFont *font = nullptr) {
        auto *label = new QLabel(text, page);
        label->setObjectName(QStringLiteral("Label%1").arg(number));
        if (font) label->setFont(*font);
        label->move(left, top);
        label->adjustSize();
        FLabels[static_cast<size_t>(number)] = label;
        return label;
    };
    auto addRunLabel = [&](QWidget *page, int number, int left, int top) {
        QLabel *label = addLabel(page, number, left, top, QStringLiteral("Label%1").arg(number));
        label->resize(PageWidth - left, label->height());
    };
    auto addImagePair = [&](QWidget *page, int left, int right) {
        addImage(page, left, 0, HalfWidth);
        addImage(page, right, HalfWidth, PageWidth - HalfWidth);
    };
    const QString months = QStringLiteral("Месяцы");
    const QString weeks = QStringLiteral("Недели");
    const QString first = QStringLiteral("Первая популяция");
    const QString second = QStringLiteral("Вторая популяция");

    QWidget *page = addPage(1, QStringLiteral("Формулы"));
    page->setFont(ClassicFont(SansFace, 19));
    addImage(page, 1, 0, PageWidth);

    page = addPage(2, QStringLiteral("График 1"));
    addLabel(page, 1, 40, 16, first, &labelBold);
    addChart(page, 1, 40, 48, 657, 321, months, false);
    addRunLabel(page, 3, 48, 392);
    addRunLabel(page, 5, 48, 416);

    page = addPage(3, QStringLiteral("График 2"));
    addLabel(page, 2, 40, 16, second, &labelBold);
    addChart(page, 2, 40, 48, 657, 321, months, false);
    addRunLabel(page, 4, 48, 392);
    addRunLabel(page, 6, 48, 416);

    page = addPage(4, QStringLiteral("Коэффициент k"));
    addImagePair(page, 2, 3);

    page = addPage(5, QStringLiteral("Понедельный рост"));
    addImagePair(page, 4, 5);

    page = addPage(6, QStringLiteral("График понедельный рост"));
    addChart(page, 3, 0, 0, 721, 269, weeks, false);
    addChart(page, 4, 0, 270, 721, 268, weeks, false);
    addLabel(page, 7, 728, 32, first);
    addLabel(page, 9, 728, 48, QStringLiteral("4-5 месяцы"));
    addLabel(page, 8, 728, 308, second);
    addLabel(page, 10, 728, 326, QStringLiteral("4-5 месяцы"));

    page = addPage(7, QStringLiteral("За два года "));
    addImagePair(page, 6, 7);

    page = addPage(8, QStringLiteral("График два года"));
    // The two- and three-year charts count months after the start.
    addChart(page, 6, 0, 0, 721, 269, months, true);
    addChart(page, 5, 0, 270, 721, 268, months, true);
    addLabel(page, 11, 728, 32, first);
    addLabel(page, 12, 728, 48, QStringLiteral("2 года"));
    addLabel(page, 13, 728, 308, second);
    addLabel(page, 14, 728, 326, QStringLiteral("2 года"));

    page = addPage(9, QStringLiteral("За три года"));
    addImagePair(page, 8, 9);

    page = addPage(11, QStringLiteral("График три года"));
    addChart(page, 12, 0, 0, 721, 269, months, true);
    addChart(page, 11, 0, 270, 721, 268, months, true);
    addLabel(page, 16, 728, 32, first);
    addLabel(page, 15, 728, 48, QStringLiteral("3 года"));
    addLabel(page, 17, 728, 308, second);
    addLabel(page, 18, 728, 326, QStringLiteral("3 года"));

    page = addPage(10, QStringLiteral("Вывод"));
    const QFont conclusionTitle = ClassicFont(ComicFace, 29, true);
    QLabel *title = addLabel(page, 20, 152, 48, QStringLiteral("Вывод"), &conclusionTitle);
    QPalette blue = title->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    title->setPalette(blue);
    const QFont conclusion = ClassicFont(ComicFace, 21, true);
    addLabel(page, 19, 120, 152, QStringLiteral("Чтоб не вымреть нужно размножаться !"),
             &conclusion);

    page = addPage(12, QStringLiteral("Проверка"));
    addImage(page, 10, 0, HalfWidth, CheckTextHeight);
    addImage(page, 11, HalfWidth, PageWidth - HalfWidth, CheckTextHeight);
    for (int i = 0; i < 2; ++i) {
        auto *chart = new TCheckChart(page);
        chart->setObjectName(QStringLiteral("Chart%1").arg(13 + i));
        chart->setGeometry(i == 0 ? 0 : HalfWidth, CheckTextHeight,
                           i == 0 ? HalfWidth : PageWidth - HalfWidth,
                           PageHeight - CheckTextHeight);
        FCheckCharts[static_cast<size_t>(i)] = chart;
    }

    FPageControl1->setCurrentWidget(FTabSheets[4]);
    // All tabs in one row without scroll buttons, as the substitute face runs wider.
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

    FButton1 = new QPushButton(QStringLiteral("Ок"), this);
    FButton1->setObjectName(QStringLiteral("Button1"));
    FButton1->setGeometry(744, 680, 217, 33);
    FButton1->setFont(labelBold);
    connect(FButton1, &QPushButton::clicked, this, &TFrmRun::Button1Click);
    FActions = new TResultsActions(*this);

    InitFormulaFont();
}

void TFrmRun::FormDestroy() {
    DoneFormulaFont();
}

void TFrmRun::Button1Click() {
    accept();
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
