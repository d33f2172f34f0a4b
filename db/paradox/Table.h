// Reading Paradox tables (.DB with their .MB memo files), file versions 3 to 12 (Paradox 3.x to 7).
// The table-access layer the Paradox transfers read through: open a table given a folder and a file name,
// first/next/end, fields by name, record count. Files are only ever opened for reading.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/Value.h"

namespace db::paradox {

// A table that cannot be read: the message is Turkish-free plain text naming the file and what is wrong.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Money = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct Field {
    std::string name;  // as stored in the header, converted to Windows-1254
    FieldType type;
    int size = 0;  // bytes in the record
    int precision = 0;  // BCD: digits after the decimal point, as the header gives them (size is then 17)
};

// True for the field types read as binary (formatted memo, blob, OLE, graphic, bytes).
bool isBinary(FieldType type);

struct TableInfo {
    int fileVersion = 0;     // 3 .. 12 as the header stores it
    int codePage = 0;        // DOS/Windows code page of the table's text (0 when the header has none)
    std::int32_t recordCount = 0;  // as the header claims
    bool indexed = false;
    bool encrypted = false;
};

// What the header of a table says, read without refusing an encrypted table (tools show what it is).
struct Header {
    TableInfo info;
    std::vector<Field> fields;
};

// Reads only the header of the .DB at `pathUtf8` (found without regard to case). Throws Error naming the file
// when it is missing, not a Paradox table or damaged.
Header readHeader(const std::string& pathUtf8);

// The type letter Paradox tools show for a field type ("A", "D", "N", "$", "+", ...).
const char* typeLetter(FieldType type);

class Reader;  // the file-level reader behind a Table

class Table {
public:
    // `fileName` as the old program named it ("Cari.DB"); the file itself is found without regard to case.
    Table(std::string name, std::string fileName, int tag);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const std::string& name() const { return name_; }
    int tag() const { return tag_; }
    const std::string& fileName() const { return fileName_; }

    void setFolder(const std::string& folderUtf8);
    const std::string& folder() const { return folder_; }

    // Opens the file (and its .MB when the table has memo fields) and stands on the first record.
    // Throws Error naming the file when it is missing, encrypted, truncated or damaged.
    void open();
    void close();
    bool active() const;

    void first();
    void next();
    bool eof() const;
    // Records the table holds (the number the reader can honestly read, never more than the file has).
    std::int32_t recordCount() const;

    const TableInfo& info() const;
    const std::vector<Field>& fields() const;
    bool hasField(const std::string& field) const;

    // Raw value of the current record. NULL is an empty field. Alpha and memo: Windows-1254 text; short, long,
    // autoincrement: integer; number, money, BCD: double; logical: integer 1 or 0; date, time, timestamp as
    // such; binary fields: their bytes as a string.
    Value value(const std::string& field) const;
    // The same by position in fields(); with `convertText` false, alpha and memo text stays in the table's own
    // code page (info().codePage), for tools that convert it straight to UTF-8.
    Value value(std::size_t fieldIndex, bool convertText = true) const;
    // Path of the .DB as found on disk (after open).
    const std::string& path() const { return path_; }

    // The reading rules of the transfers on top: NULL text reads empty, NULL number 0, NULL logical false,
    // dates keep NULL.
    std::string asString(const std::string& field) const;
    double asFloat(const std::string& field) const;
    bool asBoolean(const std::string& field) const;
    std::optional<Date> asDate(const std::string& field) const;

private:
    std::string name_, fileName_, folder_, path_;
    int tag_;
    std::unique_ptr<Reader> reader_;
};

}  // namespace db::paradox
