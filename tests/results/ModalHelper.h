// Modal windows in widget tests: an answerer that closes each modal window a call opens and
// records it, and a watchdog that closes any modal window left open, so no test can hang.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

struct TModalRecord {
    QString ClassName;
    QString Title;
    QString Text; // message boxes only
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};

// While alive, answers every modal window: a message box with its OK (or default) button,
// anything else with OnModal when set, else with its "Button1" push button, else close().
class TModalAnswerer {
public:
    TModalAnswerer() {
        FTimer.setInterval(0);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Answer(); });
        FTimer.start();
    }

    std::vector<TModalRecord> Records;
    // Answers a modal window that is not a message box; it must close the window.
    std::function<void(QWidget *)> OnModal;

private:
    void Answer() {
        QWidget *modal = QApplication::activeModalWidget();
        // An answered window is hidden at once, so each showing is answered once.
        if (!modal || !modal->isVisible()) return;
        TModalRecord record;
        record.ClassName = QString::fromLatin1(modal->metaObject()->className());
        record.Title = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            record.Text = box->text();
            record.Icon = box->icon();
            record.Buttons = box->standardButtons();
            Records.push_back(record);
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            if (!ok) ok = box->defaultButton();
            if (ok)
                ok->click();
            else
                box->close();
            return;
        }
        Records.push_back(record);
        if (OnModal) {
            OnModal(modal);
        } else if (auto *button = modal->findChild<QPushButton *>(QStringLiteral("Button1"))) {
            button->click();
        } else {
            modal->close();
        }
    }

    QTimer FTimer;
};

// Closes a modal window that stays open for more than a few seconds and fails the test.
// The watchdog lives as long as owner.
inline void InstallModalWatchdog(QObject *owner) {
    auto *watchdog = new QTimer(owner);
    static QPointer<QWidget> seen;
    static int ticks = 0;
    watchdog->setInterval(1000);
    QObject::connect(watchdog, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal != seen) {
            seen = modal;
            ticks = 0;
            return;
        }
        if (++ticks < 5) return;
        ADD_FAILURE() << "a modal window stayed open: " << modal->windowTitle().toStdString();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        ticks = 0;
    });
    watchdog->start();
}

// A QApplication on the offscreen platform (unless the environment names another).
inline int RunWidgetTests(int argc, char **argv, const std::function<void()> &setUp) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    setUp();
    InstallModalWatchdog(&application);
    return RUN_ALL_TESTS();
}
