#include "ParadoxWriter.h"

#include <iconv.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "db/FileSystem.h"

namespace testsupport {

using db::paradox::FieldType;

namespace {

constexpr std::size_t kMemoBlock = 4096;
constexpr std::size_t kSlots = 64;
constexpr std::size_t kSharedData = 0x150;  // first data byte of a shared block, after header and slot table
constexpr std::size_t kSharedLimit = 2048;  // larger memos get a block of their own

[[noreturn]] void bad(const std::string& what) { throw std::invalid_argument("ParadoxWriter: " + what); }

void put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}
void putBe(unsigned char* p, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) p[n - 1 - i] = static_cast<unsigned char>(v >> (8 * i));
}
void putDouble(unsigned char* p, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    bits = (bits & 0x8000000000000000ULL) ? ~bits : (bits | 0x8000000000000000ULL);
    putBe(p, bits, 8);
}

// Windows-1254 bytes to the table's code page; a character the code page lacks is the test's mistake.
std::string fromCp1254(const std::string& s, int codePage) {
    if (codePage == 1254 || s.empty()) return s;
    // No code page (the short header of versions 3 and 4) is read as the Windows default.
    std::string to = "CP" + std::to_string(codePage == 0 ? 1252 : codePage);
    iconv_t cd = iconv_open(to.c_str(), "CP1254");
    if (cd == reinterpret_cast<iconv_t>(-1)) bad("unknown code page " + std::to_string(codePage));
    std::string out(s.size() * 4, '\0');
    char* in = const_cast<char*>(s.data());
    size_t inLeft = s.size(), outLeft = out.size();
    char* dst = out.data();
    size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) bad("text not representable in code page " + std::to_string(codePage));
    out.resize(out.size() - outLeft);
    return out;
}

double number(const db::Value& v, const std::string& field) {
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    bad("field " + field + " wants a number");
}

std::int64_t integer(const db::Value& v, const std::string& field) {
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (auto* d = std::get_if<double>(&v); d && std::floor(*d) == *d) return static_cast<std::int64_t>(*d);
    bad("field " + field + " wants a whole number");
}

const std::string& text(const db::Value& v, const std::string& field) {
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    bad("field " + field + " wants a string");
}

bool isBlob(FieldType t) {
    return t == FieldType::Memo || t == FieldType::Blob || t == FieldType::FormattedMemo || t == FieldType::Ole ||
           t == FieldType::Graphic;
}

// The .MB being built: block 0 is its header, then shared and single-memo blocks in the order they fill.
class MemoFile {
public:
    MemoFile() : bytes_(kMemoBlock, '\0') {
        bytes_[0] = 0;  // header block
        put16(bytes_, 1, 1);
    }
    bool used() const { return bytes_.size() > kMemoBlock; }
    const std::string& bytes() const { return bytes_; }

    // Stores a memo and returns the record's reference: block offset with the slot in the low byte.
    std::uint32_t add(const std::string& data) {
        if (data.size() <= kSharedLimit) return addShared(data);
        const std::size_t chunks = (9 + data.size() + kMemoBlock - 1) / kMemoBlock;
        const std::size_t at = bytes_.size();
        bytes_.resize(at + chunks * kMemoBlock, '\0');
        bytes_[at] = 2;
        put16(bytes_, at + 1, static_cast<std::uint32_t>(chunks));
        put32(bytes_, at + 3, static_cast<std::uint32_t>(data.size()));
        put16(bytes_, at + 7, 1);
        std::memcpy(bytes_.data() + at + 9, data.data(), data.size());
        return static_cast<std::uint32_t>(at) | 0xFF;
    }

private:
    std::uint32_t addShared(const std::string& data) {
        const std::size_t room = (data.size() + 15) / 16 * 16;
        if (shared_ == 0 || nextSlot_ < 0 || sharedFill_ + room > kMemoBlock) {
            shared_ = bytes_.size();
            bytes_.resize(shared_ + kMemoBlock, '\0');
            bytes_[shared_] = 3;
            put16(bytes_, shared_ + 1, 1);
            sharedFill_ = kSharedData;
            nextSlot_ = kSlots - 1;  // Paradox hands the slots out from the last one down
        }
        const std::size_t slot = static_cast<std::size_t>(nextSlot_--);
        const std::size_t entry = shared_ + 12 + slot * 5;
        bytes_[entry] = static_cast<char>(sharedFill_ / 16);
        bytes_[entry + 1] = static_cast<char>(room / 16);
        put16(bytes_, entry + 2, 1);
        bytes_[entry + 4] = static_cast<char>(data.size() % 16);
        std::memcpy(bytes_.data() + shared_ + sharedFill_, data.data(), data.size());
        sharedFill_ += room;
        return static_cast<std::uint32_t>(shared_) | static_cast<std::uint32_t>(slot);
    }

    std::string bytes_;
    std::size_t shared_ = 0, sharedFill_ = 0;
    int nextSlot_ = -1;
};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("ParadoxWriter: cannot write " + path);
}

}  // namespace

ParadoxWriter& ParadoxWriter::field(std::string name, FieldType type, int size) {
    if (name.empty()) bad("a field needs a name");
    if (fields_.size() == 255) bad("at most 255 fields");
    FieldDef f{std::move(name), type, size, 0};
    switch (type) {
        case FieldType::Alpha:
            if (f.size == 0) f.size = 20;
            if (f.size < 1 || f.size > 255) bad("alpha size 1..255");
            break;
        case FieldType::Bytes:
            if (f.size < 1 || f.size > 255) bad("bytes size 1..255");
            break;
        case FieldType::Memo: case FieldType::Blob: case FieldType::FormattedMemo: case FieldType::Ole:
        case FieldType::Graphic:
            if (f.size == 0) f.size = type == FieldType::Memo ? 20 : 10;
            if (f.size < 10 || f.size > 240) bad("memo size 10..240");
            break;
        case FieldType::Bcd:
            f.precision = size == 0 ? 2 : size;
            if (f.precision < 0 || f.precision > 32) bad("BCD digits 0..32");
            f.size = 17;
            break;
        case FieldType::Short: f.size = 2; break;
        case FieldType::Logical: f.size = 1; break;
        case FieldType::Date: case FieldType::Long: case FieldType::Time: case FieldType::AutoInc: f.size = 4; break;
        case FieldType::Money: case FieldType::Number: case FieldType::Timestamp: f.size = 8; break;
    }
    fields_.push_back(std::move(f));
    return *this;
}

ParadoxWriter& ParadoxWriter::row(std::vector<db::Value> values) {
    if (values.size() > fields_.size()) bad("a row with more values than fields");
    values.resize(fields_.size());
    rows_.push_back(std::move(values));
    return *this;
}

ParadoxWriter& ParadoxWriter::fileVersion(int v) {
    if (v < 3 || v > 12) bad("file version 3..12");
    version_ = v;
    return *this;
}

ParadoxWriter& ParadoxWriter::blockSizeKb(int kb) {
    if (kb < 1 || kb > 32) bad("block size 1..32 KB");
    blockKb_ = kb;
    return *this;
}

ParadoxWriter& ParadoxWriter::recordsPerBlock(int n) {
    perBlock_ = n;
    return *this;
}

ParadoxWriter& ParadoxWriter::indexed(bool on) {
    indexed_ = on;
    return *this;
}

std::string ParadoxWriter::write(const std::string& folder, const std::string& fileName, int codePage) const {
    if (fields_.empty()) bad("a table needs fields");
    const std::size_t nf = fields_.size();
    std::size_t recordSize = 0;
    for (const auto& f : fields_) recordSize += static_cast<std::size_t>(f.size);
    const std::size_t blockSize = static_cast<std::size_t>(blockKb_) * 1024;
    if (recordSize + 6 > blockSize || recordSize > 0xFFFF) bad("records do not fit in a block");
    std::size_t perBlock = (blockSize - 6) / recordSize;
    if (perBlock_ > 0 && static_cast<std::size_t>(perBlock_) < perBlock) perBlock = static_cast<std::size_t>(perBlock_);
    const int cp = version_ <= 4 ? 0 : codePage;  // the short header has no code page; read as the default

    // Records, with the memos that do not fit their leader going to the .MB.
    MemoFile mb;
    std::vector<std::string> records;
    std::int64_t autoInc = 0;
    for (const auto& values : rows_) {
        std::string rec(recordSize, '\0');
        auto* base = reinterpret_cast<unsigned char*>(rec.data());
        std::size_t off = 0;
        for (std::size_t i = 0; i < nf; ++i) {
            const FieldDef& f = fields_[i];
            const db::Value& v = values[i];
            unsigned char* p = base + off;
            off += static_cast<std::size_t>(f.size);
            if (f.type == FieldType::AutoInc) {
                std::int64_t n = db::isNull(v) ? autoInc + 1 : integer(v, f.name);
                autoInc = std::max(autoInc, n);
                putBe(p, static_cast<std::uint32_t>(n) ^ 0x80000000u, 4);
                continue;
            }
            if (db::isNull(v)) continue;
            switch (f.type) {
                case FieldType::Alpha: {
                    std::string s = fromCp1254(text(v, f.name), cp);
                    if (s.size() > static_cast<std::size_t>(f.size)) bad("text longer than field " + f.name);
                    std::memcpy(p, s.data(), s.size());
                    break;
                }
                case FieldType::Bytes: {
                    const std::string& s = text(v, f.name);
                    if (s.size() > static_cast<std::size_t>(f.size)) bad("bytes longer than field " + f.name);
                    std::memcpy(p, s.data(), s.size());
                    break;
                }
                case FieldType::Memo: case FieldType::Blob: case FieldType::FormattedMemo: case FieldType::Ole:
                case FieldType::Graphic: {
                    std::string s = f.type == FieldType::Memo ? fromCp1254(text(v, f.name), cp) : text(v, f.name);
                    if (s.empty()) break;
                    const std::size_t leader = static_cast<std::size_t>(f.size) - 10;
                    std::memcpy(p, s.data(), std::min(leader, s.size()));
                    std::uint32_t where = s.size() > leader ? mb.add(s) : 0;
                    std::string ref(10, '\0');
                    put32(ref, 0, where);
                    put32(ref, 4, static_cast<std::uint32_t>(s.size()));
                    put16(ref, 8, where ? 1 : 0);
                    std::memcpy(p + leader, ref.data(), 10);
                    break;
                }
                case FieldType::Short:
                    putBe(p, static_cast<std::uint16_t>(integer(v, f.name)) ^ 0x8000u, 2);
                    break;
                case FieldType::Long:
                    putBe(p, static_cast<std::uint32_t>(integer(v, f.name)) ^ 0x80000000u, 4);
                    break;
                case FieldType::Money: case FieldType::Number:
                    putDouble(p, number(v, f.name));
                    break;
                case FieldType::Logical: {
                    bool on;
                    if (auto* s = std::get_if<std::string>(&v)) on = *s == "T";
                    else on = number(v, f.name) != 0;
                    p[0] = on ? 0x81 : 0x80;
                    break;
                }
                case FieldType::Date: {
                    auto* d = std::get_if<db::Date>(&v);
                    if (!d) bad("field " + f.name + " wants a db::Date");
                    putBe(p, static_cast<std::uint32_t>(db::toDayNumber(*d)) ^ 0x80000000u, 4);
                    break;
                }
                case FieldType::Time: {
                    auto* t = std::get_if<db::Time>(&v);
                    if (!t) bad("field " + f.name + " wants a db::Time");
                    std::uint32_t ms = static_cast<std::uint32_t>(((t->hour * 60 + t->minute) * 60 + t->second) * 1000 +
                                                                  t->fraction / 10);
                    putBe(p, ms ^ 0x80000000u, 4);
                    break;
                }
                case FieldType::Timestamp: {
                    auto* ts = std::get_if<db::Timestamp>(&v);
                    if (!ts) bad("field " + f.name + " wants a db::Timestamp");
                    double ms = static_cast<double>(db::toDayNumber(ts->date)) * 86400000.0 +
                                ((ts->time.hour * 60 + ts->time.minute) * 60 + ts->time.second) * 1000.0 +
                                ts->time.fraction / 10.0;
                    putDouble(p, ms);
                    break;
                }
                case FieldType::Bcd: {
                    double d = number(v, f.name);
                    long double scaled = std::floor(std::fabs(static_cast<long double>(d)) *
                                                        std::pow(10.0L, f.precision) + 0.5L);
                    unsigned char b[17] = {};
                    b[0] = static_cast<unsigned char>(0x80 | f.precision);
                    for (int k = 31; k >= 0; --k) {  // 32 digits, least significant last
                        int digit = static_cast<int>(std::fmod(scaled, 10.0L));
                        scaled = std::floor(scaled / 10.0L);
                        b[1 + k / 2] |= static_cast<unsigned char>(k % 2 ? digit : digit << 4);
                    }
                    if (d < 0)
                        for (auto& c : b) c = static_cast<unsigned char>(~c);
                    std::memcpy(p, b, 17);
                    break;
                }
                case FieldType::AutoInc:
                    break;
            }
        }
        records.push_back(std::move(rec));
    }

    const std::size_t blocks = (records.size() + perBlock - 1) / perBlock;
    if (blocks > 0xFFFF) bad("too many blocks");

    // Header: fixed part, field info, pointer areas, table name, field names, field numbers, sort order.
    const bool shortHeader = version_ <= 4;
    const std::size_t infoStart = shortHeader ? 0x58 : 0x78;
    const std::size_t nameArea = version_ >= 12 ? 261 : 79;
    std::string names;
    for (const auto& f : fields_) names += fromCp1254(f.name, cp) + '\0';
    std::size_t needed = infoStart + 2 * nf + 4 + 4 * nf + nameArea + names.size() + 2 * nf + 6;
    const std::size_t headerSize = (needed + 0x7FF) / 0x800 * 0x800;
    std::string hdr(headerSize, '\0');
    put16(hdr, 0x00, static_cast<std::uint32_t>(recordSize));
    put16(hdr, 0x02, static_cast<std::uint32_t>(headerSize));
    hdr[0x04] = indexed_ ? 0 : 2;
    hdr[0x05] = static_cast<char>(blockKb_);
    put32(hdr, 0x06, static_cast<std::uint32_t>(records.size()));
    put16(hdr, 0x0A, static_cast<std::uint32_t>(blocks));
    put16(hdr, 0x0C, static_cast<std::uint32_t>(blocks));
    put16(hdr, 0x0E, blocks ? 1 : 0);
    put16(hdr, 0x10, static_cast<std::uint32_t>(blocks));
    put16(hdr, 0x21, static_cast<std::uint32_t>(nf));
    put32(hdr, 0x25, shortHeader ? 0 : 0xFF00FF00u);
    hdr[0x39] = static_cast<char>(version_);
    put16(hdr, 0x3A, static_cast<std::uint32_t>(blocks));
    hdr[0x3E] = 0x1F;
    hdr[0x3F] = 0x0F;
    put32(hdr, 0x49, static_cast<std::uint32_t>(autoInc));
    hdr[0x56] = 0x20;
    if (!shortHeader) {
        put16(hdr, 0x58, 0x0100u | static_cast<std::uint32_t>(version_));
        put16(hdr, 0x5A, 0x0100u | static_cast<std::uint32_t>(version_));
        put16(hdr, 0x64, static_cast<std::uint32_t>(nf + 1));
        put16(hdr, 0x68, static_cast<std::uint32_t>(nf));
        put16(hdr, 0x6A, static_cast<std::uint32_t>(codePage));
        hdr[0x6C] = 1;
        hdr[0x6D] = 1;
    }
    std::size_t p = infoStart;
    for (const auto& f : fields_) {
        hdr[p++] = static_cast<char>(f.type);
        hdr[p++] = static_cast<char>(f.type == FieldType::Bcd ? f.precision : f.size);
    }
    p += 4 + 4 * nf;
    std::string table = fileName.substr(0, nameArea - 1);
    std::memcpy(hdr.data() + p, table.data(), table.size());
    p += nameArea;
    std::memcpy(hdr.data() + p, names.data(), names.size());
    p += names.size();
    for (std::size_t i = 0; i < nf; ++i, p += 2) put16(hdr, p, static_cast<std::uint32_t>(i + 1));
    std::memcpy(hdr.data() + p, "ascii", 5);

    std::string file = hdr;
    for (std::size_t b = 0; b < blocks; ++b) {
        std::string block(blockSize, '\0');
        const std::size_t first = b * perBlock;
        const std::size_t count = std::min(perBlock, records.size() - first);
        put16(block, 0, b + 1 < blocks ? static_cast<std::uint32_t>(b + 2) : 0);
        put16(block, 2, static_cast<std::uint32_t>(b));
        put16(block, 4, static_cast<std::uint32_t>((count - 1) * recordSize));
        for (std::size_t r = 0; r < count; ++r)
            std::memcpy(block.data() + 6 + r * recordSize, records[first + r].data(), recordSize);
        file += block;
    }

    const std::string path = db::fsys::join(folder, fileName);
    writeFile(path, file);
    bool hasBlob = false;
    for (const auto& f : fields_) hasBlob = hasBlob || isBlob(f.type);
    if (hasBlob) {
        std::size_t dot = fileName.find_last_of('.');
        std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
        writeFile(db::fsys::join(folder, stem + ".MB"), mb.bytes());
    }
    return path;
}

}  // namespace testsupport
