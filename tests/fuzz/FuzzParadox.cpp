#include "FuzzParadox.h"

#include <string>

#include "db/paradox/Dump.h"
#include "db/paradox/Reader.h"

using namespace db::paradox;

namespace {

// Reads everything the reader offers, the way the transfers and paradox-dump do. Errors are the expected
// answer to most inputs; anything else (a crash, a sanitizer report, a hang) is a finding.
void readAll(Reader& r) {
    const std::size_t fields = r.fields().size();
    std::int32_t seen = 0;
    for (r.first(); !r.eof(); r.next()) {
        ++seen;
        for (std::size_t i = 0; i < fields; ++i) {
            try {
                db::Value a = r.value(i, true);
                db::Value b = r.value(i, false);
                (void)db::asString(a);
                (void)db::asFloat(b);
            } catch (const Error&) {
                // a damaged value: the next field may still read
            }
        }
    }
    if (seen != r.recordCount()) __builtin_trap();  // the count promised must be the count delivered
}

}  // namespace

int fuzzParadoxOne(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::size_t dbLen = static_cast<std::size_t>(data[0]) | (static_cast<std::size_t>(data[1]) << 8) |
                        (static_cast<std::size_t>(data[2]) << 16) | (static_cast<std::size_t>(data[3]) << 24);
    const std::size_t rest = size - 4;
    if (dbLen > rest) dbLen = rest;
    std::string db(reinterpret_cast<const char*>(data) + 4, dbLen);
    std::string mb(reinterpret_cast<const char*>(data) + 4 + dbLen, rest - dbLen);
    const bool hasMemo = !mb.empty();

    try {
        (void)dump::headerLine(parseHeader(*memorySource(db, "fuzz.DB")));
    } catch (const Error&) {
    }
    try {
        Reader r(
            memorySource(std::move(db), "fuzz.DB"),
            [&mb, hasMemo]() -> std::unique_ptr<Source> {
                if (!hasMemo) return nullptr;
                return memorySource(mb, "fuzz.MB");
            },
            "fuzz.MB");
        readAll(r);
        readAll(r);  // a second pass from first() gives the same
    } catch (const Error&) {
    }
    return 0;
}

#ifdef PARADOX_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { return fuzzParadoxOne(data, size); }
#endif
