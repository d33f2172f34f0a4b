// A thin RAII layer over the Firebird OO API. One class per concept: Attachment, Transaction, Statement,
// Cursor. Values cross it as db::Value; text travels as Windows-1254 bytes on every attachment.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/Value.h"

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird

namespace db::fb {

// Every database error. what() is the database's own status text, unchanged.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, int sqlcode = 0) : std::runtime_error(message), sqlcode_(sqlcode) {}
    int sqlcode() const { return sqlcode_; }

private:
    int sqlcode_;
};

enum class Kind { Integer, Numeric, Float, Text, TextBlob, BinaryBlob, Date, Time, Timestamp, Boolean, Other };

struct Column {
    std::string name;      // alias as the statement names it
    std::string relation;  // table it comes from, empty for expressions
    Kind kind = Kind::Other;
    unsigned width = 0;  // characters, for text
    int scale = 0;       // negative decimal scale of NUMERIC/DECIMAL
    bool required = false;
    bool fixedChar = false;  // CHAR(n): trailing blanks are padding and are not returned
    unsigned sqlType = 0;
};

// Parameter lines as the data module keeps them: "lc_ctype=WIN1254", "user_name=SYSDBA", "password=...";
// "config=..." passes a client configuration text (tests use it to reach a local server).
struct AttachOptions {
    std::vector<std::string> params;
    unsigned pageSize = 0;  // only when creating
};

class Transaction;
class Statement;

class Attachment {
public:
    static std::unique_ptr<Attachment> open(const std::string& database, const AttachOptions& options);
    static std::unique_ptr<Attachment> create(const std::string& database, const AttachOptions& options);
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    void detach();
    bool attached() const { return handle_ != nullptr; }
    Firebird::IAttachment* raw() const { return handle_; }
    const std::string& database() const { return database_; }

private:
    Attachment(Firebird::IAttachment* handle, std::string database) : handle_(handle), database_(std::move(database)) {}
    Firebird::IAttachment* handle_ = nullptr;
    std::string database_;
};

struct TransactionOptions {
    bool readCommitted = true;
    bool recVersion = true;
    bool wait = false;
};

class Transaction {
public:
    Transaction(Attachment& attachment, const TransactionOptions& options = {});
    ~Transaction();  // rolls back when still active (an owner that wants a commit says so)
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void commitRetaining();
    void rollback();
    bool active() const { return handle_ != nullptr; }
    Firebird::ITransaction* raw() const { return handle_; }
    Attachment& attachment() const { return attachment_; }

private:
    Attachment& attachment_;
    Firebird::ITransaction* handle_ = nullptr;
};

class Cursor {
public:
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;
    // Next row into `row` (one value per output column); false past the last.
    bool fetch(std::vector<Value>& row);
    void close();

private:
    friend class Statement;
    Cursor(Statement& statement, Transaction& transaction, Firebird::IResultSet* rs);
    Statement& statement_;
    Transaction& transaction_;
    Firebird::IResultSet* rs_ = nullptr;
    std::vector<unsigned char> buffer_;
};

class Statement {
public:
    Statement(Attachment& attachment, Transaction& transaction, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& sql() const { return sql_; }
    const std::vector<Column>& columns() const { return columns_; }
    const std::vector<Column>& parameters() const { return parameters_; }
    bool hasResultSet() const { return !columns_.empty(); }

    // Runs a statement; for a singleton select the first row (if any) lands in `row`.
    void execute(Transaction& transaction, const std::vector<Value>& params = {}, std::vector<Value>* row = nullptr);
    std::unique_ptr<Cursor> openCursor(Transaction& transaction, const std::vector<Value>& params = {});

private:
    friend class Cursor;
    struct InputMessage;
    InputMessage& bind(Transaction& transaction, const std::vector<Value>& params);
    void decodeRow(Transaction& transaction, const unsigned char* buffer, std::vector<Value>& row);

    Attachment& attachment_;
    std::string sql_;
    Firebird::IStatement* handle_ = nullptr;
    std::vector<Column> columns_;
    std::vector<Column> parameters_;
    Firebird::IMessageMetadata* outputMeta_ = nullptr;  // coerced: numbers to BIGINT/DOUBLE
    std::vector<unsigned> outOffsets_, outNullOffsets_, outTypes_, outLengths_;
    unsigned outLength_ = 0;
    static constexpr std::size_t kInputMessages = 8;
    std::vector<std::unique_ptr<InputMessage>> inputs_;  // most recently built first
};

// Runs one statement with no parameters in its own transaction (DDL in schema scripts).
void executeImmediate(Attachment& attachment, Transaction& transaction, const std::string& sql);

}  // namespace db::fb
