#include "db/paradox/Reader.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "db/Codepage.h"

namespace db::paradox {

namespace {

// Header offsets (little-endian, unlike the record data).
constexpr std::size_t kRecordSize = 0x00, kHeaderSize = 0x02, kFileType = 0x04, kMaxTableSize = 0x05,
                      kNumRecords = 0x06, kFirstBlock = 0x0E, kNumFields = 0x21, kEncryption1 = 0x25,
                      kFileVersion = 0x39, kEncryption2 = 0x5C, kCodePage = 0x6A;
constexpr std::size_t kFieldInfoV3 = 0x58, kFieldInfoV4 = 0x78;
constexpr std::size_t kBlockHeader = 6;
constexpr std::uint32_t kMemoBlock = 4096;
constexpr std::int64_t kLastDay = 3652059;  // 9999-12-31 on the scale where 0001-01-01 is day 1
constexpr double kMsPerDay = 86400000.0;

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t be(const unsigned char* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}
bool allZero(const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != 0) return false;
    return true;
}

// Record numbers keep their order as unsigned bytes: positive values have the top bit set, negative ones
// are stored with every bit inverted.
double decodeDouble(const unsigned char* p) {
    std::uint64_t bits = be(p, 8);
    if (bits & 0x8000000000000000ULL) bits &= ~0x8000000000000000ULL;
    else bits = ~bits;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::string fold(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string str(std::int64_t v) { return std::to_string(v); }

// Size in the record that each fixed-size type must have (0: variable).
int fixedSize(FieldType t) {
    switch (t) {
        case FieldType::Date: return 4;
        case FieldType::Short: return 2;
        case FieldType::Long: return 4;
        case FieldType::Money: return 8;
        case FieldType::Number: return 8;
        case FieldType::Logical: return 1;
        case FieldType::Time: return 4;
        case FieldType::Timestamp: return 8;
        case FieldType::AutoInc: return 4;
        case FieldType::Bcd: return 17;
        default: return 0;
    }
}

bool knownType(unsigned char t) {
    switch (t) {
        case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: case 0x09: case 0x0C: case 0x0D:
        case 0x0E: case 0x0F: case 0x10: case 0x14: case 0x15: case 0x16: case 0x17: case 0x18:
            return true;
        default:
            return false;
    }
}

bool isBlob(FieldType t) {
    return t == FieldType::Memo || t == FieldType::Blob || t == FieldType::FormattedMemo || t == FieldType::Ole ||
           t == FieldType::Graphic;
}

// Field names follow the table name, whose area is 79 bytes before Paradox 7 and 261 bytes from it on.
// Returns false when `nameArea` does not lead to `count` non-empty names inside the header.
bool parseNames(const std::string& hdr, std::size_t start, std::size_t count, std::vector<std::string>& names) {
    names.clear();
    std::size_t p = start;
    for (std::size_t i = 0; i < count; ++i) {
        if (p >= hdr.size()) return false;
        std::size_t end = hdr.find('\0', p);
        if (end == std::string::npos || end == p) return false;
        names.push_back(hdr.substr(p, end - p));
        p = end + 1;
    }
    return true;
}

}  // namespace

const char* typeLetter(FieldType type) {
    switch (type) {
        case FieldType::Alpha: return "A";
        case FieldType::Date: return "D";
        case FieldType::Short: return "S";
        case FieldType::Long: return "I";
        case FieldType::Money: return "$";
        case FieldType::Number: return "N";
        case FieldType::Logical: return "L";
        case FieldType::Memo: return "M";
        case FieldType::Blob: return "B";
        case FieldType::FormattedMemo: return "F";
        case FieldType::Ole: return "O";
        case FieldType::Graphic: return "G";
        case FieldType::Time: return "T";
        case FieldType::Timestamp: return "@";
        case FieldType::AutoInc: return "+";
        case FieldType::Bcd: return "#";
        case FieldType::Bytes: return "Y";
    }
    return "?";
}

bool isBinary(FieldType type) {
    return type == FieldType::FormattedMemo || type == FieldType::Blob || type == FieldType::Ole ||
           type == FieldType::Graphic || type == FieldType::Bytes;
}

Header parseHeader(const Source& db) {
    const std::string& name = db.name();
    auto fail = [&](const std::string& what) -> void { throw Error(name + ": " + what); };

    unsigned char fixed[kFieldInfoV4] = {};
    if (db.size() < kFieldInfoV3 || !db.read(0, fixed, std::min<std::uint64_t>(db.size(), sizeof fixed)))
        fail("too short to be a Paradox table (truncated)");
    const int version = fixed[kFileVersion];
    if (version < 3 || version > 12) fail("not a Paradox 3.x to 7 table (file version " + str(version) + ")");
    const int fileType = fixed[kFileType];
    if (fileType != 0 && fileType != 2) fail("not a Paradox data table (file type " + str(fileType) + ")");
    const std::size_t infoStart = version <= 4 ? kFieldInfoV3 : kFieldInfoV4;
    if (db.size() < infoStart) fail("header cut short (truncated)");

    const std::uint32_t recordSize = le16(fixed + kRecordSize);
    const std::uint32_t headerSize = le16(fixed + kHeaderSize);
    const int maxTableSize = fixed[kMaxTableSize];
    const int numFields = static_cast<std::int16_t>(le16(fixed + kNumFields));
    if (maxTableSize < 1 || maxTableSize > 32) fail("damaged header (block size code " + str(maxTableSize) + ")");
    if (numFields < 1 || numFields > 255) fail("damaged header (" + str(numFields) + " fields)");
    const std::size_t nf = static_cast<std::size_t>(numFields);
    if (headerSize < infoStart + 2 * nf) fail("damaged header (header size " + str(headerSize) + ")");
    if (headerSize > db.size()) fail("header cut short (truncated)");

    std::string hdr(headerSize, '\0');
    if (!db.read(0, hdr.data(), hdr.size())) fail("header cannot be read (truncated)");
    const auto* h = reinterpret_cast<const unsigned char*>(hdr.data());

    Header out;
    out.info.fileVersion = version;
    out.info.codePage = version <= 4 ? 0 : le16(h + kCodePage);
    out.info.recordCount = static_cast<std::int32_t>(le32(h + kNumRecords));
    out.info.indexed = fileType == 0;
    out.info.encrypted = version <= 4 ? le32(h + kEncryption1) != 0 : le32(h + kEncryption2) != 0;

    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < nf; ++i) {
        unsigned char t = h[infoStart + 2 * i], sz = h[infoStart + 2 * i + 1];
        if (!knownType(t)) fail("damaged header (field " + str(i + 1) + " has unknown type " + str(t) + ")");
        Field f;
        f.type = static_cast<FieldType>(t);
        f.size = sz;
        if (f.type == FieldType::Bcd) {
            if (sz > 32) fail("damaged header (field " + str(i + 1) + ": BCD with " + str(sz) + " decimals)");
            f.precision = sz;
            f.size = 17;
        } else if (int want = fixedSize(f.type); want != 0 && sz != want) {
            fail("damaged header (field " + str(i + 1) + " of type " + typeLetter(f.type) + " has size " + str(sz) + ")");
        } else if (isBlob(f.type) && sz < 10) {
            fail("damaged header (memo field " + str(i + 1) + " of size " + str(sz) + ")");
        } else if (sz == 0) {
            fail("damaged header (field " + str(i + 1) + " of size 0)");
        }
        sum += static_cast<std::uint32_t>(f.size);
        out.fields.push_back(f);
    }
    if (sum != recordSize)
        fail("damaged header (record size " + str(recordSize) + " does not match its fields, " + str(sum) + ")");
    if (recordSize + kBlockHeader > static_cast<std::uint32_t>(maxTableSize) * 1024)
        fail("damaged header (record size " + str(recordSize) + " larger than a block)");

    // Field info, the table name pointer, one name pointer per field, the table name, then the names.
    const std::size_t pointers = infoStart + 2 * nf + 4 + 4 * nf;
    const std::size_t areas[2] = {version >= 12 ? 261u : 79u, version >= 12 ? 79u : 261u};
    std::vector<std::string> names;
    if (!parseNames(hdr, pointers + areas[0], nf, names) && !parseNames(hdr, pointers + areas[1], nf, names))
        fail("damaged header (field names)");
    for (std::size_t i = 0; i < nf; ++i) out.fields[i].name = codepage::toCp1254(names[i], out.info.codePage);
    return out;
}

Reader::Reader(std::unique_ptr<Source> db, MemoOpener openMemo, std::string memoName)
    : db_(std::move(db)), openMemo_(std::move(openMemo)), memoName_(std::move(memoName)) {
    header_ = parseHeader(*db_);
    if (header_.info.encrypted)
        fail("the table is password-protected (encrypted); remove the password with Paradox before reading it");

    unsigned char fixed[kFieldInfoV3];
    if (!db_->read(0, fixed, sizeof fixed)) fail("header cannot be read (truncated)");
    recordSize_ = le16(fixed + kRecordSize);
    headerSize_ = le16(fixed + kHeaderSize);
    blockSize_ = static_cast<std::uint32_t>(fixed[kMaxTableSize]) * 1024;

    std::size_t offset = 0;
    for (std::size_t i = 0; i < header_.fields.size(); ++i) {
        offsets_.push_back(offset);
        offset += static_cast<std::size_t>(header_.fields[i].size);
        byName_.emplace(fold(header_.fields[i].name), i);
    }

    // Walk the chain once: a loop, a block outside the file or a block claiming more records than it can
    // hold is damage, and is refused here rather than half-way through a transfer.
    const std::uint64_t dataBytes = db_->size() - headerSize_;
    const std::uint64_t blocksInFile = (dataBytes + blockSize_ - 1) / blockSize_;
    std::vector<bool> seen(static_cast<std::size_t>(std::min<std::uint64_t>(blocksInFile, 65536)) + 1, false);
    std::uint32_t block = le16(fixed + kFirstBlock);
    std::int64_t total = 0;
    while (block != 0) {
        if (block > blocksInFile)
            fail("block chain points to block " + str(block) + " but the file holds " + str(static_cast<std::int64_t>(blocksInFile)) +
                 " (truncated or damaged)");
        if (seen[block]) fail("damaged block chain (it loops at block " + str(block) + ")");
        seen[block] = true;
        const std::uint64_t start = headerSize_ + static_cast<std::uint64_t>(block - 1) * blockSize_;
        unsigned char bh[kBlockHeader];
        if (!db_->read(start, bh, sizeof bh)) fail("block " + str(block) + " cut short (truncated)");
        const std::uint32_t next = le16(bh);
        const std::int16_t lastOffset = static_cast<std::int16_t>(le16(bh + 4));
        if (lastOffset >= 0) {
            if (static_cast<std::uint32_t>(lastOffset) % recordSize_ != 0)
                fail("damaged block " + str(block) + " (record area " + str(lastOffset) + ")");
            const std::uint32_t records = static_cast<std::uint32_t>(lastOffset) / recordSize_ + 1;
            const std::uint64_t bytes = static_cast<std::uint64_t>(records) * recordSize_;
            if (kBlockHeader + bytes > blockSize_)
                fail("damaged block " + str(block) + " (" + str(records) + " records do not fit in it)");
            if (!db_->contains(start + kBlockHeader, bytes)) fail("block " + str(block) + " cut short (truncated)");
            total += records;
            if (total > std::numeric_limits<std::int32_t>::max()) fail("damaged block chain (too many records)");
            chain_.push_back({block, records});
        }
        block = next;
    }
    recordCount_ = static_cast<std::int32_t>(total);
    first();
}

void Reader::fail(const std::string& what) const { throw Error(db_->name() + ": " + what); }

void Reader::failField(std::size_t index, const std::string& what) const {
    throw Error(db_->name() + ": record " + str(recordNo_) + ", field " + header_.fields[index].name + ": " + what);
}

void Reader::first() {
    chainPos_ = 0;
    inBlock_ = 0;
    recordNo_ = 1;
    eof_ = chain_.empty();
    if (!eof_) loadBlock();
}

void Reader::next() {
    if (eof_) return;
    ++recordNo_;
    if (++inBlock_ < chain_[chainPos_].records) return;
    inBlock_ = 0;
    if (++chainPos_ >= chain_.size()) {
        eof_ = true;
        block_.clear();
        return;
    }
    loadBlock();
}

void Reader::loadBlock() {
    const Chained& c = chain_[chainPos_];
    const std::uint64_t start = headerSize_ + static_cast<std::uint64_t>(c.block - 1) * blockSize_ + kBlockHeader;
    block_.resize(static_cast<std::size_t>(c.records) * recordSize_);
    if (!db_->read(start, block_.data(), block_.size())) {
        eof_ = true;
        fail("block " + str(c.block) + " cannot be read (the file was cut short while open)");
    }
}

std::optional<std::size_t> Reader::fieldIndex(const std::string& name) const {
    auto it = byName_.find(fold(name));
    if (it == byName_.end()) return std::nullopt;
    return it->second;
}

const Source& Reader::memo() const {
    if (!memoTried_) {
        memoTried_ = true;
        if (openMemo_) memo_ = openMemo_();
    }
    if (!memo_) throw Error(memoName_ + ": memo file not found; record " + str(recordNo_) + " of " + db_->name() +
                            " keeps its memo there");
    return *memo_;
}

Value Reader::blob(std::size_t index, const unsigned char* p) const {
    const Field& f = header_.fields[index];
    const std::size_t leader = static_cast<std::size_t>(f.size) - 10;
    const unsigned char* ptr = p + leader;
    const std::uint32_t where = le32(ptr);
    const std::uint32_t length = le32(ptr + 4);
    if (length == 0) return kNull;

    std::string data;
    if (where == 0 || length <= leader) {
        // Short enough to live in the record's leader, which holds the memo's first bytes whether or not the
        // .MB keeps a copy.
        if (length > leader)
            failField(index, "memo of " + str(length) + " bytes has no place in the .MB file and its leader holds " +
                                 str(static_cast<std::int64_t>(leader)));
        data.assign(reinterpret_cast<const char*>(p), length);
    } else {
        const Source& mb = memo();
        auto mbFail = [&](const std::string& what) -> void {
            throw Error(mb.name() + ": " + what + " (record " + str(recordNo_) + ", field " + f.name + " of " +
                        db_->name() + ")");
        };
        const std::uint32_t slot = where & 0xFF;
        const std::uint64_t base = where & 0xFFFFFF00u;
        if (base % kMemoBlock != 0) mbFail("memo reference points inside a block (damaged)");
        unsigned char bh[12];
        if (!mb.read(base, bh, sizeof bh)) mbFail("memo file cut short (truncated)");
        if (length > mb.size()) mbFail("memo of " + str(length) + " bytes is longer than the memo file (truncated)");
        std::uint64_t at = 0;
        if (slot == 0xFF) {
            // A block of its own: type 2, its length in 4 KB chunks, the memo's length, then the memo.
            if (bh[0] != 2) mbFail("memo block of type " + str(bh[0]) + " where a single memo was expected (damaged)");
            const std::uint32_t stored = le32(bh + 3);
            if (stored != length) mbFail("memo length " + str(stored) + " does not match the table's " + str(length) + " (damaged)");
            const std::uint64_t room = static_cast<std::uint64_t>(le16(bh + 1)) * kMemoBlock;
            if (9 + static_cast<std::uint64_t>(length) > room) mbFail("memo longer than its block (damaged)");
            at = base + 9;
        } else {
            // A block shared by small memos: type 3, then 64 slots of five bytes (offset / 16, length / 16
            // rounded up, modification number, length % 16).
            if (bh[0] != 3) mbFail("memo block of type " + str(bh[0]) + " where shared memos were expected (damaged)");
            if (slot >= 64) mbFail("memo slot " + str(slot) + " out of range (damaged)");
            unsigned char e[5];
            if (!mb.read(base + 12 + slot * 5, e, sizeof e)) mbFail("memo file cut short (truncated)");
            const std::uint32_t start = static_cast<std::uint32_t>(e[0]) * 16, units = e[1];
            if (units == 0) mbFail("memo slot " + str(slot) + " is free (damaged)");
            if (length > units * 16 || length <= (units - 1) * 16 || (length % 16) != (e[4] % 16u))
                mbFail("memo length " + str(length) + " does not match its slot (damaged)");
            if (start < 12 + 64 * 5 || start + length > kMemoBlock) mbFail("memo slot outside its block (damaged)");
            at = base + start;
        }
        data.resize(length);
        if (!mb.read(at, data.data(), length)) mbFail("memo file cut short (truncated)");
    }
    return data;
}

Value Reader::value(std::size_t index, bool convertText) const {
    if (eof_) fail("no current record");
    if (index >= header_.fields.size()) fail("no field number " + str(static_cast<std::int64_t>(index)));
    const Field& f = header_.fields[index];
    const unsigned char* p = block_.data() + static_cast<std::size_t>(inBlock_) * recordSize_ + offsets_[index];
    const std::size_t size = static_cast<std::size_t>(f.size);
    const int cp = header_.info.codePage;

    switch (f.type) {
        case FieldType::Alpha: {
            std::size_t n = 0;
            while (n < size && p[n] != 0) ++n;
            if (n == 0) return kNull;
            std::string s(reinterpret_cast<const char*>(p), n);
            return convertText ? codepage::toCp1254(s, cp) : s;
        }
        case FieldType::Memo:
        case FieldType::Blob:
        case FieldType::FormattedMemo:
        case FieldType::Ole:
        case FieldType::Graphic: {
            Value v = blob(index, p);
            if (f.type == FieldType::Memo && convertText)
                if (auto* s = std::get_if<std::string>(&v)) return codepage::toCp1254(*s, cp);
            return v;
        }
        case FieldType::Bytes:
            if (allZero(p, size)) return kNull;
            return std::string(reinterpret_cast<const char*>(p), size);
        default:
            break;
    }

    if (allZero(p, size)) return kNull;
    switch (f.type) {
        case FieldType::Short:
            return static_cast<std::int64_t>(static_cast<std::int16_t>(be(p, 2) ^ 0x8000));
        case FieldType::Long:
        case FieldType::AutoInc:
            return static_cast<std::int64_t>(static_cast<std::int32_t>(be(p, 4) ^ 0x80000000u));
        case FieldType::Money:
        case FieldType::Number: {
            double d = decodeDouble(p);
            if (!std::isfinite(d)) failField(index, "number is not a finite value");
            return d;
        }
        case FieldType::Logical:
            if (p[0] == 0x80) return std::int64_t{0};
            if (p[0] == 0x81) return std::int64_t{1};
            failField(index, "logical value out of range (" + str(p[0]) + ")");
        case FieldType::Date: {
            std::int64_t day = static_cast<std::int32_t>(be(p, 4) ^ 0x80000000u);
            if (day < 1 || day > kLastDay) failField(index, "date out of range (day " + str(day) + ")");
            return fromDayNumber(day);
        }
        case FieldType::Time: {
            std::int64_t ms = static_cast<std::int32_t>(be(p, 4) ^ 0x80000000u);
            if (ms < 0 || ms >= 86400000) failField(index, "time out of range (" + str(ms) + " ms)");
            return Time{static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                        static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000) * 10};
        }
        case FieldType::Timestamp: {
            // Milliseconds on the date scale's own days: day 1 is 0001-01-01.
            double ms = decodeDouble(p);
            if (!std::isfinite(ms) || ms < kMsPerDay || ms >= (kLastDay + 1) * kMsPerDay)
                failField(index, "timestamp out of range");
            std::int64_t day = static_cast<std::int64_t>(std::floor(ms / kMsPerDay));
            std::int64_t tenths = std::llround((ms - static_cast<double>(day) * kMsPerDay) * 10.0);
            if (tenths >= 864000000) {
                tenths -= 864000000;
                ++day;
            }
            if (tenths < 0) tenths = 0;
            if (day > kLastDay) failField(index, "timestamp out of range");
            const std::int64_t secs = tenths / 10000;
            return Timestamp{fromDayNumber(day),
                             Time{static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                                  static_cast<int>(secs % 60), static_cast<int>(tenths % 10000)}};
        }
        case FieldType::Bcd: {
            // Sign in the first byte's top bit (set: positive; a negative value has every bit inverted), then
            // 32 decimal digits, one a nibble, the last `precision` of them after the point.
            std::array<unsigned char, 17> b;
            std::memcpy(b.data(), p, b.size());
            const bool positive = b[0] & 0x80;
            if (!positive)
                for (auto& c : b) c = static_cast<unsigned char>(~c);
            long double mantissa = 0;
            for (std::size_t i = 1; i < b.size(); ++i) {
                const int hi = b[i] >> 4, lo = b[i] & 0x0F;
                if (hi > 9 || lo > 9) failField(index, "BCD digits out of range");
                mantissa = mantissa * 100 + hi * 10 + lo;
            }
            long double v = mantissa / std::pow(10.0L, f.precision);
            return static_cast<double>(positive ? v : -v);
        }
        default:
            break;
    }
    failField(index, "unsupported field type");
}

}  // namespace db::paradox
