// selvanto-make-source: builds an old installation's DATA folder (and optionally an empty Selvanto 5 one)
// from a seed, for demonstrations, tests and the benchmark. The same options always give the same data.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "FbTestDb.h"
#include "Model.h"
#include "Source.h"
#include "db/Codepage.h"

namespace {

const char* const kUsage =
    "usage: selvanto-make-source --kind mirkado4|kobaltin --source DIR [--target DIR] [--preset demo|bench]\n"
    "         [--companies N] [--cards N] [--movements N] [--stock N] [--groups N] [--subgroups N]\n"
    "         [--currencies N] [--hotel N] [--foreign-every N] [--instalment-every N] [--seed S] [--scale K]\n"
    "  --movements: per customer card and per stock card; --hotel: rows in each of the ten hotel tables;\n"
    "  --scale K multiplies cards, stock, movements and hotel rows (after the preset and the other options).\n"
    "  The preset is applied first, the other options override it, whatever their order.\n";

int usage(const std::string& why) {
    std::fprintf(stderr, "%s\n%s", why.c_str(), kUsage);
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    bench::SourceOptions o;
    std::string preset = "demo";
    int scale = 1;
    struct Opt {
        const char* name;
        int* target;
    };
    const Opt ints[] = {{"--companies", &o.companies}, {"--cards", &o.cards},       {"--movements", &o.movements},
                        {"--stock", &o.stock},         {"--groups", &o.groups},     {"--subgroups", &o.subgroups},
                        {"--currencies", &o.currencies}, {"--hotel", &o.hotel},     {"--foreign-every", &o.foreignEvery},
                        {"--instalment-every", &o.instalmentEvery}, {"--scale", &scale}};
    // The preset first, so that explicit options override it wherever they stand.
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--preset") == 0) preset = argv[i + 1];
    if (!bench::applyPreset(o, preset)) return usage("unknown preset: " + preset);
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= argc) return usage(a + " needs a value");
        std::string v = argv[++i];
        if (a == "--preset") continue;
        if (a == "--kind") o.kind = v;
        else if (a == "--source") o.source = v;
        else if (a == "--target") o.target = v;
        else if (a == "--seed") {
            try {
                o.seed = std::stoull(v);
            } catch (const std::exception&) {
                return usage("--seed needs a whole number: " + v);
            }
        } else {
            bool found = false;
            for (const auto& opt : ints) {
                if (a != opt.name) continue;
                found = true;
                try {
                    std::size_t used = 0;
                    *opt.target = std::stoi(v, &used);
                    if (used != v.size() || *opt.target < 0) throw std::invalid_argument(v);
                } catch (const std::exception&) {
                    return usage(a + " needs a whole number >= 0: " + v);
                }
            }
            if (!found) return usage("unknown option: " + a);
        }
    }
    if (o.kind != "mirkado4" && o.kind != "kobaltin") return usage("--kind must be mirkado4 or kobaltin");
    if (o.source.empty()) return usage("--source is required");
    if (o.foreignEvery < 1 || o.instalmentEvery < 1) return usage("--foreign-every and --instalment-every must be >= 1");
    o.cards *= scale, o.stock *= scale, o.movements *= scale, o.hotel *= scale;

    try {
        bench::Report report = o.kind == "mirkado4" ? bench::writeMirkado(o) : bench::writeKobaltin(o);
        if (!o.target.empty()) testsupport::makeSelvantoData(o.target);
        std::int64_t total = 0;
        for (const auto& t : report) {
            std::printf("%-24s %-12s %lld\n", db::codepage::toUtf8(t.database).c_str(), t.table.c_str(),
                        static_cast<long long>(t.rows));
            total += t.rows;
        }
        std::printf("%-24s %-12s %lld\n", "", "total", static_cast<long long>(total));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "selvanto-make-source: %s\n", db::codepage::toUtf8(e.what()).c_str());
        return 2;
    }
    return 0;
}
