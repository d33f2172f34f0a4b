// Company registration: the company list dialog, year folders with fresh template copies, and the target
// registry rows (SIRKET, SIRKET_YIL, MUH_YANSITMA2).
#include <stdexcept>

#include "db/Codepage.h"
#include "db/Conversions.h"
#include "db/FileSystem.h"
#include "transfer/Transfers.h"

namespace transfer {

namespace {

const char* const kNoCompany = "Aktarılacak Şirket kaydı bulunamadı...";

// The year folder of one company, with fresh copies of both templates. A folder or copy that cannot be made
// stops the run with its own message instead of failing later on a database that is not there.
std::string prepareYearFolder(Context& ctx, const std::string& codeUtf8, std::size_t row) {
    const auto& list = ctx.companies;
    const std::string year = list.row(row).CYILI ? std::to_string(*list.row(row).CYILI) : std::string();
    const std::string folder = db::fsys::join(db::fsys::join(ctx.options.DrHedef, codeUtf8), year);
    if (!db::fsys::createFolders(folder))
        throw std::runtime_error(folder + " klasörü oluşturulamadı.\r\nLütfen hedef klasörün yazılabilir olduğunu kontrol ediniz.");
    const std::pair<const char*, const char*> copies[] = {{"DBBackup/Mirkado.Fdb", "Mirkado.FDB"},
                                                          {"DBBackup/Resim.Fdb", "Resim.FDB"}};
    for (const auto& [from, to] : copies) {
        const std::string src = db::fsys::join(ctx.options.DrHedef, from);
        const std::string dst = db::fsys::join(folder, to);
        if (!db::fsys::copyFile(src, dst))
            throw std::runtime_error(src + " dosyası " + dst +
                                     " olarak kopyalanamadı.\r\nLütfen hedef klasörün yazılabilir olduğunu kontrol ediniz.");
    }
    return folder;
}

// SIRKET_YIL and the company's own copy of the accounting rules, for the SIRKET row just posted.
void registerYearAndRules(Context& ctx, const std::string& folder) {
    auto& dm = ctx.dm;
    dm.SYili_Ds.append();
    dm.SYili_Ds.set("CYILI", dm.Sirket5_Ds.value("CALISMAYILI"));
    dm.SYili_Ds.set("YOL", db::codepage::fromUtf8(folder));
    dm.SYili_Ds.post();

    if (!dm.Yansitma_Ds.active()) dm.Yansitma_Ds.open();
    if (!dm.Yans2_Ds.active()) dm.Yans2_Ds.open();
    for (dm.Yansitma_Ds.first(); !dm.Yansitma_Ds.eof(); dm.Yansitma_Ds.next()) {
        dm.Yans2_Ds.append();
        dm.Yans2_Ds.copyByName(dm.Yansitma_Ds, {"BLMYKODU"});
        dm.Yans2_Ds.post();
    }
    dm.Yansitma_Ds.close();
    dm.Yans2_Ds.close();
}

bool showList(Context& ctx) {
    ctx.op.editCompanyYears(ctx.companies);
    if (ctx.companies.size() == 0) {
        ctx.op.messageBox(kNoCompany, "Bilgi", app::Icon::Information);
        return false;
    }
    ctx.op.bringToFront();
    ctx.op.processMessages();
    ctx.dm.SYili_Ds.open();
    ctx.dm.Yansitma_Ds.open();
    ctx.dm.Yans2_Ds.open();
    return true;
}

void setText(db::Dataset& ds, const char* column, const std::string& text) { ds.set(column, text); }

void setDate(db::Dataset& ds, const char* column, const std::optional<db::Date>& d) {
    ds.set(column, d ? db::Value(*d) : db::kNull);
}

}  // namespace

bool IBSirketAktar(Context& ctx) {
    auto& dm = ctx.dm;
    ctx.companies.fillFromInterBase(dm.Sirket4_Ds, ctx.options.DrHedef, ctx.today.year);
    if (!showList(ctx)) return false;

    std::size_t row = 0;
    for (dm.Sirket4_Ds.first(); !dm.Sirket4_Ds.eof() && row < ctx.companies.size(); dm.Sirket4_Ds.next(), ++row) {
        const std::string folder =
            prepareYearFolder(ctx, db::codepage::toUtf8(dm.Sirket4_Ds.asString("SIRKETKODU")), row);
        dm.Sirket5_Ds.append();
        dm.Sirket5_Ds.copyByName(dm.Sirket4_Ds, {"BLSIRKETKODU"});
        dm.Sirket5_Ds.set("CALISMAYILI", static_cast<std::int64_t>(ctx.companies.year(row)));
        dm.Sirket5_Ds.post();
        registerYearAndRules(ctx, folder);
    }
    return true;
}

bool BDESirketAktar(Context& ctx) {
    auto& dm = ctx.dm;
    auto& t = dm.Sirket_T;
    ctx.companies.fillFromParadox(t, ctx.options.DrHedef, ctx.today.year);
    if (!showList(ctx)) return false;

    std::size_t row = 0;
    for (t.first(); !t.eof() && row < ctx.companies.size(); t.next(), ++row) {
        const std::string folder = prepareYearFolder(ctx, db::codepage::toUtf8(t.asString("SIRKET_KOD")), row);
        auto& s = dm.Sirket5_Ds;
        s.append();
        const std::string adres = t.asString("ADRES");
        const std::string notlar = t.asString("NOT");
        setDate(s, "KURULUSTARIH", t.asDate("KURULUSTAR"));
        setText(s, "KISAAD", t.asString("KISA_AD"));
        setText(s, "TICARIUNVAN", t.asString("UNVAN"));
        setText(s, "VERGIDAIRESI", t.asString("VDAIRESI"));
        // The memos are cut into the three lines the target has, so no character of them is lost.
        setText(s, "ADRES1", db::MemoTemizle(db::slice(adres, 1, 50)));
        setText(s, "ADRES2", db::MemoTemizle(db::slice(adres, 51, 100)));
        setText(s, "ADRES3", db::MemoTemizle(db::slice(adres, 101, 150)));
        setText(s, "FAX", t.asString("FAX"));
        setText(s, "EMAIL", t.asString("EMAIL"));
        setText(s, "NOT1", db::MemoTemizle(db::slice(notlar, 1, 100)));
        setText(s, "NOT2", db::MemoTemizle(db::slice(notlar, 101, 200)));
        setText(s, "NOT3", db::MemoTemizle(db::slice(notlar, 201, 300)));
        setText(s, "BANKA1", t.asString("BANKANO1"));
        setText(s, "BANKA2", t.asString("BANKANO2"));
        setText(s, "BANKA3", t.asString("BANKANO3"));
        setDate(s, "KAYITTARIHI", t.asDate("KAYITTARIHI"));
        setText(s, "TEL1", t.asString("TEL1"));
        setText(s, "TEL2", t.asString("TEL2"));
        setText(s, "WEB", t.asString("WEB"));
        setText(s, "YETKILI", t.asString("YETKILI"));
        setText(s, "VERGINUMARASI", t.asString("VERGINO"));
        setText(s, "SIRKETKODU", t.asString("SIRKET_KOD"));
        s.set("CALISMAYILI", static_cast<std::int64_t>(ctx.companies.year(row)));
        s.post();
        registerYearAndRules(ctx, folder);
    }
    return true;
}

}  // namespace transfer
