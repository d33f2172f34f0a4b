// The help window: how to prepare and run the upgrade, and what it moves.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace gui {

class Form2 : public QDialog {
    Q_OBJECT
public:
    // The caption follows the main window's caption at creation.
    explicit Form2(QWidget* mainWindow);

    QPlainTextEdit* Memo1;
    QPushButton* KapatButton;

    static QString helpText();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace gui
