// The company list dialog over a list filled from a real source registry: what it shows, what the operator
// may change, and that nothing else changes.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>

#include "FbTestDb.h"
#include "GuiTest.h"
#include "app/gui/SirketU.h"
#include "db/DataModule.h"

using namespace testsupport;
using gui::CompanyModel;

namespace {

const char* const kTarget = "C:\\TORVANEX\\SELVANTO5\\DATA";

class CompanyDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "M4";
        makeMirkadoData(src, {});
        const std::pair<const char*, const char*> rows[] = {{"ABC", "Merkez"}, {"IZM01", "Şube İzmir"},
                                                            {"ANK", "Ankara"}};
        int key = 0;
        for (auto [code, name] : rows) {
            ++key;
            execSql(src + "/Sirket.GDB", "INSERT INTO SIRKET (BLSIRKETKODU, SIRKETKODU, KISAAD, CALISMAYILI) VALUES (" +
                                             std::to_string(key) + ", " + lit(w(code)) + ", " + lit(w(name)) +
                                             ", " + std::to_string(2004 + key) + ")");
        }
        dm.Sirket4_DB.DatabaseName = src + "/Sirket.GDB";
        dm.Sirket4_DB.Params = testParams();
        dm.Sirket4_DB.open();
        dm.Sirket4_Tr.start();
        dm.Sirket4_Ds.open();
        list.fillFromInterBase(dm.Sirket4_Ds, kTarget, 2026);
        ASSERT_EQ(list.size(), 3u);
        dialog.setList(&list);
        ASSERT_TRUE(guitest::showActive(&dialog));
    }

    QModelIndex cell(int row, int column) const { return dialog.model()->index(row, column); }
    QString shown(int row, int column) const { return cell(row, column).data().toString(); }
    void goTo(int row, int column) {
        dialog.grid()->setFocus();
        dialog.grid()->setCurrentIndex(cell(row, column));
        QCoreApplication::processEvents();
    }

    TempDir tmp;
    std::string src;
    db::TDM dm;
    transfer::CompanyList list;
    gui::SirketF dialog;
};

}  // namespace

TEST_F(CompanyDialogTest, ShowsEveryCompanyWithItsYearAndFolder) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("SirketF"));
    EXPECT_EQ(dialog.size(), QSize(640, 336));
    EXPECT_EQ(dialog.grid()->geometry(), QRect(8, 64, 617, 201));
    EXPECT_EQ(dialog.continueButton()->geometry(), QRect(208, 272, 225, 30));
    EXPECT_EQ(dialog.continueButton()->text(), QStringLiteral("Upgrade İşlemine Devam Et"));
    EXPECT_EQ(dialog.continueButton()->font().pointSize(), 10);
    EXPECT_TRUE(dialog.continueButton()->font().bold());
    const std::pair<const char*, const char*> texts[] = {
        {"Panel1", "Şirket Aktarımı"},
        {"Label1", "Şirket Listesi"},
        {"Not", " Not : Selvanto 5 Şirket sistemi Şirket + Yıl sistemine bağlı çalıştığı için Mirkado 4 veya "
                "Kobaltin dan upgradde şirket yol sistemini değiştirebilirsiniz..."}};
    for (auto [name, text] : texts) {
        auto* l = dialog.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), QString::fromUtf8(text));
        EXPECT_TRUE(l->font().bold()) << name;
    }
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->pos(), QPoint(8, 48));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Panel1"))->font().pointSize(), 12);

    const std::pair<const char*, int> columns[] = {
        {"Çalışma Yılı", 74}, {"Kısa Adı", 149}, {"Şirket Kodu", 95}, {"Dizin Yolu", 260}};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(dialog.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QString::fromUtf8(columns[c].first));
        EXPECT_EQ(dialog.grid()->columnWidth(c), columns[c].second);
        EXPECT_TRUE(qvariant_cast<QFont>(dialog.model()->headerData(c, Qt::Horizontal, Qt::FontRole)).bold());
        EXPECT_TRUE(qvariant_cast<QFont>(cell(0, c).data(Qt::FontRole)).bold());
        EXPECT_EQ(bool(cell(0, c).flags() & Qt::ItemIsEditable), c == CompanyModel::ColYear)
            << "only the working year is editable";
    }
    ASSERT_EQ(dialog.model()->rowCount(), 3);
    const char* expected[][4] = {{"2005", "Merkez", "ABC", "C:/TORVANEX/SELVANTO5/DATA/ABC/2005"},
                                 {"2006", "Şube İzmir", "IZM01", "C:/TORVANEX/SELVANTO5/DATA/IZM01/2006"},
                                 {"2007", "Ankara", "ANK", "C:/TORVANEX/SELVANTO5/DATA/ANK/2007"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(shown(r, c), QString::fromUtf8(expected[r][c])) << r << "," << c;
}

TEST_F(CompanyDialogTest, EnterAfterAYearRefreshesTheFolderAndMovesOn) {
    goTo(1, CompanyModel::ColYear);
    guitest::typeText(dialog.grid(), QStringLiteral("2010"));
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr) << "typing opened the cell";
    guitest::press(dialog.grid(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.year(1), 2010);
    EXPECT_EQ(list.row(1).DBYOLU, "C:/TORVANEX/SELVANTO5/DATA/IZM01/2010");
    EXPECT_EQ(shown(1, CompanyModel::ColYol), QStringLiteral("C:/TORVANEX/SELVANTO5/DATA/IZM01/2010"));
    EXPECT_EQ(dialog.grid()->currentIndex(), cell(1, CompanyModel::ColKisaAd)) << "the focus moved to the next cell";
    EXPECT_TRUE(dialog.isVisible()) << "Enter does not close the dialog";

    // Enter without an edit only moves on; the other rows keep their folders.
    guitest::press(dialog.grid(), Qt::Key_Return);
    EXPECT_EQ(dialog.grid()->currentIndex(), cell(1, CompanyModel::ColKod));
    EXPECT_EQ(list.row(0).DBYOLU, "C:/TORVANEX/SELVANTO5/DATA/ABC/2005");

    // An emptied year: an empty segment, 0 for the transfer.
    goTo(2, CompanyModel::ColYear);
    guitest::press(dialog.grid(), Qt::Key_F2);
    guitest::press(dialog.grid(), Qt::Key_A, Qt::ControlModifier);
    guitest::press(dialog.grid(), Qt::Key_Backspace);
    guitest::press(dialog.grid(), Qt::Key_Return);
    EXPECT_FALSE(list.row(2).CYILI.has_value());
    EXPECT_EQ(list.year(2), 0);
    EXPECT_EQ(list.row(2).DBYOLU, "C:/TORVANEX/SELVANTO5/DATA/ANK/");
}

TEST_F(CompanyDialogTest, TheYearCellTakesWholeNumbersOnly) {
    struct Typed {
        const char* keys;
        std::optional<int> year;
    };
    const Typed cases[] = {{"20x1", 201}, {"1999.5", 19995}, {"abc", std::nullopt}, {"-12", -12}, {"99999999999", 999999999}};
    for (const Typed& t : cases) {
        SCOPED_TRACE(t.keys);
        list.setYear(0, 2005);
        dialog.model()->leaveRow();
        goTo(0, CompanyModel::ColYear);
        guitest::press(dialog.grid(), Qt::Key_F2);
        guitest::press(dialog.grid(), Qt::Key_A, Qt::ControlModifier);
        guitest::press(dialog.grid(), Qt::Key_Backspace);
        guitest::typeText(dialog.grid(), QString::fromLatin1(t.keys));
        guitest::press(dialog.grid(), Qt::Key_Return);
        EXPECT_EQ(list.row(0).CYILI, t.year);
    }
    EXPECT_FALSE(dialog.model()->setData(cell(0, CompanyModel::ColYear), QStringLiteral("12a"), Qt::EditRole));
    EXPECT_FALSE(dialog.model()->setData(cell(0, CompanyModel::ColKisaAd), QStringLiteral("Yeni"), Qt::EditRole));
    EXPECT_EQ(list.row(0).KISAAD, "Merkez");
}

TEST_F(CompanyDialogTest, NoRowIsAddedOrRemoved) {
    struct Attempt {
        const char* how;
        std::function<void()> act;
    };
    const Attempt attempts[] = {
        {"Insert key", [&] { goTo(1, 0); guitest::press(dialog.grid(), Qt::Key_Insert); }},
        {"down past the last row", [&] { goTo(2, 0); guitest::press(dialog.grid(), Qt::Key_Down); }},
        {"Ctrl+Delete", [&] { goTo(1, 0); guitest::press(dialog.grid(), Qt::Key_Delete, Qt::ControlModifier); }},
        {"the model's insert", [&] { EXPECT_FALSE(dialog.model()->insertRows(3, 1)); }},
        {"the model's remove", [&] { EXPECT_FALSE(dialog.model()->removeRows(0, 1)); }},
    };
    for (const Attempt& a : attempts) {
        SCOPED_TRACE(a.how);
        a.act();
        EXPECT_EQ(dialog.model()->rowCount(), 3);
        EXPECT_EQ(list.size(), 3u);
        EXPECT_EQ(list.row(2).SIRKETKODU, "ANK");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog) << "no message";
    }
    EXPECT_EQ(dialog.grid()->currentIndex().row(), 1);
}

TEST_F(CompanyDialogTest, APendingYearIsSavedHoweverTheDialogCloses) {
    struct Leave {
        const char* how;
        std::function<void()> act;
    };
    const Leave leaves[] = {
        {"continue button", [&] { dialog.continueButton()->click(); }},
        {"title bar", [&] { dialog.close(); }},
    };
    int year = 2020;
    for (const Leave& l : leaves) {
        SCOPED_TRACE(l.how);
        ASSERT_TRUE(guitest::showActive(&dialog));
        goTo(0, CompanyModel::ColYear);
        guitest::typeText(dialog.grid(), QString::number(year));
        ASSERT_TRUE(dialog.grid()->editing());
        l.act();
        QCoreApplication::processEvents();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(list.year(0), year);
        EXPECT_EQ(list.row(0).DBYOLU, "C:/TORVANEX/SELVANTO5/DATA/ABC/2005") << "the folder follows only on Enter";
        ++year;
    }
    // Esc in the dialog is no way out: there is no cancel.
    ASSERT_TRUE(guitest::showActive(&dialog));
    goTo(0, CompanyModel::ColKod);
    guitest::press(dialog.grid(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
}
