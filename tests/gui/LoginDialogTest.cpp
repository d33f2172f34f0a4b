// The login dialog: what the password field keeps, how it is accepted or cancelled, and that every showing
// starts with an empty field.
#include <gtest/gtest.h>

#include "GuiTest.h"
#include "app/gui/K_PasswordU.h"
#include "db/Login.h"

namespace {

struct LoginCase {
    const char* name;
    QString typed;
    std::function<void(gui::K_PasswordF&)> leave;
    bool accepted;
    QString kept;
};

class LoginDialogTest : public ::testing::Test {
protected:
    // Shows the dialog modally, types into the focused field, leaves as the case says.
    std::optional<QString> run(const LoginCase& c) {
        guitest::whenShown([&] {
            seenFocus = QApplication::focusWidget() == dialog.EditPass;
            seenEmpty = dialog.EditPass->text().isEmpty();
            seenFlag = db::GirisTamam;
            guitest::typeText(dialog.EditPass, c.typed);
            seenText = dialog.EditPass->text();
            c.leave(dialog);
        });
        return dialog.ask();
    }

    gui::K_PasswordF dialog;
    bool seenFocus = false, seenEmpty = false, seenFlag = true;
    QString seenText;
};

}  // namespace

TEST_F(LoginDialogTest, LayoutAndFields) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kullanıcı giriş"));
    EXPECT_EQ(dialog.size(), QSize(321, 206));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog.EditUser->text(), QStringLiteral("SYSDBA"));
    EXPECT_FALSE(dialog.EditUser->isEnabled());
    EXPECT_EQ(dialog.EditUser->geometry(), QRect(152, 104, 127, 21));
    EXPECT_EQ(dialog.EditPass->geometry(), QRect(152, 134, 127, 21));
    EXPECT_EQ(dialog.EditPass->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.EditPass->maxLength(), 16);
    EXPECT_EQ(dialog.EditUser->maxLength(), 16);
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("Tamam"));
    EXPECT_EQ(dialog.Button1->geometry(), QRect(128, 168, 89, 25));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("Vazgeç"));
    EXPECT_EQ(dialog.Button2->geometry(), QRect(224, 168, 89, 25));
    for (const char* text : {"Kullanıcı Girişi", "Kullanıcı adı ve şifrenizi giriniz", "Kullanıcı Adı : ", "Parola : "}) {
        bool found = false;
        for (QLabel* l : dialog.findChildren<QLabel*>()) found = found || l->text() == QString::fromUtf8(text);
        EXPECT_TRUE(found) << text;
    }
}

TEST_F(LoginDialogTest, TypingAcceptingAndCancelling) {
    const LoginCase cases[] = {
        {"Enter accepts", QStringLiteral("masterkey"), [](auto& d) { guitest::press(d.EditPass, Qt::Key_Return); },
         true, QStringLiteral("masterkey")},
        {"keypad Enter accepts", QStringLiteral("gizli"),
         [](auto& d) { guitest::press(d.EditPass, Qt::Key_Enter, Qt::KeypadModifier); }, true, QStringLiteral("gizli")},
        {"Tamam accepts", QStringLiteral("şifre"), [](auto& d) { d.Button1->click(); }, true, QStringLiteral("şifre")},
        {"blanks are dropped", QStringLiteral(" ma ster key "), [](auto& d) { d.Button1->click(); }, true,
         QStringLiteral("masterkey")},
        {"the 17th character is refused", QStringLiteral("abcdefghijklmnopq"), [](auto& d) { d.Button1->click(); },
         true, QStringLiteral("abcdefghijklmnop")},
        {"Esc cancels", QStringLiteral("masterkey"), [](auto& d) { guitest::press(d.EditPass, Qt::Key_Escape); },
         false, QStringLiteral("masterkey")},
        {"Vazgeç cancels", QStringLiteral("masterkey"), [](auto& d) { d.Button2->click(); }, false,
         QStringLiteral("masterkey")},
        {"the title bar's close cancels", QStringLiteral("masterkey"), [](auto& d) { d.close(); }, false,
         QStringLiteral("masterkey")},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        db::GirisTamam = true;  // a showing always starts from "not logged in"
        std::optional<QString> answer = run(c);
        EXPECT_TRUE(seenFocus) << "the password field has the focus";
        EXPECT_TRUE(seenEmpty) << "every showing starts empty";
        EXPECT_FALSE(seenFlag);
        EXPECT_EQ(seenText, c.kept);
        EXPECT_EQ(db::GirisTamam, c.accepted);
        EXPECT_EQ(answer.has_value(), c.accepted);
        if (answer) {
            EXPECT_EQ(*answer, c.kept);
        }
    }
}

TEST_F(LoginDialogTest, PastedTextKeepsNoBlanksAndAtMostSixteenCharacters) {
    // The field takes 16 characters of the paste, then drops its blanks.
    dialog.EditPass->insert(QStringLiteral("a b c d e f g h i j k l m n o p q r"));
    EXPECT_EQ(dialog.EditPass->text(), QStringLiteral("abcdefgh"));
    dialog.EditPass->clear();
    dialog.EditPass->insert(QStringLiteral("abcdefghijklmnopqrstu"));
    EXPECT_EQ(dialog.EditPass->text(), QStringLiteral("abcdefghijklmnop"));
    dialog.EditPass->clear();
    dialog.EditPass->insert(QStringLiteral("ab\r\ncd"));
    EXPECT_EQ(dialog.EditPass->text(), QStringLiteral("abcd"));
}

TEST_F(LoginDialogTest, TheMainWindowAsksThroughTheDialog) {
    db::TDM dm;
    guitest::TestForm1 form(dm);
    gui::K_PasswordF* login = form.loginDialog();
    struct Answer {
        bool accept;
        std::optional<std::string> expected;
    };
    const Answer answers[] = {{true, std::string("gizli")}, {false, std::nullopt}, {true, std::string("gizli")}};
    for (const Answer& a : answers) {
        form.onDialog = [&](QDialog& d) {
            guitest::whenShown([&] {
                EXPECT_TRUE(login->EditPass->text().isEmpty()) << "a fresh field each time";
                guitest::typeText(login->EditPass, QStringLiteral("gizli"));
                guitest::press(login->EditPass, a.accept ? Qt::Key_Return : Qt::Key_Escape);
            });
            return d.exec();
        };
        EXPECT_EQ(form.askPassword(), a.expected);
    }
    EXPECT_EQ(form.shown.size(), 3u);
    EXPECT_EQ(form.shown[0].kind, QStringLiteral("K_PasswordF"));
}
