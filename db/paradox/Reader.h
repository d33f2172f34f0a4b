// The file-level reader behind a Table: header, block chain, records and the .MB memo file.
// Internal to db/paradox (and the fuzz target, which feeds it bytes from memory).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/Value.h"
#include "db/paradox/Source.h"
#include "db/paradox/Table.h"

namespace db::paradox {

// Parses and checks the header; encrypted tables pass (the caller decides). Throws Error naming the source.
Header parseHeader(const Source& db);

class Reader {
public:
    // Memo files are opened on first need through `openMemo`, which returns nullptr when there is none.
    using MemoOpener = std::function<std::unique_ptr<Source>()>;

    // Checks the header and walks the block chain once (block headers only), so the record count is known
    // and a damaged chain is refused before any record is handed out. Refuses encrypted tables.
    Reader(std::unique_ptr<Source> db, MemoOpener openMemo, std::string memoName);

    const TableInfo& info() const { return header_.info; }
    const std::vector<Field>& fields() const { return header_.fields; }
    std::int32_t recordCount() const { return recordCount_; }

    void first();
    void next();
    bool eof() const { return eof_; }

    std::optional<std::size_t> fieldIndex(const std::string& name) const;
    // `convertText`: alpha and memo text to Windows-1254; otherwise in the table's own code page.
    Value value(std::size_t index, bool convertText) const;

private:
    struct Chained {
        std::uint32_t block;  // 1-based, as the chain counts
        std::uint32_t records;
    };

    void loadBlock();
    Value blob(std::size_t index, const unsigned char* p) const;
    const Source& memo() const;
    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void failField(std::size_t index, const std::string& what) const;

    std::unique_ptr<Source> db_;
    MemoOpener openMemo_;
    std::string memoName_;
    mutable std::unique_ptr<Source> memo_;
    mutable bool memoTried_ = false;

    Header header_;
    std::vector<std::size_t> offsets_;  // of each field in the record
    std::unordered_map<std::string, std::size_t> byName_;  // folded name -> index
    std::uint32_t recordSize_ = 0, headerSize_ = 0, blockSize_ = 0;
    std::vector<Chained> chain_;  // blocks with records, in chain order
    std::int32_t recordCount_ = 0;

    std::size_t chainPos_ = 0;
    std::uint32_t inBlock_ = 0;
    std::int64_t recordNo_ = 0;  // 1-based position in the table, for messages
    std::vector<unsigned char> block_;
    bool eof_ = true;
};

}  // namespace db::paradox
