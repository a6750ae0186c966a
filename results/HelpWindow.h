// Help for both windows: the guide in a window of its own, the "О программе" box, and a small
// "?" button offering both, with F1 opening the guide.
#pragma once

#include <QString>
#include <QToolButton>
#include <QWidget>

#include <functional>

class QTextBrowser;

// The guide in the program's language, scrolled to an anchor; its internal links move within it.
class TGuideWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own above parent, so it stays usable while parent is modal.
    explicit TGuideWindow(QWidget *parent);
    // Shows and raises the window at anchor (the top when empty or unknown).
    void ShowAt(const QString &anchor);
    QTextBrowser *Browser() const { return FBrowser; }

private:
    QTextBrowser *FBrowser = nullptr;
};

// The guide window of from's window, made on first use; shown at anchor.
TGuideWindow *ShowGuide(QWidget *from, const QString &anchor = {});

// The text of the "О программе" box: name, version, licence, and the libraries with theirs.
QString AboutText();
// Shows the box modally over from.
void ShowAbout(QWidget *from);

// A "?" button with a menu of the guide and the about box; F1 anywhere in window opens the guide
// at the anchor the window names for what it shows.
class THelpButton : public QToolButton {
    Q_OBJECT
public:
    THelpButton(QWidget *window, std::function<QString()> anchor = {});
    void OpenGuide();

private:
    std::function<QString()> FAnchor;
};
