// selvanto-upgrade-batch: the upgrade run from the console, for administrators who move many sites.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "BatchOperator.h"
#include "app/run/Upgrade.h"
#include "db/DataModule.h"
#include "db/Login.h"

namespace {

constexpr int kUsage = 64;

const char* const kUsageText =
    "Kullanım: selvanto-upgrade-batch --source-kind mirkado4|kobaltin --source DIR --target DIR\n"
    "                                 [--staff NAME] [--year CODE=YEAR]... [--without LIST]\n"
    "  --without: cari,cari-bakiye,cari-grup,stok,stok-bakiye,stok-grup,otel,taksit\n"
    "  Parola standart girdinin ilk satırından okunur.\n";

int usage(const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "%s\n", why.c_str());
    std::fputs(kUsageText, stderr);
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    app::Options options;
    app::BatchOperator op(stderr, stderr);
    bool kind = false, source = false, target = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsageText, stdout);
            return 0;
        } else if (a == "--source-kind") {
            if (!value(v)) return usage("--source-kind bir değer ister.");
            if (v == "mirkado4") options.RadioSURUM = 0;
            else if (v == "kobaltin") options.RadioSURUM = 1;
            else return usage("Bilinmeyen kaynak türü: " + v);
            kind = true;
        } else if (a == "--source") {
            if (!value(options.DKaynak)) return usage("--source bir klasör ister.");
            source = true;
        } else if (a == "--target") {
            if (!value(options.DrHedef)) return usage("--target bir klasör ister.");
            target = true;
        } else if (a == "--staff") {
            if (!value(options.Edit1)) return usage("--staff bir ad ister.");
        } else if (a == "--year") {
            if (!value(v)) return usage("--year KOD=YIL ister.");
            auto eq = v.rfind('=');
            if (eq == std::string::npos || eq == 0) return usage("--year KOD=YIL ister: " + v);
            try {
                std::size_t used = 0;
                int year = std::stoi(v.substr(eq + 1), &used);
                if (used != v.size() - eq - 1) throw std::invalid_argument(v);
                op.years[v.substr(0, eq)] = year;
            } catch (const std::exception&) {
                return usage("--year için yıl tam sayı olmalı: " + v);
            }
        } else if (a == "--without") {
            if (!value(v)) return usage("--without bir liste ister.");
            std::stringstream ss(v);
            std::string item;
            while (std::getline(ss, item, ',')) {
                // The window's option rules: without cards there are no balances or groups either.
                if (item == "cari") options.CheckCARI = options.CheckCRBK = options.CheckCRGR = false;
                else if (item == "cari-bakiye") options.CheckCRBK = false;
                else if (item == "cari-grup") options.CheckCRGR = false;
                else if (item == "stok") options.CheckSTOK = options.CheckSTBK = options.CheckSTGR = false;
                else if (item == "stok-bakiye") options.CheckSTBK = false;
                else if (item == "stok-grup") options.CheckSTGR = false;
                else if (item == "otel") options.CheckOTEL = false;
                else if (item == "taksit") options.CheckTAKSIT = false;
                else if (!item.empty()) return usage("--without: bilinmeyen seçenek " + item);
            }
        } else {
            return usage("Bilinmeyen seçenek: " + a);
        }
    }
    if (!kind || !source || !target) return usage("--source-kind, --source ve --target gerekli.");

    std::string line;
    if (!std::getline(std::cin, line)) line.clear();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    op.password = db::filterPassword(line);

    db::TDM dm;
    app::Upgrade up(dm, op);
    up.options = options;
    app::RunResult result = up.Button1Click();

    if (result == app::RunResult::Completed) {
        std::printf("%-40s %-14s %s\n", "Şirket", "Tablo", "Kayıt");
        for (const auto& c : up.summary())
            for (const auto& t : c.tables) std::printf("%-40s %-14s %zu\n", c.company.c_str(), t.table.c_str(), t.rows);
        return 0;
    }
    return result == app::RunResult::Failed ? 2 : 1;
}
