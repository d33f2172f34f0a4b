#include "db/Connection.h"

#include "db/Dataset.h"
#include "db/FileSystem.h"

namespace db {

Connection::~Connection() {
    // The datasets are members declared after their connection and are already gone.
    datasets_.clear();
    try {
        shutdown(true);
    } catch (...) {
        // The program is ending; nothing can be reported any more.
    }
}

void Connection::open() {
    if (attachment_) return;
    fb::AttachOptions options;
    options.params = Params;
    attachment_ = fb::Attachment::open(fsys::resolve(DatabaseName), options);
}

void Connection::close() { shutdown(true); }

void Connection::abandon() { shutdown(false); }

void Connection::shutdown(bool commit) {
    for (Dataset* ds : datasets_) ds->close();
    statements_.clear();
    ages_.clear();
    if (!attachment_) {
        for (Transaction* tr : transactions_) tr->drop();
        return;
    }
    std::exception_ptr failure;
    for (Transaction* tr : transactions_) {
        if (!tr->active()) {
            tr->drop();
            continue;
        }
        try {
            if (commit) tr->commit();
            else tr->rollback();
        } catch (...) {
            if (!failure) failure = std::current_exception();
            tr->drop();
        }
    }
    try {
        attachment_->detach();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    attachment_.reset();
    if (failure) std::rethrow_exception(failure);
}

fb::Attachment& Connection::attachment() {
    if (!attachment_) throw fb::Error("Database " + name_ + " is not connected");
    return *attachment_;
}

std::shared_ptr<fb::Statement> Connection::prepare(const std::string& sql, Transaction& transaction) {
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        ages_.splice(ages_.begin(), ages_, it->second.age);
        return it->second.statement;
    }
    auto stmt = std::make_shared<fb::Statement>(attachment(), transaction.handle(), sql);
    ages_.push_front(sql);
    statements_.emplace(sql, Cached{stmt, ages_.begin()});
    if (statements_.size() > kStatementCacheSize) {
        statements_.erase(ages_.back());
        ages_.pop_back();
    }
    return stmt;
}

void Transaction::start() {
    if (active()) throw fb::Error("Transaction " + name_ + " is already active");
    handle_ = std::make_unique<fb::Transaction>(connection_.attachment());
}

void Transaction::commit() {
    if (!active()) throw fb::Error("Transaction " + name_ + " is not active");
    handle_->commit();
    handle_.reset();
}

void Transaction::commitRetaining() {
    if (!active()) throw fb::Error("Transaction " + name_ + " is not active");
    handle_->commitRetaining();
}

void Transaction::rollback() {
    if (!active()) return;
    handle_->rollback();
    handle_.reset();
}

fb::Transaction& Transaction::handle() {
    if (!active()) start();
    return *handle_;
}

}  // namespace db
