// One whole run through the real windows: the password typed into the login dialog, a year changed in the
// company list with Enter, the completion box with its details, and the window closing at the end.
#include <gtest/gtest.h>

#include <filesystem>

#include "FbTestDb.h"
#include "KobaltinTables.h"
#include "GuiTest.h"
#include "app/gui/K_PasswordU.h"
#include "app/gui/SirketU.h"

using namespace testsupport;
namespace fs = std::filesystem;

TEST(RunThroughWindow, TwoCompaniesFromLoginToCompletion) {
    TempDir tmp;
    const std::string src = tmp / "MIRKADO4/DATA", dst = tmp / "SELVANTO5/DATA";
    makeSelvantoData(dst);
    makeMirkadoData(src, {"ABC", "DEF"});
    execSql(src + "/Sirket.GDB",
            "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI) VALUES (1, " +
                lit(w("Birinci")) + ", " + lit(w("Birinci Ticaret A.Ş.")) + ", 'ABC', 2004);"
                "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI) VALUES (2, " +
                lit(w("İkinci")) + ", " + lit(w("İkinci Ticaret A.Ş.")) + ", 'DEF', 2005);");
    execSql(src + "/DEF/MIRKADO.GDB", "INSERT INTO DOVIZ (BLDVKODU, SIMGE) VALUES (1, 'USD')");

    db::TDM dm;
    guitest::TestForm1 form(dm);
    ASSERT_TRUE(guitest::showActive(&form));
    form.DKaynak->setText(QString::fromStdString(src));
    form.DrHedef->setText(QString::fromStdString(dst));
    std::vector<std::string> listed;
    form.onDialog = [&](QDialog& d) {
        if (auto* login = qobject_cast<gui::K_PasswordF*>(&d)) {
            guitest::whenShown([login] {
                guitest::typeText(login->EditPass, QStringLiteral("masterkey"));
                guitest::press(login->EditPass, Qt::Key_Return);
            });
        } else if (auto* companies = qobject_cast<gui::SirketF*>(&d)) {
            guitest::whenShown([&, companies] {
                companies->grid()->setCurrentIndex(companies->model()->index(0, gui::CompanyModel::ColYear));
                guitest::typeText(companies->grid(), QStringLiteral("2006"));
                guitest::press(companies->grid(), Qt::Key_Return);
                for (int r = 0; r < companies->model()->rowCount(); ++r)
                    listed.push_back(companies->model()->index(r, gui::CompanyModel::ColYol).data().toString().toStdString());
                companies->continueButton()->click();
            });
        }
        return d.exec();
    };
    form.Button1->click();

    ASSERT_EQ(form.lastResult(), app::RunResult::Completed) << form.upgrade().lastError();
    ASSERT_EQ(form.shown.size(), 3u);
    EXPECT_EQ(form.shown[0].kind, QStringLiteral("K_PasswordF"));
    EXPECT_EQ(form.shown[1].kind, QStringLiteral("SirketF"));
    EXPECT_EQ(form.shown[2].text, QStringLiteral("Aktarma İşlemi Tamamlandı"));
    EXPECT_EQ(form.shown[2].title, QStringLiteral("Bilgi"));
    EXPECT_TRUE(form.shown[2].details.contains(QStringLiteral("DOVIZ"))) << form.shown[2].details.toStdString();
    EXPECT_EQ(listed, (std::vector<std::string>{dst + "/ABC/2006", dst + "/DEF/2005"}));
    EXPECT_TRUE(fs::exists(dst + "/ABC/2006/Mirkado.FDB"));
    EXPECT_EQ(count(dst + "/DEF/2005/Mirkado.FDB", "DOVIZ"), 1);
    EXPECT_EQ(form.Label8->text(), QStringLiteral("İkinci / İkinci Ticaret A.Ş."));
    EXPECT_FALSE(form.PanelZaman->isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.isVisible()) << "the program ends after a completed run";
}

TEST(RunThroughWindow, AKobaltinFolderThroughTheWindow) {
    TempDir tmp;
    const std::string src = tmp / "ZKT3/DATA", dst = tmp / "SELVANTO5/DATA";
    makeSelvantoData(dst);
    using kobaltin::Record;
    kobaltin::writeTable(src, "sirket.DB",
                         {Record{{"SIRKET_KOD", db::Value(w("ABC"))}, {"KISA_AD", db::Value(w("Çiçek"))},
                                 {"UNVAN", db::Value(w("Çiçek Ltd."))}, {"NUMBER1", 2005.0}}});
    kobaltin::writeCompany(src + "/ABC", {{"Cari.DB", {Record{{"CARIKODU", db::Value(w("çiçek"))}, {"KTBRC", 500.0}}}},
                                          {"doviz.DB", {Record{{"SIMGE", db::Value(std::string("USD"))}}}}});

    db::TDM dm;
    guitest::TestForm1 form(dm);
    ASSERT_TRUE(guitest::showActive(&form));
    form.RadioSURUMGroup->button(1)->click();  // "Kobaltin" replaces the source folder with its default
    EXPECT_EQ(form.DKaynak->text(), QStringLiteral("C:\\TORVANEX\\ZKT3\\DATA"));
    form.DKaynak->setText(QString::fromStdString(src));
    form.DrHedef->setText(QString::fromStdString(dst));
    form.onDialog = [&](QDialog& d) {
        if (auto* login = qobject_cast<gui::K_PasswordF*>(&d)) {
            guitest::whenShown([login] {
                guitest::typeText(login->EditPass, QStringLiteral("masterkey"));
                guitest::press(login->EditPass, Qt::Key_Return);
            });
        } else if (auto* companies = qobject_cast<gui::SirketF*>(&d)) {
            guitest::whenShown([companies] { companies->continueButton()->click(); });
        }
        return d.exec();
    };
    form.Button1->click();

    ASSERT_EQ(form.lastResult(), app::RunResult::Completed) << form.upgrade().lastError();
    const std::string target = dst + "/ABC/2005/Mirkado.FDB";
    EXPECT_EQ(db::asString(scalar(target, "SELECT CARIKODU FROM CARI")), w("ÇİÇEK"));
    EXPECT_EQ(count(target, "CARIHR"), 1);
    EXPECT_EQ(count(target, "DOVIZ"), 1);
    EXPECT_EQ(form.Label8->text(), QStringLiteral("Çiçek / Çiçek Ltd."));
    EXPECT_FALSE(form.isVisible());
}
