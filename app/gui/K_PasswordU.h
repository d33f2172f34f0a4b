// The login dialog K_PasswordF: the administrator's password for every connection of the run.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace gui {

// What the password field keeps of each change: blanks discarded, at most 16 characters (db::filterPassword).
class PasswordValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class K_PasswordF : public QDialog {
    Q_OBJECT
public:
    explicit K_PasswordF(QWidget* parent = nullptr);

    QLineEdit* EditUser;
    QLineEdit* EditPass;
    QPushButton* Button1;  // "Tamam"
    QPushButton* Button2;  // "Vazgeç"

    // Shows the dialog modally; the password typed when accepted, nothing when cancelled.
    std::optional<QString> ask();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
};

}  // namespace gui
