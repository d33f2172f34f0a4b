// Customer cards of a Mirkado 4 company, with their balances as opening entries and their unpaid instalments.
#include <string>

#include "db/Conversions.h"
#include "transfer/Transfers.h"

namespace transfer {

namespace {

const char* const kQuote = "'";

// The card's key goes into the per-card statements as a parameter: the same rows as the key written into
// the text, with one prepared statement for all cards instead of one per card.
using Key = std::vector<db::Value>;

// Local-currency balance: every entry that does not count in a currency account.
void localBalance(Context& ctx, const Key& k) {
    db::Dataset& q = ctx.dm.Topla_Q;
    q.close();
    q.setSql({"SELECT SUM(KPB_BTUT) KPB_BTUT, SUM(KPB_ATUT) KPB_ATUT FROM CARIHR", "WHERE BLCRKODU=?",
              std::string(" AND (DVZKUL <>") + kQuote + "1" + kQuote + " OR DVZ_HSISLE <>" + kQuote + "1" + kQuote +
                  ")"},
             k);
    q.open();
    const double debit = db::asFloat(q.value(std::size_t{0}));
    const double credit = db::asFloat(q.value(std::size_t{1}));
    q.close();
    // Debit and credit travel as two entries; netting them would lose the old turnover.
    if (debit > 0) CariDevirEkle(ctx, Source::InterBase, EntryKind::LocalDebit, debit);
    if (credit > 0) CariDevirEkle(ctx, Source::InterBase, EntryKind::LocalCredit, credit);
}

// Opening figures kept per currency in CARIBK.
void currencyOpenings(Context& ctx, const Key& k) {
    db::Dataset& bk = ctx.dm.CariBk4_Ds;
    bk.setSql({"SELECT * FROM CARIBK", "WHERE BLCRKODU=?"}, k);
    bk.open();
    for (; !bk.eof(); bk.next()) {
        const std::string currency = bk.asString("DOVIZ_SIMGE");
        if (currency.empty()) continue;
        const double debit = bk.asFloat("DEVIR_BRC");
        const double credit = bk.asFloat("DEVIR_ALC");
        if (debit > 0) CariDevirEkle(ctx, Source::InterBase, EntryKind::CurrencyDebit, debit, currency);
        if (credit > 0) CariDevirEkle(ctx, Source::InterBase, EntryKind::CurrencyCredit, credit, currency);
    }
}

// Movements that count in the currency account, summed per currency.
void currencyBalances(Context& ctx, const Key& k) {
    db::Dataset& q = ctx.dm.Topla_Q;
    q.close();
    q.setSql({"SELECT DVZBRM,SUM(DVZ_BTUT) DVZ_BTUT, SUM(DVZ_ATUT) DVZ_ATUT FROM CARIHR", "WHERE BLCRKODU=?",
              std::string(" AND DVZKUL=") + kQuote + "1" + kQuote + " AND DVZ_HSISLE=" + kQuote + "1" + kQuote,
              "GROUP BY DVZBRM"},
             k);
    q.open();
    for (; !q.eof(); q.next()) {
        const std::string currency = q.asString("DVZBRM");
        const double debit = q.asFloat("DVZ_BTUT");
        const double credit = q.asFloat("DVZ_ATUT");
        if (debit > 0) CariDevirEkle(ctx, Source::InterBase, EntryKind::CurrencyDebit, debit, currency);
        if (credit > 0) CariDevirEkle(ctx, Source::InterBase, EntryKind::CurrencyCredit, credit, currency);
    }
    q.close();
}

// Unpaid instalments move with every source value; only the key is new and the card is the new card.
void unpaidInstalments(Context& ctx, const Key& k) {
    db::TDM& dm = ctx.dm;
    db::Dataset& src = dm.CariHr4_Ds;
    db::Dataset& dst = dm.CariHr5_Ds;
    src.setSql({"SELECT * FROM CARIHR", "WHERE BLCRKODU=?",
                std::string(" AND TAKSIT=") + kQuote + "1" + kQuote + " AND ODEDI<>" + kQuote + "1" + kQuote},
               k);
    src.open();
    // Most cards have no unpaid instalment; narrowing the target dataset changes nothing in the table, so
    // it is spared for them (one query per card less on the target).
    if (src.eof()) return;
    const db::Value newCard = dm.Cari5_Ds.value("BLCRKODU");
    dst.setSql({"SELECT * FROM CARIHR", "WHERE BLCRKODU=?"}, {newCard});
    dst.open();
    for (; !src.eof(); src.next()) {
        dst.append();
        dst.copyByName(src);
        dst.setNull("BLCHKODU");
        dst.set("BLCRKODU", newCard);
        dst.post();
        ctx.op.processMessages();
    }
}

}  // namespace

void IBCariAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    ctx.progressStart(dm.KayitSayisiAl("CARI", "BLCRKODU"), "Cari Kartlar Aktarılıyor");
    dm.Ayar4_Ds.open();
    dm.Ayar4_Ds.first();  // the settings are the first row's
    dm.Doviz4_Ds.open();
    dm.CariHr5_Ds.open();
    db::Dataset& src = dm.Cari4_Ds;
    db::Dataset& card = dm.Cari5_Ds;
    for (src.first(); !src.eof();) {
        card.append();
        card.copyByName(src, {"BLCRKODU"});
        card.set("MUHKODU_ALIS", std::string("120"));
        card.set("MUHKODU_SATIS", std::string("320"));
        card.set("CARIKODU", db::BuyukHarfCevir(card.asString("CARIKODU")));
        card.post();

        const Key k{src.value("BLCRKODU")};
        if (ctx.options.CheckCRBK) {
            localBalance(ctx, k);
            if (src.asString("DVZKUL") == "1") {
                currencyOpenings(ctx, k);
                currencyBalances(ctx, k);
            }
        }
        if (ctx.options.CheckTAKSIT) unpaidInstalments(ctx, k);

        src.next();
        ctx.progressStep();
    }
}

}  // namespace transfer
