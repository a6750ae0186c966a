#include "results/HelpWindow.h"

#include "results/Guide.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <gsl/gsl_version.h>

#include <algorithm>

namespace {

// The texts the user sees, in one place; functions, so they are read after the translator is
// installed.
QString GuideTitle() {
    return QCoreApplication::translate("THelpWindow", "Справка");
}
QString AboutTitle() {
    return QCoreApplication::translate("THelpWindow", "О программе");
}
QString GuideItem() {
    return QCoreApplication::translate("THelpWindow", "Справка\tF1");
}
QString AboutItem() {
    return QCoreApplication::translate("THelpWindow", "О программе…");
}
QString ButtonHint() {
    return QCoreApplication::translate("THelpWindow", "Справка и сведения о программе");
}
QString AboutSummary() {
    return QCoreApplication::translate(
        "THelpWindow", "Учебная программа об экспоненциальной и логистической моделях "
                       "роста популяции.");
}
QString LicenceLine() {
    return QCoreApplication::translate(
        "THelpWindow", "Лицензия: GNU GPL версии 3 или более поздней "
                       "(<span style=\"white-space:nowrap\">GPL-3.0-or-later</span>).");
}
QString LibrariesLine() {
    return QCoreApplication::translate("THelpWindow", "Использует библиотеки:");
}
QString QtLicence() {
    return QCoreApplication::translate("THelpWindow", "LGPL-3.0 или GPL (в сборке Debian)");
}
const QString GslLicence = QStringLiteral("GPL-3.0");

const QString GuideName = QStringLiteral("GuideWindow");

} // namespace

TGuideWindow::TGuideWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(GuideName);
    setWindowTitle(GuideTitle());
    FBrowser = new QTextBrowser(this);
    FBrowser->setOpenExternalLinks(true);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(FBrowser);
    // The program's language as the user's locale names it; the guide picks Russian or English.
    FBrowser->setHtml(GuideHtml(QLocale().name()));
    // Readable lines, within the screen the parent is on.
    QSize size(640, 720);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    // Over the window it explains, not in a screen corner.
    if (parent) move(parent->frameGeometry().center() - rect().center());
}

void TGuideWindow::ShowAt(const QString &anchor) {
    // Shown first: the anchor's place is known once the text is laid out at the window's width.
    show();
    raise();
    activateWindow();
    if (anchor.isEmpty())
        FBrowser->verticalScrollBar()->setValue(0);
    else
        FBrowser->scrollToAnchor(anchor);
}

TGuideWindow *ShowGuide(QWidget *from, const QString &anchor) {
    QWidget *window = from->window();
    auto *guide = window->findChild<TGuideWindow *>(GuideName, Qt::FindDirectChildrenOnly);
    if (!guide) guide = new TGuideWindow(window);
    guide->ShowAt(anchor);
    return guide;
}

QString AboutText() {
    return QStringLiteral("<p><b>%1 %2</b></p><p>%3</p><p>%4</p><p>%5</p>"
                          "<ul><li>Qt %6 — %7</li><li>GSL %8 — %9</li></ul>")
        .arg(QStringLiteral("Zelvano"), QStringLiteral(ZELVANO_VERSION), AboutSummary(),
             LicenceLine(), LibrariesLine(), QString::fromLatin1(qVersion()), QtLicence(),
             QString::fromLatin1(gsl_version), GslLicence);
}

void ShowAbout(QWidget *from) {
    QMessageBox box(QMessageBox::NoIcon, AboutTitle(), AboutText(), QMessageBox::Ok, from);
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(QGuiApplication::windowIcon().pixmap(64, 64));
    box.exec();
}

THelpButton::THelpButton(QWidget *window, std::function<QString()> anchor)
    : QToolButton(window), FAnchor(std::move(anchor)) {
    setObjectName(QStringLiteral("HelpButton"));
    setText(QStringLiteral("?"));
    setToolTip(ButtonHint());
    setFocusPolicy(Qt::NoFocus); // outside the windows' Tab order
    // The menu opens on a click without a menu arrow, which would crowd the small button.
    auto *menu = new QMenu(this);
    // F1 is the window's shortcut below; the menu only shows it, or the two would be ambiguous.
    menu->addAction(GuideItem(), this, &THelpButton::OpenGuide);
    menu->addAction(AboutItem(), this, [this] { ShowAbout(this->window()); });
    connect(this, &QToolButton::clicked, this,
            [this, menu] { menu->exec(mapToGlobal(QPoint(0, height()))); });
    auto *f1 = new QShortcut(QKeySequence::HelpContents, window);
    connect(f1, &QShortcut::activated, this, &THelpButton::OpenGuide);
}

void THelpButton::OpenGuide() {
    ShowGuide(window(), FAnchor ? FAnchor() : QString());
}
