#include "app/run/Upgrade.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <cstdio>

#include "db/Codepage.h"
#include "db/FileSystem.h"
#include "db/Login.h"
#include "transfer/Transfers.h"

namespace app {

std::int32_t GecenSaniye = 0;

std::string SaatCevir(std::int32_t n) {
    if (n >= 3600)
        return std::to_string(n / 3600) + " Saat " + std::to_string((n % 3600) / 60) + " Dakika " +
               std::to_string((n % 3600) % 60) + " Saniye";
    if (n >= 60) return std::to_string(n / 60) + " Dakika " + std::to_string(n % 60) + " Saniye";
    return std::to_string(n) + " Saniye";
}

std::string Timer1Timer() {
    ++GecenSaniye;
    return SaatCevir(GecenSaniye);
}

namespace {

const char* const kNoCardOption = "Cari veya Stok Kartlarından birini işaretlemelisiniz...";
const char* const kRegistryNotEmpty =
    "Selvanto 5 Şirket sistemine daha önceden şirket kaydı yapılmış.\r\nLütfen kontrol ediniz...";
const char* const kNoStaff = "Personel in kullanıcı adını girmediniz.";
const char* const kFileMissing = " dosyası bulunamadı.\r\nLütfen kontrol ediniz.";
const char* const kParadoxFolderMissing = "ZKT Kobaltin uın kullandığı veri tabani klasörü bulunamadı...";
const char* const kCompleted = "Aktarma İşlemi Tamamlandı";
const char* const kBusyTarget =
    "Bu Selvanto 5 \"DATA\" klasöründe şu anda başka bir Upgrade işlemi çalışıyor.\r\n"
    "Lütfen o işlemin bitmesini bekleyiniz.";

// Text from the database may be Windows-1254 (values quoted in an error) or plain ASCII.
bool validUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (!len || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += len;
    }
    return true;
}

std::string messageText(const std::string& raw) { return validUtf8(raw) ? raw : db::codepage::toUtf8(raw); }

// One run per target DATA folder at a time: the folder itself is locked, so nothing is written for the lock.
class TargetLock {
public:
    explicit TargetLock(const std::string& folder) {
        std::string dir = db::fsys::resolve(folder);
        if (!db::fsys::folderExists(dir)) return;  // the registry check reports a missing target
        fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) return;
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            busy_ = true;
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~TargetLock() {
        if (fd_ >= 0) {
            ::flock(fd_, LOCK_UN);
            ::close(fd_);
        }
    }
    bool busy() const { return busy_; }

private:
    int fd_ = -1;
    bool busy_ = false;
};

// A company code becomes a folder name under the target DATA folder; it must stay a single folder there.
bool safeFolderName(const std::string& code) {
    if (code == "." || code == "..") return false;
    if (code.find("..") != std::string::npos) return false;
    for (unsigned char c : code) {
        if (c < 0x20 || c == 0x7F) return false;
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|')
            return false;
    }
    return true;
}

db::Transaction& defaultTransaction(db::TDM& dm, db::Connection& c) {
    if (&c == &dm.Sirket5_DB) return dm.Sirket5_Tr;
    if (&c == &dm.Sirket4_DB) return dm.Sirket4_Tr;
    if (&c == &dm.Mirkado5_DB) return dm.Mirkado5_Tr;
    return dm.Mirkado4_Tr;
}

}  // namespace

Upgrade::Upgrade(db::TDM& dm, Operator& op) : dm_(dm), op_(op) {}

Upgrade::~Upgrade() {
    for (db::Connection* c : {&dm_.Mirkado4_DB, &dm_.Sirket4_DB}) {
        try {
            c->abandon();
        } catch (...) {
        }
    }
    dropSnapshots();
}

std::string Upgrade::sourceSnapshot(const std::string& original) {
    const std::string path = db::fsys::resolve(original);
    // An old database still attached by another program is locked by its engine; copying it now could catch
    // it half-written.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return original;  // the attach reports a missing or unreadable file in the database's words
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd);
        throw std::runtime_error(original +
                                 " veritabanı başka bir program tarafından kullanılıyor.\r\n"
                                 "Lütfen eski programı kapatıp Upgrade işlemini yeniden başlatınız.");
    }
    if (snapshotDir_.empty()) {
        std::string tmpl = db::fsys::join(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp", "selvanto-kaynak-XXXXXX");
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) {
            ::close(fd);
            throw std::runtime_error(tmpl + " geçici klasörü oluşturulamadı.");
        }
        snapshotDir_ = buf.data();
        // As accessible as the old data folder itself, no more: a database server reading the copies runs
        // under its own user.
        struct stat st{};
        const std::string parent = path.substr(0, path.find_last_of('/') + 1);
        if (::stat(parent.empty() ? "." : parent.c_str(), &st) == 0) ::chmod(snapshotDir_.c_str(), st.st_mode & 0755);
    }
    const std::string copy = db::fsys::join(snapshotDir_, std::to_string(snapshots_.size()) + ".gdb");
    const bool copied = db::fsys::copyFile(path, copy);
    ::flock(fd, LOCK_UN);
    ::close(fd);
    if (!copied)
        throw std::runtime_error(original + " dosyası okunmak üzere " + snapshotDir_ +
                                 " klasörüne kopyalanamadı.\r\nLütfen geçici klasörde yer olduğunu kontrol ediniz.");
    snapshots_.emplace_back(copy, original);
    return copy;
}

void Upgrade::dropSnapshots() {
    if (snapshotDir_.empty()) return;
    for (const auto& [copy, original] : snapshots_) ::unlink(copy.c_str());
    ::rmdir(snapshotDir_.c_str());
    snapshotDir_.clear();
    snapshots_.clear();
}

RunResult Upgrade::Button1Click() {
    lastError_.clear();
    summary_.clear();
    TargetLock lock(options.DrHedef);
    if (lock.busy()) {
        op_.messageBox(kBusyTarget, "Dikkat", Icon::Information);
        return RunResult::Refused;
    }
    try {
        return run();
    } catch (const std::exception& e) {
        AppEventsException(e);
    } catch (...) {
        AppEventsException(std::string("Beklenmeyen bir hata oluştu."));
    }
    rollbackAfterFailure();
    return RunResult::Failed;
}

bool Upgrade::acceptCode(const std::string& name1254, const std::string& code1254) {
    const std::string code = db::codepage::toUtf8(code1254);
    if (safeFolderName(code)) return true;
    op_.messageBox("\"" + db::codepage::toUtf8(name1254) +
                       "\" şirketinin kodu klasör adı olarak kullanılamaz. Şirket Kodu = " + code +
                       "\r\nLütfen Eski Programınızdan şirket kodunu düzeltiniz.",
                   "Dikkat", Icon::Information);
    return false;
}

RunResult Upgrade::run() {
    if (!options.CheckCARI && !options.CheckSTOK) {
        op_.messageBox(kNoCardOption, "Bilgi", Icon::Information);
        return RunResult::Refused;
    }
    db::GirisTamam = false;

    if (!IBSirketAc(dm_.Sirket5_DB, dm_.Sirket5_Ds, options.DrHedef)) return RunResult::Refused;
    if (!dm_.Sirket5_Ds.eof()) {
        op_.messageBox(kRegistryNotEmpty, "Bilgi", Icon::Information);
        return RunResult::Refused;
    }

    // Everything that would stop the run half-way is checked before the first company is registered.
    for (const char* name : {"DBBackup/Mirkado.Fdb", "DBBackup/Resim.Fdb"}) {
        std::string path = db::fsys::join(options.DrHedef, name);
        if (!db::fsys::fileExists(path)) {
            op_.plainMessage(path + kFileMissing);
            return RunResult::Refused;
        }
    }

    transfer::Context ctx(dm_, op_, options, companies);
    if (options.interBase()) {
        if (!IBSirketAc(dm_.Sirket4_DB, dm_.Sirket4_Ds, options.DKaynak)) return RunResult::Refused;
        for (dm_.Sirket4_Ds.first(); !dm_.Sirket4_Ds.eof(); dm_.Sirket4_Ds.next())
            if (!acceptCode(dm_.Sirket4_Ds.asString("KISAAD"), dm_.Sirket4_Ds.asString("SIRKETKODU")))
                return RunResult::Refused;
        if (!transfer::IBSirketAktar(ctx)) {
            op_.closeMainWindow();
            return RunResult::NoCompanies;
        }
    } else {
        if (!BDESirketAc()) return RunResult::Refused;
        for (dm_.Sirket_T.first(); !dm_.Sirket_T.eof(); dm_.Sirket_T.next())
            if (!acceptCode(dm_.Sirket_T.asString("KISA_AD"), dm_.Sirket_T.asString("SIRKET_KOD")))
                return RunResult::Refused;
        if (!transfer::BDESirketAktar(ctx)) {
            op_.closeMainWindow();
            return RunResult::NoCompanies;
        }
    }
    summary_.push_back(CompanySummary{"Şirket kayıtları",
                                      {{"SIRKET", dm_.Sirket5_Ds.postedCount()},
                                       {"SIRKET_YIL", dm_.SYili_Ds.postedCount()},
                                       {"MUH_YANSITMA2", dm_.Yans2_Ds.postedCount()}}});

    op_.setRunning(true);
    if (options.interBase()) perCompanyInterBase();
    else perCompanyParadox();

    // The company databases are committed first; the registry last, so that a target lists companies only
    // when every one of them has been transferred.
    if (dm_.Mirkado5_Tr.active()) dm_.Mirkado5_Tr.commitRetaining();
    dm_.Mirkado5_DB.close();
    dm_.Sirket5_DB.close();
    dm_.Mirkado4_DB.close();
    dm_.Sirket4_DB.close();
    dropSnapshots();
    op_.setRunning(false);
    op_.setCompletionDetails(summaryText());
    op_.messageBox(kCompleted, "Bilgi", Icon::Information);
    op_.closeMainWindow();
    return RunResult::Completed;
}

void Upgrade::perCompanyInterBase() {
    auto& dm = dm_;
    transfer::Context ctx(dm_, op_, options, companies);
    dm.Sirket4_Ds.first();
    dm.Sirket5_Ds.first();
    while (!dm.Sirket4_Ds.eof()) {
        const std::string text = db::codepage::toUtf8(dm.Sirket4_Ds.asString("KISAAD") + " / " +
                                                      dm.Sirket4_Ds.asString("TICARIUNVAN"));
        op_.setCompanyText(text);
        IBAc(dm.Mirkado4_DB,
             db::fsys::join(options.DKaynak, db::codepage::toUtf8(dm.Sirket4_Ds.asString("SIRKETKODU"))), 2);
        IBAc(dm.Mirkado5_DB,
             db::fsys::join(db::fsys::join(options.DrHedef, db::codepage::toUtf8(dm.Sirket5_Ds.asString("SIRKETKODU"))),
                            dm.Sirket5_Ds.asString("CALISMAYILI")),
             1);
        if (options.CheckCARI) {
            transfer::IBCariAktar(ctx);
            dm.NewKodu(dm.Mirkado4GenValue("CARIKODU_GEN"), "CARIKODU_GEN");
            if (options.CheckCRGR) transfer::IBCariGrupAktar(ctx);
        }
        if (options.CheckSTOK) {
            transfer::IBStokAktar(ctx);
            dm.NewKodu(dm.Mirkado4GenValue("STOKKODU_GEN"), "STOKKODU_GEN");
            if (options.CheckSTGR) transfer::IBStokGrupAktar(ctx);
        }
        if (options.CheckCARI || options.CheckSTOK) transfer::IBDovizAktar(ctx);
        if (options.CheckOTEL) transfer::IBOtelBilgiAktar(ctx);
        collectSummary(text);
        dm.Sirket4_Ds.next();
        dm.Sirket5_Ds.next();
    }
}

void Upgrade::perCompanyParadox() {
    auto& dm = dm_;
    transfer::Context ctx(dm_, op_, options, companies);
    // The settings counters are floating-point; the generators take whole numbers, ties to even.
    auto counter = [&](const char* field) {
        dm.Ayar_T.first();
        return static_cast<std::int64_t>(std::nearbyint(dm.Ayar_T.eof() ? 0.0 : dm.Ayar_T.asFloat(field)));
    };
    dm.Sirket_T.first();
    dm.Sirket5_Ds.first();
    while (!dm.Sirket_T.eof()) {
        const std::string text =
            db::codepage::toUtf8(dm.Sirket_T.asString("KISA_AD") + " / " + dm.Sirket_T.asString("UNVAN"));
        op_.setCompanyText(text);
        IBAc(dm.Mirkado5_DB,
             db::fsys::join(db::fsys::join(options.DrHedef, db::codepage::toUtf8(dm.Sirket5_Ds.asString("SIRKETKODU"))),
                            dm.Sirket5_Ds.asString("CALISMAYILI")),
             1);
        BDEAc();
        if (options.CheckCARI) {
            transfer::BDECariAktar(ctx);
            dm.NewKodu(counter("CRNO"), "CARIKODU_GEN");
            if (options.CheckCRGR) transfer::BDECariGrupAktar(ctx);
        }
        if (options.CheckSTOK) {
            transfer::BDEStokAktar(ctx);
            dm.NewKodu(counter("STNO"), "STOKKODU_GEN");
            if (options.CheckSTGR) transfer::BDEStokGrupAktar(ctx);
        }
        if (options.CheckCARI || options.CheckSTOK) transfer::BDEDovizAktar(ctx);
        collectSummary(text);
        dm.Sirket_T.next();
        dm.Sirket5_Ds.next();
    }
}

void Upgrade::collectSummary(const std::string& company) {
    CompanySummary s{company, {}};
    for (db::Dataset* ds : dm_.datasets()) {
        if (&ds->connection() != &dm_.Mirkado5_DB) continue;
        if (ds->postedCount()) s.tables.push_back({ds->table(), ds->postedCount()});
        ds->resetPostedCount();
    }
    summary_.push_back(std::move(s));
}

std::string Upgrade::summaryText() const {
    std::string out;
    for (const auto& c : summary_) {
        out += c.company + "\n";
        if (c.tables.empty()) out += "    (kayıt yok)\n";
        for (const auto& t : c.tables) {
            char line[128];
            std::snprintf(line, sizeof line, "    %-14s %zu\n", t.table.c_str(), t.rows);
            out += line;
        }
    }
    return out;
}

void Upgrade::rollbackAfterFailure() {
    // Nothing of the failing company and nothing of the registry stays: the target accepts a new attempt.
    for (db::Connection* c : {&dm_.Mirkado5_DB, &dm_.Sirket5_DB, &dm_.Mirkado4_DB, &dm_.Sirket4_DB}) {
        try {
            c->abandon();
        } catch (...) {
        }
    }
    for (db::paradox::Table* t : dm_.tables()) t->close();
    for (db::Dataset* ds : dm_.datasets()) ds->resetPostedCount();
    dropSnapshots();
    op_.setRunning(false);
}

void Upgrade::AppEventsException(const std::exception& error) { AppEventsException(std::string(error.what())); }

void Upgrade::AppEventsException(const std::string& message) {
    auto current = [](db::Dataset& ds, const char* column) {
        try {
            return db::codepage::toUtf8(ds.asString(column));
        } catch (...) {
            return std::string();
        }
    };
    if (message.find("INTEG_13") != std::string::npos && message.find("\"CARI\"") != std::string::npos) {
        lastError_ = "Bu Cari Kodu daha önceden kaydedilmiş!..\r\nEski Programınızdan kontrol ediniz. Cari Kodu = " +
                     current(dm_.Cari5_Ds, "CARIKODU");
        op_.messageBox(lastError_, "Dikkat", Icon::Information);
    } else if (message.find("INTEG_216") != std::string::npos) {
        lastError_ = "Bu Cari Kodu daha önceden kaydedilmiş!..\r\nEski Programınızdan kontrol ediniz. Stok Kodu = " +
                     current(dm_.Stok5_Ds, "STOKKODU");
        op_.messageBox(lastError_, "Dikkat", Icon::Information);
    } else {
        std::string text = message;
        for (const auto& [copy, original] : snapshots_)
            for (auto at = text.find(copy); at != std::string::npos; at = text.find(copy, at + original.size()))
                text.replace(at, copy.size(), original);
        lastError_ = messageText(text);
        op_.showError(lastError_);
    }
    db::GirisTamam = false;
}

bool Upgrade::IBSirketAc(db::Connection& connection, db::Dataset& dataset, const std::string& folder) {
    const std::string file = db::fsys::join(folder, &connection == &dm_.Sirket5_DB ? "Sirket.FDB" : "Sirket.GDB");
    if (options.Edit1.empty()) {
        op_.plainMessage(kNoStaff);
        return false;
    }
    if (!db::fsys::fileExists(file)) {
        op_.plainMessage(file + kFileMissing);
        return false;
    }
    if (!db::GirisTamam) {
        auto typed = op_.askPassword();
        db::GirisTamam = typed.has_value();
        if (typed) password_ = db::filterPassword(*typed);
    }
    if (!db::GirisTamam) return false;
    if (connection.connected()) connection.close();
    connection.DatabaseName = &connection == &dm_.Sirket5_DB ? file : sourceSnapshot(file);
    connection.Params = db::connectionParams(password_);
    for (const auto& extra : extraConnectionParams) connection.Params.push_back(extra);
    connection.open();
    defaultTransaction(dm_, connection).start();
    dataset.open();
    return true;
}

bool Upgrade::IBAc(db::Connection& connection, const std::string& folder, int group) {
    connection.close();
    connection.Params = dm_.Sirket5_DB.Params;
    const bool target = &connection == &dm_.Sirket5_DB || &connection == &dm_.Mirkado5_DB;
    if (target) {
        connection.DatabaseName = db::fsys::join(folder, "MIRKADO.FDB");
    } else {
        // The previous company's copy is no longer needed once its connection is closed.
        if (!snapshots_.empty() && snapshots_.back().first == connection.DatabaseName && snapshots_.size() > 1) {
            ::unlink(snapshots_.back().first.c_str());
        }
        connection.DatabaseName = sourceSnapshot(db::fsys::join(folder, "MIRKADO.GDB"));
    }
    connection.open();
    defaultTransaction(dm_, connection).start();
    dm_.reopenGroup(group);
    return true;
}

namespace {

// A table whose header promises more (or fewer) records than its blocks hold has lost rows somewhere; the
// run stops rather than move a company with records missing.
void openWhole(db::paradox::Table& t) {
    t.open();
    if (t.recordCount() != t.info().recordCount)
        throw std::runtime_error(t.path() + " tablosunun başlığında " + std::to_string(t.info().recordCount) +
                                 " kayıt yazıyor, dosyada " + std::to_string(t.recordCount()) +
                                 " kayıt okunabildi.\r\nTablo bozuk olabilir; lütfen eski programınızla onarınız.");
}

}  // namespace

bool Upgrade::BDESirketAc() {
    if (!db::fsys::folderExists(options.DKaynak)) {
        op_.messageBox(kParadoxFolderMissing, "Dikkat", Icon::Information);
        return false;
    }
    dm_.Sirket_T.close();
    dm_.Sirket_T.setFolder(db::fsys::normalizeTyped(options.DKaynak));
    openWhole(dm_.Sirket_T);
    return true;
}

bool Upgrade::BDEAc() {
    const std::string folder =
        db::fsys::join(options.DKaynak, db::codepage::toUtf8(dm_.Sirket_T.asString("SIRKET_KOD")));
    for (db::paradox::Table* t : dm_.tables()) {
        if (t->tag() == 1) continue;
        t->close();
        t->setFolder(folder);
        openWhole(*t);
    }
    return true;
}

}  // namespace app
