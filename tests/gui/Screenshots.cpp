// `test_gui --screenshots FOLDER`: pictures of the main window, the login dialog and the company list dialog
// with two example companies, for the documentation.
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "FbTestDb.h"
#include "app/gui/Form1.h"
#include "app/gui/K_PasswordU.h"
#include "app/gui/SirketU.h"

namespace {

bool save(QWidget* w, const QString& file) {
    w->show();
    w->raise();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    w->repaint();
    if (!w->grab().save(file)) {
        std::fprintf(stderr, "%s yazılamadı.\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

}  // namespace

int takeScreenshots(const char* folderArg) {
    using namespace testsupport;
    const QString folder = QString::fromLocal8Bit(folderArg);
    QDir().mkpath(folder);

    db::TDM dm;
    gui::Form1 form1(dm);
    bool ok = save(&form1, folder + QStringLiteral("/main-window.png"));

    gui::K_PasswordF login(&form1);
    login.show();
    login.EditPass->setText(QStringLiteral("masterke"));
    ok = save(&login, folder + QStringLiteral("/login.png")) && ok;
    login.hide();

    // Two companies from a real registry, as the run fills the list.
    TempDir tmp;
    const std::string src = tmp / "M4";
    makeMirkadoData(src, {});
    execSql(src + "/Sirket.GDB",
            "INSERT INTO SIRKET (BLSIRKETKODU, SIRKETKODU, KISAAD, CALISMAYILI) VALUES (1, 'ABC', 'Merkez', 2005);"
            "INSERT INTO SIRKET (BLSIRKETKODU, SIRKETKODU, KISAAD, CALISMAYILI) VALUES (2, 'IZM01', " +
                lit(w("Şube İzmir")) + ", 0);");
    dm.Sirket4_DB.DatabaseName = src + "/Sirket.GDB";
    dm.Sirket4_DB.Params = testParams();
    dm.Sirket4_DB.open();
    dm.Sirket4_Tr.start();
    dm.Sirket4_Ds.open();
    transfer::CompanyList list;
    list.fillFromInterBase(dm.Sirket4_Ds, "/srv/selvanto5/DATA", 2026);
    dm.Sirket4_DB.close();

    gui::SirketF companies(&form1);
    companies.setList(&list);
    ok = save(&companies, folder + QStringLiteral("/company-list.png")) && ok;
    companies.hide();
    return ok ? 0 : 1;
}
