// Writes small Paradox tables (.DB with a .MB memo file) for tests, in the layout real Paradox 7 files have:
// file version 12, the 0x78 field-info header with the code page at 0x6A, 261-byte table-name area, data
// blocks chained 1..n, memos longer than their leader kept in the .MB (a block of their own when large,
// shared sub-allocated blocks when small). The reader in db/paradox reads its output back.
//
//   using db::paradox::FieldType;
//   testsupport::ParadoxWriter w;
//   w.field("SIRKET_KOD", FieldType::Alpha, 8)
//    .field("KISA_AD", FieldType::Alpha, 20)
//    .field("ADRES", FieldType::Memo, 100)      // 100 bytes in the record: a 90-byte leader + 10
//    .field("NUMBER1", FieldType::Number)
//    .field("LOJIK1", FieldType::Logical)
//    .field("TARIH", FieldType::Date);
//   w.row({std::string("001"), std::string("Deneme A.\xDE."), std::string("Adres\r\nsatir 2"), 2004.0,
//          std::int64_t{1}, db::Date{2004, 1, 31}});
//   w.row({std::string("002")});                // missing values are NULL
//   w.write(dir.path(), "sirket.DB", 1254);     // or 857: text is converted from Windows-1254 to DOS Turkish
//
// Values by field type (db::Value; std::monostate is NULL, i.e. an empty field):
//   Alpha, Memo        std::string of Windows-1254 bytes ("" is NULL); converted to the table's code page
//   Short, Long        std::int64_t (or a whole double)
//   Number, Money, Bcd double (or std::int64_t)
//   Logical            std::int64_t 1 / 0 (or a double, nonzero is true); also the strings "T" / "F"
//   AutoInc            std::int64_t; NULL gives the next number (1, 2, ...) as Paradox assigns them
//   Date / Time / Timestamp  db::Date / db::Time / db::Timestamp
//   Blob, FormattedMemo, Ole, Graphic, Bytes  std::string of raw bytes (Bytes: at most its size)
// A value of the wrong kind, a text longer than its alpha field or a row with more values than fields throws
// std::invalid_argument, so a test never builds a table it did not mean.
//
// Sizes: Alpha 1..255 (default 20); Memo and the other blob types are the bytes in the record, leader plus 10
// (10..240, default 20 for memo, 10 for the binary kinds); Bcd takes the digits after the point (default 2);
// Bytes 1..255; the other types have their fixed size and ignore the argument.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/Value.h"
#include "db/paradox/Table.h"

namespace testsupport {

class ParadoxWriter {
public:
    ParadoxWriter& field(std::string name, db::paradox::FieldType type, int size = 0);
    ParadoxWriter& row(std::vector<db::Value> values);

    // Options, all with the values real Paradox 7 tables have.
    ParadoxWriter& fileVersion(int v);       // 3..12 (default 12); 3 and 4 have the short header without code page
    ParadoxWriter& blockSizeKb(int kb);      // 1..32 (default 2)
    ParadoxWriter& recordsPerBlock(int n);   // fewer records per block than fit, to spread a table over blocks
    ParadoxWriter& indexed(bool on);         // file type 0 (keyed) instead of 2; no .PX is written

    std::size_t rowCount() const { return rows_.size(); }

    // Writes folder/fileName and, when a field keeps data there, the .MB beside it (same name, extension
    // ".MB"). Replaces existing files. Returns the path of the .DB.
    std::string write(const std::string& folder, const std::string& fileName, int codePage = 1254) const;

private:
    struct FieldDef {
        std::string name;
        db::paradox::FieldType type;
        int size;       // bytes in the record
        int precision;  // Bcd
    };
    std::vector<FieldDef> fields_;
    std::vector<std::vector<db::Value>> rows_;
    int version_ = 12;
    int blockKb_ = 2;
    int perBlock_ = 0;
    bool indexed_ = false;
};

}  // namespace testsupport
