#include "app/Unit1.h"

#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "analysis/Texts.h"
#include "app/ShownRun.h"
#include "results/Explore.h"
#include "results/FontSetup.h"
#include "results/HelpWindow.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"
#include "runtime/Cp1251.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

int32_t VariantIndex = DefaultVariantIndex;
int32_t InputError = 0;
TCountArray Counts1{};
TCountArray Counts2{};

namespace {

const QString ComicFace = QStringLiteral("Comic Sans MS");

// List rows of a fixed height, as the classic list's item height sets them.
class TItemHeightDelegate : public QStyledItemDelegate {
public:
    TItemHeightDelegate(int height, QObject *parent)
        : QStyledItemDelegate(parent), FHeight(height) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), FHeight};
    }

private:
    int FHeight;
};

} // namespace

bool CountFromText(const QString &text, int32_t &value) {
    return CountFromText(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                             static_cast<size_t>(text.size())),
                         value);
}

TForm1::TForm1(const TSettingsPlace &place, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      FPlace(place) {
    setWindowTitle(QStringLiteral("Zelvano"));
    setFixedSize(528, 385);
    // The button-face colour as the window colour: children keep their usual text roles.
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);
    setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 11));

    const QFont bold11 = ClassicFont(ComicFace, 11, true);
    auto addLabel = [this](const QString &text, QRect geometry, const QFont &font) {
        auto *label = new QLabel(text, this);
        label->setFont(font);
        // Sized to the text like the classic label, never smaller than laid out.
        geometry.setWidth(std::max(geometry.width(), label->sizeHint().width()));
        label->setGeometry(geometry);
        return label;
    };
    FLabel1 =
        addLabel(QCoreApplication::translate("TForm1", "Популяция №1"), {8, 69, 88, 16}, bold11);
    FLabel2 =
        addLabel(QCoreApplication::translate("TForm1", "Популяция №2"), {8, 165, 88, 16}, bold11);
    FLabel3 =
        addLabel(QCoreApplication::translate("TForm1", "Вариант №:"), {8, 13, 66, 16}, bold11);
    FLabel4 = addLabel(QCoreApplication::translate("TForm1", "Тип сглаживания графика"),
                       {8, 288, 120, 13}, ClassicFont(ComicFace, 9, true));

    FButton1 = new QPushButton(QCoreApplication::translate("TForm1", "Делать"), this);
    FButton1->setGeometry(304, 280, 217, 97);
    connect(FButton1, &QPushButton::clicked, this, &TForm1::Button1Click);
    FButton1->installEventFilter(this);

    FComboBox1 = new QComboBox(this);
    FComboBox1->setGeometry(8, 32, 497, 21);
    FComboBox1->setEditable(true);
    // The list is fixed: typed text neither joins it nor gets completed.
    FComboBox1->setInsertPolicy(QComboBox::NoInsert);
    FComboBox1->setCompleter(nullptr);
    FComboBox1->setItemDelegate(new TItemHeightDelegate(13, FComboBox1));
    connect(FComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(FComboBox1, &QComboBox::editTextChanged, this, &TForm1::ComboBox1Change);
    // Enter on a text that names no variant puts the current one's number back, so the box
    // never shows another variant than the grids hold. Quietly: the grids keep their counts.
    connect(FComboBox1->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (FComboBox1->findText(FComboBox1->currentText(), Qt::MatchExactly) >= 0) return;
        // The grids hold the user's own counts, and the box says so.
        if (FComboBox1->currentText() == OwnDataText() &&
            ShownVariant(VariantIndex, Counts1, Counts2) == 0)
            return;
        // The item becomes current too, or the box would take the restored text as a new
        // choice once editing finishes and refill the grids.
        const QSignalBlocker quiet(FComboBox1);
        FComboBox1->setCurrentIndex(VariantIndex);
        FComboBox1->setEditText(QString::number(VariantIndex + 1));
    });

    FStringGrid1 = new TStringGrid(10, 2, this);
    FStringGrid1->setGeometry(8, 88, 513, 53);
    FStringGrid2 = new TStringGrid(10, 2, this);
    FStringGrid2->setGeometry(7, 184, 513, 53);
    for (TStringGrid *grid : {FStringGrid1, FStringGrid2})
        grid->OnKeyPress = [this](QChar &key) { StringGrid1KeyPress(key); };

    FRadioGroup1 = new TRadioGroup(
        {QCoreApplication::translate("TForm1", "Без сглаживания"),
         QCoreApplication::translate("TForm1", "Аппроксимация многочленом Лангранжем"),
         QCoreApplication::translate("TForm1", "Аппроксимация методом наименьших квадратов")},
        this);
    FRadioGroup1->setGeometry(8, 299, 257, 78);
    FRadioGroup1->setFont(ClassicFont(ComicFace, 9));
    FRadioGroup1->SetItemIndex(2);

    // Top right, in the room beside the variant caption; F1 on the smoothing choice explains it.
    auto *help = new THelpButton(this, [this] {
        return FRadioGroup1->isAncestorOf(focusWidget()) ? QStringLiteral("smoothing") : QString();
    });
    help->setGeometry(481, 7, 24, 22);

    setTabOrder(FButton1, FComboBox1);
    setTabOrder(FComboBox1, FStringGrid1);
    setTabOrder(FStringGrid1, FStringGrid2);
    setTabOrder(FStringGrid2, FRadioGroup1->Buttons()->button(0));
    FButton1->setFocus();

    // The language is picked from the window's context menu, which leaves the layout as it is;
    // each language is named in itself.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *languages = new QActionGroup(this);
    for (const auto &[language, name] :
         {std::pair{TLanguage::Russian, "Русский"}, std::pair{TLanguage::English, "English"}}) {
        QAction *action = languages->addAction(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(language == TextLanguage());
        connect(action, &QAction::triggered, this, [this, language] { ChooseLanguage(language); });
        addAction(action);
    }

    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (watched == FButton1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            FButton1->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPoint TForm1::StartPosition(QSize screen, QSize window) {
    // Each halving and the eighth are unsigned divisions of the separate values.
    auto half = [](int v) { return static_cast<int>(static_cast<unsigned>(std::max(v, 0)) / 2u); };
    const int eighth = static_cast<int>(static_cast<unsigned>(std::max(screen.height(), 0)) / 8u);
    const int top = half(screen.height()) - half(window.height()) - eighth;
    const int left = half(screen.width()) - half(window.width());
    return {left, top};
}

void TForm1::FormCreate() {
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(StartPosition(screen->size(), frameGeometry().size()));

    for (int c = 0; c < 10; ++c) {
        const QString title =
            QCoreApplication::translate("TForm1", "месяц ") + QString::number(c + 1);
        FStringGrid1->SetCells(c, 0, title);
        FStringGrid2->SetCells(c, 0, title);
    }

    VariantIndex = ReadVariantIndex(FPlace);

    // The text shows the stored variant without selecting a list item. Qt selects the first item
    // of an empty list as soon as one is added, so the items go in first.
    {
        const QSignalBlocker quiet(FComboBox1);
        for (int i = 1; i <= VariantCount; ++i)
            FComboBox1->addItem(QString::number(i));
        FComboBox1->setCurrentIndex(-1);
        FComboBox1->setEditText(QString::number(VariantIndex + 1));
    }

    FillGrids();
}

void TForm1::FormDestroy() {
    // The window is gone by now: a variant that could not be kept is reported on the terminal.
    QString error;
    if (WriteVariantIndex(FPlace, VariantIndex, &error, FChosenLanguage).isEmpty())
        std::fprintf(stderr, "zelvano: %s\n", error.toLocal8Bit().constData());
}

void TForm1::ChooseLanguage(TLanguage language) {
    const bool change = language != FChosenLanguage.value_or(TextLanguage());
    FChosenLanguage = language;
    if (!change) return;
    // Every window and page would have to be rebuilt to switch at once.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zelvano"),
                    language == TLanguage::English
                        ? QStringLiteral("Zelvano will be in English from its next start.")
                        : QStringLiteral("Zelvano будет на русском со следующего запуска."),
                    QMessageBox::Ok, this);
    box.exec();
}

void TForm1::ComboBox1Change() {
    // Text that names no list item leaves the variant and the grids as they are.
    const int item = FComboBox1->findText(FComboBox1->currentText(), Qt::MatchExactly);
    if (item < 0 || item >= VariantCount) return;
    VariantIndex = item;
    FillGrids();
}

void TForm1::FillGrids() {
    if (VariantIndex < 0 || VariantIndex >= VariantCount) return;
    for (int c = 0; c < 10; ++c) {
        FStringGrid1->SetCells(c, 1, QString::number(VariantCountOf(VariantIndex, 1, c + 1)));
        FStringGrid2->SetCells(c, 1, QString::number(VariantCountOf(VariantIndex, 2, c + 1)));
    }
}

void TForm1::StringGrid1KeyPress(QChar &key) {
    const char16_t c = key.unicode();
    if ((c >= u'0' && c <= u'9') || c == 8) return;
    key = QChar(0);
}

int32_t TForm1::ParseCount(const QString &text) {
    int32_t value = 0;
    if (CountFromText(text, value)) return value;
    ShowInputError();
    return 0;
}

void TForm1::ShowInputError() {
    ShowRunError(QCoreApplication::translate("TForm1", "Вы ввели неверные данные"));
    InputError = -1;
}

void TForm1::ShowInputError(TStringGrid *grid, int population, int col) {
    ShowRunError(QCoreApplication::translate("TForm1", "Вы ввели неверные данные\n") +
                 QString::fromStdString(
                     BadCountText(population, col + 1, grid->Cells(col, 1).toStdString())));
    InputError = -1;
    // The cell to mend, ready to be typed over.
    grid->setFocus();
    grid->setCurrentCell(0, col);
    if (QTableWidgetItem *cell = grid->item(0, col)) grid->editItem(cell);
    if (auto *editor = qobject_cast<QLineEdit *>(grid->focusWidget())) editor->selectAll();
}

void TForm1::ShowRunError(const QString &text) {
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("TForm1", "Ошибка ввода"),
                    text, QMessageBox::Ok, this);
    box.exec();
}

TFrmRunTarget *TForm1::RunTarget() const {
    return FFrmRun ? &FFrmRun->Target() : nullptr;
}

bool TForm1::ReadCounts() {
    const std::array<std::pair<TStringGrid *, TCountArray *>, 2> sources = {
        {{FStringGrid1, &Counts1}, {FStringGrid2, &Counts2}}};
    for (int population = 1; population <= 2; ++population) {
        const auto &[grid, counts] = sources[static_cast<size_t>(population - 1)];
        for (int c = 0; c < 10; ++c) {
            int32_t &count = (*counts)[static_cast<size_t>(c)];
            if (!CountFromText(grid->Cells(c, 1), count)) {
                count = 0;
                ShowInputError(grid, population, c);
            }
            if (InputError != 0) {
                InputError = 0;
                return false;
            }
        }
    }
    return true;
}

void TForm1::Button1Click() {
    if (!FFrmRun) {
        ReadCounts();
        return;
    }
    const int32_t smoothing = FRadioGroup1->ItemIndex();
    TAnalysisRun run;
    try {
        // The counts are read into Counts1 and Counts2, where they stay after the run.
        auto readCounts = [this](TCountArray &counts1, TCountArray &counts2) {
            if (!ReadCounts()) return false;
            counts1 = Counts1;
            counts2 = Counts2;
            return true;
        };
        run = RunAnalysis(FFrmRun->Target(), readCounts, smoothing);
    } catch (const std::exception &e) {
        // The run's formula texts always parse; should one not, say so instead of showing a
        // half-painted window.
        ShowRunError(QString::fromUtf8(e.what()));
        return;
    }
    if (run.End == TRunEnd::Refused)
        ShowRunError(QString::fromStdString(Cp1251ToUtf8(run.Refusal)));
    if (run.End != TRunEnd::Applied) return;
    // Runs made on the exploring page are named as this window would name them.
    FFrmRun->NameExploredRun = [this](TRunResult result) {
        QAbstractButton *item = FRadioGroup1->Buttons()->button(result.Smoothing);
        const int variant =
            ShownVariant(VariantIndex, result.Population[0].Counts, result.Population[1].Counts);
        return ShownRunOf(std::move(result), variant, item ? item->text() : QString());
    };
    FFrmRun->KeepRun(FFrmRun->NameExploredRun(std::move(*run.Result)));
    FFrmRun->ShowModal();
    TakeExplored();
}

void TForm1::TakeExplored() {
    const TExplorePage *explore = FFrmRun ? FFrmRun->Explore() : nullptr;
    if (!explore || !explore->Changed()) return;
    const TExploreState &state = explore->Current();
    Counts1 = state.Counts[0];
    Counts2 = state.Counts[1];
    for (int c = 0; c < 10; ++c) {
        FStringGrid1->SetCells(c, 1, QString::number(Counts1[static_cast<size_t>(c)]));
        FStringGrid2->SetCells(c, 1, QString::number(Counts2[static_cast<size_t>(c)]));
    }
    FRadioGroup1->SetItemIndex(state.Smoothing);
    // Counts that are no variant's are the user's own; the variant stays stored as it was.
    if (ShownVariant(VariantIndex, Counts1, Counts2) == 0) {
        const QSignalBlocker quiet(FComboBox1);
        FComboBox1->setCurrentIndex(-1);
        FComboBox1->setEditText(OwnDataText());
    }
}

QString TForm1::OwnDataText() {
    return QCoreApplication::translate("TForm1", "свои данные");
}
