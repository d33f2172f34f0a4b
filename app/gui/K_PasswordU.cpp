#include "app/gui/K_PasswordU.h"

#include <QFontMetrics>
#include <QShowEvent>

#include "app/gui/Widgets.h"
#include "db/Login.h"

namespace gui {

QValidator::State PasswordValidator::validate(QString& input, int& pos) const {
    const std::string kept = db::filterPassword(input.toStdString());
    const QString filtered = QString::fromStdString(kept);
    if (filtered != input) {
        // The cursor stays behind the last character kept from what was before it.
        const QString before = QString::fromStdString(db::filterPassword(input.left(pos).toStdString()));
        pos = std::min<int>(before.size(), filtered.size());
        input = filtered;
    }
    return Acceptable;
}

K_PasswordF::K_PasswordF(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("K_PasswordF"));
    setWindowTitle(QStringLiteral("Kullanıcı giriş"));
    setFixedSize(321, 206);
    setModal(true);

    auto* header = new PictureBand(QColor(0, 40, 120), QColor(40, 120, 220), Qt::Horizontal, this);
    header->setGeometry(0, 0, 321, 59);

    auto* large = new QLabel(QStringLiteral("Kullanıcı Girişi"), this);
    QFont lf = large->font();
    lf.setStretch(QFont::Unstretched);
    lf.setPointSize(24);
    lf.setBold(true);
    // 24 points where the face allows; a wider face is made smaller until the title fits the header.
    while (lf.pointSize() > 16 && QFontMetrics(lf).horizontalAdvance(large->text()) > 321 - 88 - 24)
        lf.setPointSize(lf.pointSize() - 1);
    large->setFont(lf);
    large->setStyleSheet(QStringLiteral("color: rgb(166, 202, 240);"));
    large->move(88, 8);
    large->adjustSize();
    auto* small = new QLabel(QStringLiteral("Kullanıcı Girişi"), this);
    QFont sf = small->font();
    sf.setPointSize(14);
    sf.setBold(true);
    small->setFont(sf);
    small->setStyleSheet(QStringLiteral("color: white;"));
    small->move(160, 24);
    small->adjustSize();

    auto label = [this](const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    label(QStringLiteral("Kullanıcı adı ve şifrenizi giriniz"), 5, 68);
    label(QStringLiteral("Kullanıcı Adı : "), 29, 108);
    label(QStringLiteral("Parola : "), 57, 139);

    EditUser = new QLineEdit(QStringLiteral("SYSDBA"), this);
    EditUser->setObjectName(QStringLiteral("EditUser"));
    EditUser->setGeometry(152, 104, 127, 21);
    EditUser->setMaxLength(static_cast<int>(db::kPasswordMaxLength));
    EditUser->setEnabled(false);

    EditPass = new QLineEdit(this);
    EditPass->setObjectName(QStringLiteral("EditPass"));
    EditPass->setGeometry(152, 134, 127, 21);
    EditPass->setEchoMode(QLineEdit::Password);
    EditPass->setMaxLength(static_cast<int>(db::kPasswordMaxLength));
    EditPass->setValidator(new PasswordValidator(EditPass));
    // The password field shows each character as "*".
    EditPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    Button1 = new QPushButton(QStringLiteral("Tamam"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(128, 168, 89, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(224, 168, 89, 25);
    Button2->setAutoDefault(false);
    for (QPushButton* b : {Button1, Button2}) b->setCursor(Qt::PointingHandCursor);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(EditPass, Button1);
    setTabOrder(Button1, Button2);
}

void K_PasswordF::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    db::GirisTamam = false;
    EditPass->clear();
    EditPass->setFocus(Qt::OtherFocusReason);
    centreOnScreen(this);
}

void K_PasswordF::done(int result) {
    // Accepted by "Tamam" or Enter; "Vazgeç", Esc and the title bar's close all come here as rejected.
    db::GirisTamam = result == QDialog::Accepted;
    QDialog::done(result);
}

std::optional<QString> K_PasswordF::ask() {
    exec();
    if (!db::GirisTamam) return std::nullopt;
    return EditPass->text();
}

}  // namespace gui
