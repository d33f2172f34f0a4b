// Helpers of the window tests: a main window whose modal dialogs and message boxes are recorded (and, on
// request, really shown), and key presses sent where the keyboard focus is.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/gui/Form1.h"

namespace guitest {

struct Shown {
    QString kind;  // the dialog's object name, "QMessageBox" for message boxes
    QString title, text, details;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class TestForm1 : public gui::Form1 {
public:
    using gui::Form1::Form1;

    std::vector<Shown> shown;
    // Answers a dialog other than a message box; without it the dialog is left unanswered (rejected).
    std::function<int(QDialog&)> onDialog;

    int execModal(QDialog& dialog) override {
        Shown s;
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            s.kind = QStringLiteral("QMessageBox");
            s.title = box->windowTitle();
            s.text = box->text();
            s.details = box->detailedText();
            s.icon = box->icon();
            shown.push_back(s);
            return QMessageBox::Ok;
        }
        s.kind = dialog.objectName();
        s.title = dialog.windowTitle();
        shown.push_back(s);
        return onDialog ? onDialog(dialog) : QDialog::Rejected;
    }
};

// Shows a top-level window and waits until it has the keyboard.
inline bool showActive(QWidget* w) {
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

// Keys go where a person's keystrokes would go: to the widget with the focus.
inline QWidget* focused(QWidget* fallback) {
    QWidget* f = QApplication::focusWidget();
    return f ? f : fallback;
}

inline void typeText(QWidget* fallback, const QString& text) {
    for (QChar c : text) {
        Qt::Key key = Qt::Key_unknown;
        if (c.isDigit() || (c.unicode() < 0x80 && c.isLetter())) key = Qt::Key(c.toUpper().unicode());
        else if (c == QLatin1Char(' ')) key = Qt::Key_Space;
        else if (c == QLatin1Char('-')) key = Qt::Key_Minus;
        else if (c == QLatin1Char('.')) key = Qt::Key_Period;
        QTest::sendKeyEvent(QTest::Click, focused(fallback), key, QString(c), Qt::NoModifier);
        QCoreApplication::processEvents();
    }
}

inline void press(QWidget* fallback, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(focused(fallback), key, mods);
    QCoreApplication::processEvents();
}

// Runs `act` once the next modal window is up and has the keyboard.
inline void whenShown(std::function<void()> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->activateWindow();
            (void)QTest::qWaitForWindowActive(modal);
        }
        act();
    });
}

}  // namespace guitest
