// Customer cards of a Kobaltin company (Cari.DB), with their balance totals as opening entries.
#include <string>

#include "db/Conversions.h"
#include "transfer/Transfers.h"
#include "transfer/customer/Rates.h"

namespace transfer {

namespace {

std::string flag(bool b) { return b ? "1" : "0"; }

void openTable(db::paradox::Table& t) {
    if (!t.active()) t.open();
}

}  // namespace

void BDECariAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    db::paradox::Table& src = dm.Cari_T;
    db::Dataset& card = dm.Cari5_Ds;
    ctx.progressStart(src.recordCount(), "Cari Kartlar Aktarılıyor");
    openTable(dm.Ayar_T);
    dm.Ayar_T.first();  // the settings are the first record's
    openTable(dm.Doviz_T);
    customer::forgetParadoxRates();
    dm.CariHr5_Ds.open();
    for (src.first(); !src.eof();) {
        card.append();
        card.set("CARIKODU", db::BuyukHarfCevir(src.asString("CARIKODU")));
        card.set("GRUBU", src.asString("GRUBU"));
        card.set("OZEL_KOD", src.asString("OZKOD"));
        const auto recorded = src.asDate("K_TARIH");
        card.set("KAYIT_TARIHI", recorded ? db::Value(*recorded) : db::kNull);
        card.set("ADI", src.asString("AD"));
        card.set("SOYADI", src.asString("SOYAD"));
        card.set("UNVANI", src.asString("UNVAN"));
        card.set("VERGI_DR", src.asString("VDAIRE"));
        card.set("VERGI_NO", src.asString("VERGINO"));
        card.set("ISK_ORAN", src.asFloat("ISKORAN"));
        card.set("TEL1", src.asString("TEL1"));
        card.set("TEL2", src.asString("TEL2"));
        card.set("EVTEL", src.asString("EVTEL"));
        card.set("CEPTEL", src.asString("CEPTEL"));
        card.set("FAX", src.asString("FAX"));
        card.set("EMAIL", src.asString("EMAIL"));
        card.set("ICQ", src.asString("ICQNO"));
        card.set("WEB", src.asString("WEB"));
        const std::string notes = src.asString("NOT");
        card.set("NOT1", db::MemoTemizle(db::slice(notes, 1, 60)));
        card.set("NOT2", db::MemoTemizle(db::slice(notes, 61, 120)));
        card.set("NOT3", db::MemoTemizle(db::slice(notes, 121, 180)));
        card.set("DVZBRM", src.asString("DVZBRM"));
        card.set("KPB_KLIM", src.asFloat("KLIMKPB"));
        card.set("KAYDEDEN", ctx.personel);
        // The address keeps its line breaks; what does not fit the first address line goes on the second.
        const std::string address = src.asString("ADRES");
        card.set("ADRES1", db::slice(address, 1, 120));
        card.set("ADRES2", db::slice(address, 121, 240));
        card.set("K_KARTI1", src.asString("KKART1"));
        card.set("K_KARTI2", src.asString("KKART2"));
        card.set("TAK_KARTI", src.asString("TAKKART"));
        card.set("MUHKODU_ALIS", std::string("120"));
        card.set("MUHKODU_SATIS", std::string("320"));
        card.set("ISKONTO", flag(src.asBoolean("ISKONTO")));
        card.set("DVZKUL", flag(src.asBoolean("DVZKUL")));
        card.set("KPB_KLIMUYAR", flag(src.asBoolean("KLIMUYAR")));
        card.post();

        if (ctx.options.CheckCRBK) {
            // Debit and credit totals travel as two entries; netting them would lose the old turnover.
            const double debit = src.asFloat("KTBRC");
            const double credit = src.asFloat("KTALC");
            if (debit > 0) CariDevirEkle(ctx, Source::Paradox, EntryKind::LocalDebit, debit);
            if (credit > 0) CariDevirEkle(ctx, Source::Paradox, EntryKind::LocalCredit, credit);
            if (src.asBoolean("DVZKUL")) {
                const std::string currency = src.asString("DVZBRM");
                const double currencyDebit = src.asFloat("DTBRC");
                const double currencyCredit = src.asFloat("DTALC");
                if (currencyDebit > 0)
                    CariDevirEkle(ctx, Source::Paradox, EntryKind::CurrencyDebit, currencyDebit, currency);
                if (currencyCredit > 0)
                    CariDevirEkle(ctx, Source::Paradox, EntryKind::CurrencyCredit, currencyCredit, currency);
            }
        }

        src.next();
        ctx.progressStep();
    }
}

}  // namespace transfer
