// The main window: its layout and defaults, the option rules, the Enter shortcut, the help window, the
// running state and the error interception.
#include <gtest/gtest.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <stdexcept>

#include "GuiTest.h"
#include "app/gui/Application.h"
#include "app/gui/Form2.h"
#include "db/Login.h"

using guitest::TestForm1;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    db::TDM dm;
    TestForm1 form{dm};
};

struct Placed {
    const char* name;
    QRect geometry;  // relative to the window's client area (or to the group box)
    const char* caption;
};

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* f = qobject_cast<gui::FolderEdit*>(w)) return f->text();
    if (auto* s = qobject_cast<gui::ShadowLabel*>(w)) return s->text();
    return {};
}

}  // namespace

TEST_F(MainWindowTest, ControlsStandWhereTheyBelongWithTheirDefaults) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TORVANEX Selvanto Upgrade s5.12.03"));
    EXPECT_EQ(form.size(), QSize(571, 486));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed border";
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    const Placed table[] = {
        {"Image1", {0, 0, 180, 467}, ""},
        {"Title", {192, 1, 372, 52}, "Selvanto Upgrade"},
        {"Label5", {190, 55, 363, 27},
         "Dikkat : Upgrade işlemini gerçekleştirmeden önce eski veritabanınızın mutlaka yedeğini alınız ve yeni "
         "sürümü kurunuz."},
        {"Label2", {192, 86, -1, -1}, "Mirkado 4 ün kullandığı \"DATA\" adlı dizinin tam yolu :"},
        {"DKaynak", {192, 101, 329, 21}, "C:\\TORVANEX\\MIRKADO4\\DATA"},
        {"Label1", {192, 126, -1, -1}, "Selvanto Programının kullandığı \"DATA\" adı dizinin tam yolu :"},
        {"DrHedef", {192, 142, 329, 21}, "C:\\TORVANEX\\SELVANTO5\\DATA"},
        {"RadioSURUM", {192, 169, 328, 40}, " Eski Sürüm "},
        {"Label3", {296, 216, -1, -1}, "Kaydeden Personel : "},
        {"Edit1", {416, 212, 97, 21}, "Yetkili"},
        {"GroupBox1", {192, 232, 177, 79}, " Cari  Aktarımı "},
        {"CheckCARI", {8, 18, -1, -1}, "Cari Kartlarını Aktar"},
        {"CheckCRBK", {8, 37, -1, -1}, "Cari Bakiyelerini Aktar"},
        {"CheckCRGR", {8, 57, -1, -1}, "Cari Gruplarını Aktar"},
        {"GroupBox2", {374, 232, 177, 79}, " Stok Aktarımı "},
        {"CheckSTOK", {8, 18, -1, -1}, "Stok Kartlarını Aktar"},
        {"CheckSTBK", {8, 37, -1, -1}, "Stok Bakiyelerini Aktar"},
        {"CheckSTGR", {8, 57, -1, -1}, "Stok Gruplarını Aktar"},
        {"CheckOTEL", {200, 312, -1, -1}, "Otel Bilgilerini Aktar"},
        {"CheckTAKSIT", {382, 312, -1, -1}, "Ödenmeyen Taksitleri Aktar"},
        {"Label4", {193, 331, -1, -1}, "Aktarılan Şirket : "},
        {"Label8", {293, 331, 273, -1}, ".."},
        {"ProgressBar1", {184, 347, 384, 64}, ""},
        {"Button1", {200, 410, 153, 25}, "Upgrade"},
        {"Button3", {375, 410, 75, 25}, "Yardım"},
        {"Button2", {472, 410, 75, 25}, "Kapat"},
        {"PanelZaman", {192, 439, 369, 25}, ""},
        {"Label10", {0, 0, 125, 25}, "Geçen Süre : "},
        {"LabelGecen", {-1, -1, -1, -1}, "..."},
        {"StatusBar1", {0, 467, 571, 19}, ""},
    };
    for (const Placed& p : table) {
        SCOPED_TRACE(p.name);
        auto* w = form.findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr);
        const QRect g = w->geometry();
        if (p.geometry.x() >= 0) { EXPECT_EQ(g.x(), p.geometry.x()); }
        if (p.geometry.y() >= 0) { EXPECT_EQ(g.y(), p.geometry.y()); }
        if (p.geometry.width() >= 0) { EXPECT_EQ(g.width(), p.geometry.width()); }
        if (p.geometry.height() >= 0) { EXPECT_EQ(g.height(), p.geometry.height()); }
        if (*p.caption) { EXPECT_EQ(captionOf(w), QString::fromUtf8(p.caption)); }
    }
    for (QCheckBox* c : {form.CheckCARI, form.CheckCRBK, form.CheckCRGR, form.CheckSTOK, form.CheckSTBK,
                         form.CheckSTGR, form.CheckOTEL, form.CheckTAKSIT})
        EXPECT_TRUE(c->isChecked() && c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(form.RadioMirkado->isChecked());
    EXPECT_EQ(form.RadioMirkado->text(), QStringLiteral("Mirkado 4"));
    EXPECT_EQ(form.RadioKobaltin->text(), QStringLiteral("Kobaltin"));
    EXPECT_EQ(form.RadioMirkado->y(), form.RadioKobaltin->y()) << "two columns";
    EXPECT_EQ(form.Title->font().pointSize(), 28);
    EXPECT_EQ(form.Title->shadowOffset(), 5);
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);
    EXPECT_EQ(form.ProgressBar1->font().pointSize(), 14);
    EXPECT_TRUE(form.ProgressBar1->font().bold());
    EXPECT_EQ(form.Timer1->interval(), 1000);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.DKaynak->button()->toolTip(), QStringLiteral("Dizin Seçiniz"));

    ASSERT_TRUE(guitest::showActive(&form));
    for (QWidget* w : {static_cast<QWidget*>(form.Label4), static_cast<QWidget*>(form.Label8),
                       static_cast<QWidget*>(form.ProgressBar1), form.PanelZaman})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString() << " is shown only while a run works";
}

TEST_F(MainWindowTest, TabGoesThroughFoldersVersionStaffAndButtons) {
    ASSERT_TRUE(guitest::showActive(&form));
    form.DKaynak->edit()->setFocus();
    QCoreApplication::processEvents();
    const QWidget* expected[] = {form.DKaynak->edit(), form.DrHedef->edit(), form.RadioMirkado, form.Edit1,
                                 form.Button1,         form.Button3,         form.Button2};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(QApplication::focusWidget(), expected[i]) << "tab stop " << i;
        guitest::press(&form, Qt::Key_Tab);
    }
}

TEST_F(MainWindowTest, VersionChoiceReplacesTheSourceFolderAndShowsTheInterBaseOptions) {
    ASSERT_TRUE(guitest::showActive(&form));
    form.DKaynak->setText(QStringLiteral("/veri/eski"));
    form.CheckOTEL->setChecked(false);  // the operator's ticks survive the hiding
    struct Step {
        QRadioButton* choice;
        const char* folder;
        const char* label;
        bool interBaseOptions;
    };
    const Step steps[] = {
        {form.RadioKobaltin, "C:\\TORVANEX\\ZKT3\\DATA", "Kobaltin un kullandığı \"DATA\" adlı dizinin tam yolu :",
         false},
        {form.RadioMirkado, "C:\\TORVANEX\\MIRKADO4\\DATA", "Mirkado 4 ün kullandığı \"DATA\" adlı dizinin tam yolu :",
         true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.folder);
        s.choice->click();
        EXPECT_EQ(form.DKaynak->text(), QString::fromUtf8(s.folder));
        EXPECT_EQ(form.Label2->text(), QString::fromUtf8(s.label));
        EXPECT_EQ(form.CheckOTEL->isVisible(), s.interBaseOptions);
        EXPECT_EQ(form.CheckTAKSIT->isVisible(), s.interBaseOptions);
        EXPECT_FALSE(form.CheckOTEL->isChecked());
        EXPECT_TRUE(form.CheckTAKSIT->isChecked());
        EXPECT_EQ(form.DrHedef->text(), QStringLiteral("C:\\TORVANEX\\SELVANTO5\\DATA"));
        form.DKaynak->setText(QStringLiteral("/veri/yine"));
    }
    EXPECT_EQ(form.currentOptions().RadioSURUM, 0);
    form.RadioKobaltin->click();
    EXPECT_EQ(form.currentOptions().RadioSURUM, 1);
}

TEST_F(MainWindowTest, UncheckingCardsClearsAndDisablesTheirDependants) {
    struct Rule {
        QCheckBox *cards, *balances, *groups;
    };
    const Rule rules[] = {{form.CheckCARI, form.CheckCRBK, form.CheckCRGR},
                          {form.CheckSTOK, form.CheckSTBK, form.CheckSTGR}};
    for (const Rule& r : rules) {
        SCOPED_TRACE(r.cards->objectName().toStdString());
        r.cards->click();
        EXPECT_FALSE(r.cards->isChecked());
        for (QCheckBox* d : {r.balances, r.groups}) EXPECT_TRUE(!d->isChecked() && !d->isEnabled());
        r.cards->click();
        EXPECT_TRUE(r.cards->isChecked());
        for (QCheckBox* d : {r.balances, r.groups}) EXPECT_TRUE(!d->isChecked() && d->isEnabled());
        r.balances->click();
        EXPECT_TRUE(r.balances->isChecked()) << "ticked again by the operator";
    }
    const app::Options o = form.currentOptions();
    EXPECT_TRUE(o.CheckCARI && o.CheckCRBK && !o.CheckCRGR && o.CheckSTOK && o.CheckSTBK && !o.CheckSTGR);
}

TEST_F(MainWindowTest, EnterAnywhereStartsTheRunAsTheButtonDoes) {
    // With the default folders the run stops at the missing target registry: proof that it started.
    ASSERT_TRUE(guitest::showActive(&form));
    const std::string missing = " dosyası bulunamadı.\nLütfen kontrol ediniz.";
    struct Start {
        const char* how;
        std::function<void()> act;
    };
    const Start starts[] = {
        {"Return in DKaynak", [&] { QTest::keyClick(form.DKaynak->edit(), Qt::Key_Return); }},
        {"Enter in DrHedef", [&] { QTest::keyClick(form.DrHedef->edit(), Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Return in Edit1", [&] { QTest::keyClick(form.Edit1, Qt::Key_Return); }},
        {"Return on a check box", [&] { QTest::keyClick(form.CheckSTGR, Qt::Key_Return); }},
        {"Button1", [&] { form.Button1->click(); }},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.how);
        form.shown.clear();
        if (QWidget* w = QApplication::focusWidget()) w->clearFocus();
        form.activateWindow();
        s.act();
        QCoreApplication::processEvents();
        ASSERT_EQ(form.shown.size(), 1u);
        EXPECT_EQ(form.shown[0].title, QStringLiteral("Mirkado Upgrade"));
        EXPECT_EQ(form.shown[0].icon, QMessageBox::NoIcon);
        EXPECT_TRUE(form.shown[0].text.endsWith(QString::fromUtf8("Sirket.FDB" + missing)))
            << form.shown[0].text.toStdString();
        EXPECT_EQ(form.lastResult(), app::RunResult::Refused);
        EXPECT_TRUE(form.isVisible()) << "a refused run leaves the window idle";
    }
}

TEST_F(MainWindowTest, WithoutCardOptionsTheRunRefusesBeforeAnyLogin) {
    form.CheckCARI->click();
    form.CheckSTOK->click();
    form.Button1->click();
    ASSERT_EQ(form.shown.size(), 1u) << "no login dialog";
    EXPECT_EQ(form.shown[0].kind, QStringLiteral("QMessageBox"));
    EXPECT_EQ(form.shown[0].text, QStringLiteral("Cari veya Stok Kartlarından birini işaretlemelisiniz..."));
    EXPECT_EQ(form.shown[0].title, QStringLiteral("Bilgi"));
    EXPECT_EQ(form.shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(form.lastResult(), app::RunResult::Refused);
}

TEST_F(MainWindowTest, TheRealBoxShowsTheRefusalAndOkClosesIt) {
    // The plain form, with its real modal message box, answered by a click on OK.
    gui::Form1 plain(dm);
    plain.CheckCARI->click();
    plain.CheckSTOK->click();
    QString seenTitle, seenText;
    guitest::whenShown([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    plain.Button1->click();
    EXPECT_EQ(seenTitle, QStringLiteral("Bilgi"));
    EXPECT_EQ(seenText, QStringLiteral("Cari veya Stok Kartlarından birini işaretlemelisiniz..."));
}

TEST_F(MainWindowTest, MessagesShowLineBreaksTitlesIconsAndCompletionDetails) {
    form.messageBox("Selvanto 5 Şirket sistemine daha önceden şirket kaydı yapılmış.\r\nLütfen kontrol ediniz...",
                    "Bilgi", app::Icon::Information);
    form.plainMessage("Personel in kullanıcı adını girmediniz.");
    form.showError("unsuccessful metadata update\r\nINTEG_99");
    form.setCompletionDetails("ABC / Merkez\n    CARI 3\n");
    form.messageBox("Başka bir mesaj", "Dikkat", app::Icon::Information);
    form.messageBox("Aktarma İşlemi Tamamlandı", "Bilgi", app::Icon::Information);
    ASSERT_EQ(form.shown.size(), 5u);
    EXPECT_EQ(form.shown[0].text,
              QStringLiteral("Selvanto 5 Şirket sistemine daha önceden şirket kaydı yapılmış.\nLütfen kontrol ediniz..."));
    EXPECT_EQ(form.shown[1].title, QStringLiteral("Mirkado Upgrade"));
    EXPECT_EQ(form.shown[1].icon, QMessageBox::NoIcon);
    EXPECT_EQ(form.shown[2].title, QStringLiteral("Mirkado Upgrade"));
    EXPECT_EQ(form.shown[2].icon, QMessageBox::Critical);
    EXPECT_EQ(form.shown[2].text, QStringLiteral("unsuccessful metadata update\nINTEG_99"));
    EXPECT_TRUE(form.shown[3].details.isEmpty()) << "details belong to the completion box only";
    EXPECT_EQ(form.shown[4].details, QStringLiteral("ABC / Merkez\n    CARI 3\n"));
}

TEST_F(MainWindowTest, HelpWindowOpensModallyAndClosesLeavingTheWindowAsItWas) {
    form.DKaynak->setText(QStringLiteral("/veri/eski"));
    form.CheckCRGR->click();
    const app::Options before = form.currentOptions();
    gui::Form2* help = form.helpWindow();
    EXPECT_EQ(help->windowTitle(), form.windowTitle());
    EXPECT_EQ(help->size(), QSize(482, 397));
    EXPECT_EQ(help->Memo1->geometry(), QRect(0, 0, 482, 350));
    EXPECT_TRUE(help->Memo1->isReadOnly());
    EXPECT_EQ(help->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(help->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QString text = help->Memo1->toPlainText();
    const char* items[] = {"3.09",
                           "3.08",
                           "3.18",
                           "5.02",
                           "C:\\TORVANEX\\MIRKADO4\\DATA",
                           "C:\\TORVANEX\\ZKT3\\DATA",
                           "C:\\TORVANEX\\SELVANTO5\\DATA",
                           "Aktarma İşlemi Tamamlandı",
                           "1- Cari Kartları ve Bakiyeleri",
                           "2- Stok Kartları ve Bakiyeleri",
                           "3- Döviz Birimleri",
                           "4- Otel Bilgileri (*)",
                           "5- Ödenmemiş Taksitler (*)",
                           "(*) ile"};
    qsizetype last = -1;
    for (const char* item : items) {
        const qsizetype at = text.indexOf(QString::fromUtf8(item));
        EXPECT_GE(at, 0) << item;
        if (at >= 0 && std::string(item).size() > 4) {
            EXPECT_GT(at, last) << item << " out of order";
            last = at;
        }
    }
    EXPECT_EQ(help->KapatButton->text(), QStringLiteral("Kapat"));

    bool wasModal = false;
    form.onDialog = [&](QDialog& d) {
        guitest::whenShown([&] {
            wasModal = QApplication::activeModalWidget() == &d;
            help->KapatButton->click();
        });
        return d.exec();
    };
    form.Button3->click();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(help->isVisible());
    ASSERT_EQ(form.shown.size(), 1u);
    EXPECT_EQ(form.shown[0].kind, QStringLiteral("Form2"));
    const app::Options after = form.currentOptions();
    EXPECT_EQ(after.DKaynak, before.DKaynak);
    EXPECT_EQ(after.CheckCRGR, before.CheckCRGR);
    EXPECT_EQ(after.CheckCARI, before.CheckCARI);
    EXPECT_FALSE(form.lastResult().has_value()) << "no run";
}

TEST_F(MainWindowTest, RunningStateDisablesTheWindowAndShowsTheProgress) {
    ASSERT_TRUE(guitest::showActive(&form));
    form.setRunning(true);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.DKaynak->isEnabled());
    EXPECT_FALSE(form.UpgradeAction->isEnabled()) << "Enter starts no second run";
    EXPECT_TRUE(form.Timer1->isActive());
    for (QWidget* w : {static_cast<QWidget*>(form.Label4), static_cast<QWidget*>(form.Label8),
                       static_cast<QWidget*>(form.ProgressBar1), form.PanelZaman})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();

    form.setProgressMax(-1);
    EXPECT_TRUE(form.ProgressBar1->busy()) << "a failed count shows a busy bar";
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 0);
    form.setProgressMax(40);
    form.setProgressText("Cari Kartları Aktarılıyor");
    form.setProgressPosition(10);
    EXPECT_FALSE(form.ProgressBar1->busy());
    EXPECT_EQ(form.ProgressBar1->maximum(), 40);
    EXPECT_EQ(form.ProgressBar1->value(), 10);
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("Cari Kartları Aktarılıyor"));
    form.setCompanyText("ABC / Çiçek Ticaret");
    EXPECT_EQ(form.Label8->text(), QStringLiteral("ABC / Çiçek Ticaret"));

    form.close();
    EXPECT_TRUE(form.isVisible()) << "the title bar's close does nothing while a run works";

    const std::int32_t before = app::GecenSaniye;
    form.Timer1Timer();
    EXPECT_EQ(app::GecenSaniye, before + 1);
    EXPECT_EQ(form.LabelGecen->text().toStdString(), app::SaatCevir(before + 1));

    form.setRunning(false);
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_TRUE(form.UpgradeAction->isEnabled());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.PanelZaman->isVisible());
    EXPECT_TRUE(form.ProgressBar1->isVisible()) << "the bar stays until the window closes";
}

TEST_F(MainWindowTest, ProcessingMessagesDeliversTimerTicks) {
    ASSERT_TRUE(guitest::showActive(&form));
    form.setRunning(true);
    form.Timer1->setInterval(30);  // a quick tick for the test
    const std::int32_t before = app::GecenSaniye;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300 && app::GecenSaniye == before) form.processMessages();
    form.setRunning(false);
    EXPECT_GT(app::GecenSaniye, before) << "ticks arrive while the run pumps after each record";
}

TEST_F(MainWindowTest, CloseMainWindowIsIdempotent) {
    ASSERT_TRUE(guitest::showActive(&form));
    form.closeMainWindow();
    EXPECT_FALSE(form.isVisible());
    form.closeMainWindow();
    form.Button1->click();
    EXPECT_TRUE(form.shown.empty()) << "no run after the window closed";
}

TEST_F(MainWindowTest, ErrorsEscapingAnEventHandlerReachTheApplicationHandler) {
    // A control whose handler fails, as a database error inside a click would.
    struct Failing : QWidget {
        std::string message;
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) throw std::runtime_error(message);
            return QWidget::event(e);
        }
    };
    auto* app = qobject_cast<gui::Application*>(qApp);
    ASSERT_NE(app, nullptr);
    app->setErrorHandler([this](const std::exception& e) { form.AppEventsException(e); });
    struct Case {
        std::string message;
        QString title;
        QMessageBox::Icon icon;
        QString textStart;
    };
    const Case cases[] = {
        {"Your user name and password are not defined", QStringLiteral("Mirkado Upgrade"), QMessageBox::Critical,
         QStringLiteral("Your user name and password are not defined")},
        {"violation of PRIMARY or UNIQUE KEY constraint \"INTEG_216\" on table \"STOK\"", QStringLiteral("Dikkat"),
         QMessageBox::Information, QStringLiteral("Bu Cari Kodu daha önceden kaydedilmiş!..\nEski Programınızdan "
                                                  "kontrol ediniz. Stok Kodu = ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        form.shown.clear();
        db::GirisTamam = true;
        Failing w;
        w.message = c.message;
        QEvent e(QEvent::User);
        EXPECT_FALSE(QCoreApplication::sendEvent(&w, &e));
        ASSERT_EQ(form.shown.size(), 1u);
        EXPECT_EQ(form.shown[0].title, c.title);
        EXPECT_EQ(form.shown[0].icon, c.icon);
        EXPECT_TRUE(form.shown[0].text.startsWith(c.textStart)) << form.shown[0].text.toStdString();
        EXPECT_FALSE(db::GirisTamam) << "the next run asks for the password again";
    }
    app->setErrorHandler({});
}
