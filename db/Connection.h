// The data module's connections (…_DB) and transactions (…_Tr). A connection keeps its database file name
// and parameter lines between openings; closing it commits every open transaction and closes its datasets.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/fb/Firebird.h"

namespace db {

class Dataset;
class Transaction;

class Connection {
public:
    explicit Connection(std::string name) : name_(std::move(name)) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& name() const { return name_; }

    std::string DatabaseName;         // a plain file path (UTF-8); resolved without regard to case on open
    std::vector<std::string> Params;  // "lc_ctype=WIN1254", "user_name=SYSDBA", "password=…"

    void open();
    // Commits every transaction still running on it, closes its datasets, releases its statements, detaches.
    void close();
    // Rolls back instead of committing (a run that failed must not leave its rows behind).
    void abandon();
    bool connected() const { return attachment_ != nullptr; }

    fb::Attachment& attachment();

    // One prepared statement per distinct SQL text per connection, reused while it is among the most recently
    // used ones. Statements whose text changes with every row (a key written into the SQL) would otherwise pile
    // up for the whole company; holders keep theirs alive while they use it.
    std::shared_ptr<fb::Statement> prepare(const std::string& sql, Transaction& transaction);
    static constexpr std::size_t kStatementCacheSize = 128;

    void add(Transaction* transaction) { transactions_.push_back(transaction); }
    void add(Dataset* dataset) { datasets_.push_back(dataset); }
    const std::vector<Dataset*>& datasets() const { return datasets_; }

private:
    void shutdown(bool commit);
    std::string name_;
    std::unique_ptr<fb::Attachment> attachment_;
    struct Cached {
        std::shared_ptr<fb::Statement> statement;
        std::list<std::string>::iterator age;
    };
    std::map<std::string, Cached> statements_;
    std::list<std::string> ages_;  // most recently used first
    std::vector<Transaction*> transactions_;
    std::vector<Dataset*> datasets_;
};

class Transaction {
public:
    Transaction(std::string name, Connection& connection) : name_(std::move(name)), connection_(connection) {
        connection.add(this);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    const std::string& name() const { return name_; }
    Connection& connection() const { return connection_; }

    // "read_committed", "rec_version", "nowait".
    void start();
    void commit();
    void commitRetaining();
    void rollback();
    bool active() const { return handle_ != nullptr && handle_->active(); }
    // Starts it when it is not running.
    fb::Transaction& handle();

private:
    friend class Connection;
    void drop() { handle_.reset(); }
    std::string name_;
    Connection& connection_;
    std::unique_ptr<fb::Transaction> handle_;
};

}  // namespace db
