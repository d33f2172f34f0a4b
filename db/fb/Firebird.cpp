#include "db/fb/Firebird.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <cmath>
#include <cstring>

using namespace Firebird;

namespace db::fb {

namespace {

IMaster* master() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

IUtil* util() { return master()->getUtilInterface(); }

constexpr unsigned kWin1254 = 55;

// A status wrapper per call; errors become db::fb::Error with the database's own text.
struct Status {
    Status() : raw(master()->getStatus()), wrapper(raw) {}
    ~Status() { raw->dispose(); }
    IStatus* raw;
    ThrowStatusWrapper wrapper;
    ThrowStatusWrapper* operator&() { return &wrapper; }
};

[[noreturn]] void rethrow(const FbException& e) {
    char buf[4096];
    util()->formatStatus(buf, sizeof buf, e.getStatus());
    int sqlcode = isc_sqlcode(e.getStatus()->getErrors());
    throw Error(buf, sqlcode);
}

template <class F>
auto guarded(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const FbException& e) {
        rethrow(e);
    }
}

// Best effort release in destructors: never throws.
struct Quiet {
    Quiet() : raw(master()->getStatus()), wrapper(raw) {}
    ~Quiet() { raw->dispose(); }
    IStatus* raw;
    CheckStatusWrapper wrapper;
    CheckStatusWrapper* operator&() { return &wrapper; }
    bool failed() { return (raw->getState() & IStatus::STATE_ERRORS) != 0; }
};

IXpbBuilder* buildDpb(ThrowStatusWrapper* st, const AttachOptions& options, bool creating) {
    IXpbBuilder* dpb = util()->getXpbBuilder(st, IXpbBuilder::DPB, nullptr, 0);
    for (const auto& line : options.params) {
        auto eq = line.find('=');
        std::string key = eq == std::string::npos ? line : line.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        if (key == "lc_ctype") dpb->insertString(st, isc_dpb_lc_ctype, value.c_str());
        else if (key == "user_name") dpb->insertString(st, isc_dpb_user_name, value.c_str());
        else if (key == "password") dpb->insertString(st, isc_dpb_password, value.c_str());
        else if (key == "config") dpb->insertString(st, isc_dpb_config, value.c_str());
        else if (key == "sql_role_name") dpb->insertString(st, isc_dpb_sql_role_name, value.c_str());
    }
    if (creating) {
        dpb->insertInt(st, isc_dpb_sql_dialect, 3);
        dpb->insertString(st, isc_dpb_set_db_charset, "WIN1254");
        if (options.pageSize) dpb->insertInt(st, isc_dpb_page_size, static_cast<int>(options.pageSize));
    }
    return dpb;
}

unsigned bytesPerChar(unsigned charset) {
    switch (charset & 0xFF) {
        case 3: return 3;  // UNICODE_FSS
        case 4: return 4;  // UTF8
        default: return 1;
    }
}

std::vector<Column> describe(ThrowStatusWrapper* st, IMessageMetadata* meta) {
    std::vector<Column> cols;
    unsigned n = meta->getCount(st);
    cols.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        Column c;
        const char* alias = meta->getAlias(st, i);
        const char* field = meta->getField(st, i);
        c.name = alias && *alias ? alias : (field ? field : "");
        const char* rel = meta->getRelation(st, i);
        c.relation = rel ? rel : "";
        c.sqlType = meta->getType(st, i) & ~1u;
        c.scale = meta->getScale(st, i);
        c.required = !meta->isNullable(st, i);
        unsigned length = meta->getLength(st, i);
        switch (c.sqlType) {
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64: c.kind = c.scale < 0 ? Kind::Numeric : Kind::Integer; break;
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_D_FLOAT: c.kind = Kind::Float; break;
            case SQL_TEXT:
                c.kind = Kind::Text;
                c.fixedChar = true;
                c.width = length / bytesPerChar(meta->getCharSet(st, i));
                break;
            case SQL_VARYING:
                c.kind = Kind::Text;
                c.width = length / bytesPerChar(meta->getCharSet(st, i));
                break;
            case SQL_BLOB: c.kind = meta->getSubType(st, i) == 1 ? Kind::TextBlob : Kind::BinaryBlob; break;
            case SQL_TYPE_DATE: c.kind = Kind::Date; break;
            case SQL_TYPE_TIME: c.kind = Kind::Time; break;
            case SQL_TIMESTAMP: c.kind = Kind::Timestamp; break;
            case SQL_BOOLEAN: c.kind = Kind::Boolean; break;
            default: c.kind = Kind::Other; break;
        }
        cols.push_back(std::move(c));
    }
    return cols;
}

std::string readBlob(ThrowStatusWrapper* st, IAttachment* att, ITransaction* tra, ISC_QUAD id) {
    IBlob* blob = att->openBlob(st, tra, &id, 0, nullptr);
    std::string out;
    char buf[32768];
    for (;;) {
        unsigned got = 0;
        int rc = blob->getSegment(st, sizeof buf, buf, &got);
        if (rc == IStatus::RESULT_OK || rc == IStatus::RESULT_SEGMENT) out.append(buf, got);
        else break;
    }
    blob->close(st);
    return out;
}

ISC_QUAD writeBlob(ThrowStatusWrapper* st, IAttachment* att, ITransaction* tra, const std::string& data) {
    ISC_QUAD id{};
    IBlob* blob = att->createBlob(st, tra, &id, 0, nullptr);
    std::size_t pos = 0;
    while (pos < data.size()) {
        unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(32767, data.size() - pos));
        blob->putSegment(st, chunk, data.data() + pos);
        pos += chunk;
    }
    blob->close(st);
    return id;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// Attachment

namespace {

// Attaching and creating differ only in the provider call and in the creation parameters.
IAttachment* connect(const std::string& database, const AttachOptions& options, bool creating) {
    return guarded([&] {
        Status st;
        IXpbBuilder* dpb = buildDpb(&st, options, creating);
        IProvider* provider = master()->getDispatcher();
        IAttachment* att = nullptr;
        try {
            const unsigned len = dpb->getBufferLength(&st);
            const unsigned char* buf = dpb->getBuffer(&st);
            att = creating ? provider->createDatabase(&st, database.c_str(), len, buf)
                           : provider->attachDatabase(&st, database.c_str(), len, buf);
        } catch (...) {
            dpb->dispose();
            provider->release();
            throw;
        }
        dpb->dispose();
        provider->release();
        return att;
    });
}

}  // namespace

std::unique_ptr<Attachment> Attachment::open(const std::string& database, const AttachOptions& options) {
    return std::unique_ptr<Attachment>(new Attachment(connect(database, options, false), database));
}

std::unique_ptr<Attachment> Attachment::create(const std::string& database, const AttachOptions& options) {
    return std::unique_ptr<Attachment>(new Attachment(connect(database, options, true), database));
}

Attachment::~Attachment() {
    if (!handle_) return;
    Quiet st;
    handle_->detach(&st);
    if (st.failed()) handle_->release();
    handle_ = nullptr;
}

void Attachment::detach() {
    if (!handle_) return;
    guarded([&] {
        Status st;
        handle_->detach(&st);
        handle_ = nullptr;
    });
}

// ---------------------------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Attachment& attachment, const TransactionOptions& options) : attachment_(attachment) {
    guarded([&] {
        Status st;
        IXpbBuilder* tpb = util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        tpb->insertTag(&st, isc_tpb_write);
        if (options.readCommitted) {
            tpb->insertTag(&st, isc_tpb_read_committed);
            tpb->insertTag(&st, options.recVersion ? isc_tpb_rec_version : isc_tpb_no_rec_version);
        } else {
            tpb->insertTag(&st, isc_tpb_concurrency);
        }
        tpb->insertTag(&st, options.wait ? isc_tpb_wait : isc_tpb_nowait);
        try {
            handle_ = attachment.raw()->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
        } catch (...) {
            tpb->dispose();
            throw;
        }
        tpb->dispose();
    });
}

Transaction::~Transaction() {
    if (!handle_) return;
    Quiet st;
    handle_->rollback(&st);
    if (st.failed()) handle_->release();
    handle_ = nullptr;
}

void Transaction::commit() {
    if (!handle_) return;
    guarded([&] {
        Status st;
        handle_->commit(&st);
        handle_ = nullptr;
    });
}

void Transaction::commitRetaining() {
    if (!handle_) return;
    guarded([&] {
        Status st;
        handle_->commitRetaining(&st);
    });
}

void Transaction::rollback() {
    if (!handle_) return;
    guarded([&] {
        Status st;
        handle_->rollback(&st);
        handle_ = nullptr;
    });
}

// ---------------------------------------------------------------------------------------------------------------
// Statement

struct Statement::InputMessage {
    IMessageMetadata* meta = nullptr;
    std::vector<unsigned char> buffer;
    std::vector<unsigned> offsets, nullOffsets, types, lengths;
    std::vector<int> scales;
    ~InputMessage() {
        if (meta) meta->release();
    }
};

Statement::Statement(Attachment& attachment, Transaction& transaction, const std::string& sql)
    : attachment_(attachment), sql_(sql) {
    guarded([&] {
        Status st;
        handle_ = attachment.raw()->prepare(&st, transaction.raw(), 0, sql.c_str(), 3,
                                            IStatement::PREPARE_PREFETCH_METADATA);
        IMessageMetadata* in = handle_->getInputMetadata(&st);
        parameters_ = describe(&st, in);
        in->release();

        unsigned flags = handle_->getFlags(&st);
        if (flags & IStatement::FLAG_HAS_CURSOR) {
            IMessageMetadata* out = handle_->getOutputMetadata(&st);
            columns_ = describe(&st, out);
            // Numbers arrive as BIGINT (whole) or DOUBLE PRECISION (scaled or floating); the rest as declared.
            IMetadataBuilder* b = out->getBuilder(&st);
            for (unsigned i = 0; i < columns_.size(); ++i) {
                const Column& c = columns_[i];
                if (c.kind == Kind::Integer) {
                    b->setType(&st, i, SQL_INT64 + 1);
                    b->setLength(&st, i, sizeof(ISC_INT64));
                    b->setScale(&st, i, 0);
                } else if (c.kind == Kind::Numeric || c.kind == Kind::Float) {
                    b->setType(&st, i, SQL_DOUBLE + 1);
                    b->setLength(&st, i, sizeof(double));
                    b->setScale(&st, i, 0);
                }
            }
            outputMeta_ = b->getMetadata(&st);
            b->release();
            out->release();
            outLength_ = outputMeta_->getMessageLength(&st);
            for (unsigned i = 0; i < columns_.size(); ++i) {
                outOffsets_.push_back(outputMeta_->getOffset(&st, i));
                outNullOffsets_.push_back(outputMeta_->getNullOffset(&st, i));
                outTypes_.push_back(outputMeta_->getType(&st, i) & ~1u);
                outLengths_.push_back(outputMeta_->getLength(&st, i));
            }
        }
    });
}

Statement::~Statement() {
    if (outputMeta_) outputMeta_->release();
    inputs_.clear();
    if (handle_) {
        Quiet st;
        handle_->free(&st);
        if (st.failed()) handle_->release();
    }
}

Statement::InputMessage& Statement::bind(Transaction& transaction, const std::vector<Value>& params) {
    if (params.size() != parameters_.size())
        throw Error("parameter count mismatch: " + std::to_string(params.size()) + " given, " +
                    std::to_string(parameters_.size()) + " expected by: " + sql_);
    // The message describes each value in its own type and the engine converts it to the column's. A NULL
    // fits any type, so a loop of inserts whose rows differ only in which columns are empty reuses one or two
    // messages instead of building one per pattern of NULLs.
    std::vector<unsigned> wantType(params.size(), 0), wantLength(params.size(), 0);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Value& v = params[i];
        const Column& p = parameters_[i];
        if (isNull(v)) continue;
        if (std::holds_alternative<std::int64_t>(v)) wantType[i] = SQL_INT64;
        else if (std::holds_alternative<double>(v)) wantType[i] = SQL_DOUBLE;
        else if (std::holds_alternative<std::string>(v)) {
            if (p.kind == Kind::TextBlob || p.kind == Kind::BinaryBlob) wantType[i] = SQL_BLOB;
            else {
                unsigned len = p.kind == Kind::Text ? std::max(1u, p.width) : 255u;
                const auto& s = std::get<std::string>(v);
                while (len < s.size()) len *= 2;
                wantType[i] = SQL_VARYING;
                wantLength[i] = len;
            }
        } else if (std::holds_alternative<Date>(v)) wantType[i] = SQL_TYPE_DATE;
        else if (std::holds_alternative<Time>(v)) wantType[i] = SQL_TYPE_TIME;
        else wantType[i] = SQL_TIMESTAMP;
    }
    auto fits = [&](const InputMessage& m) {
        for (std::size_t i = 0; i < params.size(); ++i) {
            if (!wantType[i]) continue;
            if (m.types[i] != wantType[i] || m.scales[i] != 0) return false;
            if (wantType[i] == SQL_VARYING && m.lengths[i] < wantLength[i]) return false;
        }
        return true;
    };
    InputMessage* found = nullptr;
    for (auto& m : inputs_)
        if (fits(*m)) {
            found = m.get();
            break;
        }
    if (!found) {
        // Empty parameters take the type the most recent message gave them, so the new message fits the
        // rows that follow as well.
        const InputMessage* last = inputs_.empty() ? nullptr : inputs_.front().get();
        for (std::size_t i = 0; i < params.size() && last; ++i) {
            if (wantType[i]) continue;
            wantType[i] = last->types[i];
            wantLength[i] = last->types[i] == SQL_VARYING ? last->lengths[i] : 0;
        }
        guarded([&] {
            Status st;
            auto msg = std::make_unique<InputMessage>();
            IMessageMetadata* native = handle_->getInputMetadata(&st);
            IMetadataBuilder* b = native->getBuilder(&st);
            for (unsigned i = 0; i < params.size(); ++i) {
                const Column& p = parameters_[i];
                switch (wantType[i]) {
                    case 0: continue;  // the native description; only the null flag is used
                    case SQL_INT64:
                        b->setType(&st, i, SQL_INT64 + 1);
                        b->setLength(&st, i, sizeof(ISC_INT64));
                        b->setScale(&st, i, 0);
                        break;
                    case SQL_DOUBLE:
                        b->setType(&st, i, SQL_DOUBLE + 1);
                        b->setLength(&st, i, sizeof(double));
                        b->setScale(&st, i, 0);
                        break;
                    case SQL_BLOB:
                        b->setType(&st, i, SQL_BLOB + 1);
                        b->setLength(&st, i, sizeof(ISC_QUAD));
                        b->setSubType(&st, i, p.kind == Kind::TextBlob ? 1 : 0);
                        break;
                    case SQL_VARYING:
                        b->setType(&st, i, SQL_VARYING + 1);
                        b->setLength(&st, i, wantLength[i]);
                        b->setCharSet(&st, i, kWin1254);
                        b->setScale(&st, i, 0);
                        break;
                    case SQL_TYPE_DATE:
                        b->setType(&st, i, SQL_TYPE_DATE + 1);
                        b->setLength(&st, i, sizeof(ISC_DATE));
                        b->setScale(&st, i, 0);
                        break;
                    case SQL_TYPE_TIME:
                        b->setType(&st, i, SQL_TYPE_TIME + 1);
                        b->setLength(&st, i, sizeof(ISC_TIME));
                        b->setScale(&st, i, 0);
                        break;
                    default:
                        b->setType(&st, i, SQL_TIMESTAMP + 1);
                        b->setLength(&st, i, sizeof(ISC_TIMESTAMP));
                        b->setScale(&st, i, 0);
                        break;
                }
            }
            msg->meta = b->getMetadata(&st);
            b->release();
            native->release();
            msg->buffer.assign(msg->meta->getMessageLength(&st), 0);
            for (unsigned i = 0; i < params.size(); ++i) {
                msg->offsets.push_back(msg->meta->getOffset(&st, i));
                msg->nullOffsets.push_back(msg->meta->getNullOffset(&st, i));
                msg->types.push_back(msg->meta->getType(&st, i) & ~1u);
                msg->lengths.push_back(msg->meta->getLength(&st, i));
                msg->scales.push_back(msg->meta->getScale(&st, i));
            }
            found = msg.get();
            inputs_.insert(inputs_.begin(), std::move(msg));
            if (inputs_.size() > kInputMessages) inputs_.pop_back();
        });
    }
    InputMessage& msg = *found;
    guarded([&] {
        Status st;
        unsigned char* buf = msg.buffer.data();
        for (std::size_t i = 0; i < params.size(); ++i) {
            const Value& v = params[i];
            short* nullFlag = reinterpret_cast<short*>(buf + msg.nullOffsets[i]);
            unsigned char* p = buf + msg.offsets[i];
            if (isNull(v)) {
                *nullFlag = -1;
                continue;
            }
            *nullFlag = 0;
            if (auto iv = std::get_if<std::int64_t>(&v)) {
                ISC_INT64 x = *iv;
                std::memcpy(p, &x, sizeof x);
            } else if (auto dv = std::get_if<double>(&v)) {
                std::memcpy(p, dv, sizeof(double));
            } else if (auto sv = std::get_if<std::string>(&v)) {
                if (msg.types[i] == SQL_BLOB) {
                    ISC_QUAD id = writeBlob(&st, attachment_.raw(), transaction.raw(), *sv);
                    std::memcpy(p, &id, sizeof id);
                } else {
                    auto len = static_cast<unsigned short>(std::min<std::size_t>(sv->size(), msg.lengths[i]));
                    std::memcpy(p, &len, sizeof len);
                    std::memcpy(p + sizeof len, sv->data(), len);
                }
            } else if (auto d = std::get_if<Date>(&v)) {
                ISC_DATE x = util()->encodeDate(d->year, d->month, d->day);
                std::memcpy(p, &x, sizeof x);
            } else if (auto t = std::get_if<Time>(&v)) {
                ISC_TIME x = util()->encodeTime(t->hour, t->minute, t->second, t->fraction);
                std::memcpy(p, &x, sizeof x);
            } else if (auto ts = std::get_if<Timestamp>(&v)) {
                ISC_TIMESTAMP x;
                x.timestamp_date = util()->encodeDate(ts->date.year, ts->date.month, ts->date.day);
                x.timestamp_time =
                    util()->encodeTime(ts->time.hour, ts->time.minute, ts->time.second, ts->time.fraction);
                std::memcpy(p, &x, sizeof x);
            }
        }
    });
    return msg;
}

void Statement::decodeRow(Transaction& transaction, const unsigned char* buf, std::vector<Value>& row) {
    row.resize(columns_.size());
    Status st;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const short* nullFlag = reinterpret_cast<const short*>(buf + outNullOffsets_[i]);
        if (*nullFlag) {
            row[i] = std::monostate{};
            continue;
        }
        const unsigned char* p = buf + outOffsets_[i];
        switch (outTypes_[i]) {
            case SQL_INT64: {
                ISC_INT64 x;
                std::memcpy(&x, p, sizeof x);
                row[i] = static_cast<std::int64_t>(x);
                break;
            }
            case SQL_LONG: {
                ISC_LONG x;
                std::memcpy(&x, p, sizeof x);
                row[i] = static_cast<std::int64_t>(x);
                break;
            }
            case SQL_SHORT: {
                short x;
                std::memcpy(&x, p, sizeof x);
                row[i] = static_cast<std::int64_t>(x);
                break;
            }
            case SQL_DOUBLE: {
                double x;
                std::memcpy(&x, p, sizeof x);
                row[i] = x;
                break;
            }
            case SQL_FLOAT: {
                float x;
                std::memcpy(&x, p, sizeof x);
                row[i] = static_cast<double>(x);
                break;
            }
            case SQL_TEXT: {
                std::string s(reinterpret_cast<const char*>(p), outLengths_[i]);
                // CHAR(n) pads with blanks; the padding is not part of the value.
                auto end = s.find_last_not_of(' ');
                s.erase(end == std::string::npos ? 0 : end + 1);
                row[i] = std::move(s);
                break;
            }
            case SQL_VARYING: {
                unsigned short len;
                std::memcpy(&len, p, sizeof len);
                row[i] = std::string(reinterpret_cast<const char*>(p + sizeof len), len);
                break;
            }
            case SQL_BLOB: {
                ISC_QUAD id;
                std::memcpy(&id, p, sizeof id);
                row[i] = guarded([&] { return readBlob(&st, attachment_.raw(), transaction.raw(), id); });
                break;
            }
            case SQL_TYPE_DATE: {
                ISC_DATE x;
                std::memcpy(&x, p, sizeof x);
                unsigned y, m, d;
                util()->decodeDate(x, &y, &m, &d);
                row[i] = Date{int(y), int(m), int(d)};
                break;
            }
            case SQL_TYPE_TIME: {
                ISC_TIME x;
                std::memcpy(&x, p, sizeof x);
                unsigned h, mi, s, f;
                util()->decodeTime(x, &h, &mi, &s, &f);
                row[i] = Time{int(h), int(mi), int(s), int(f)};
                break;
            }
            case SQL_TIMESTAMP: {
                ISC_TIMESTAMP x;
                std::memcpy(&x, p, sizeof x);
                unsigned y, m, d, h, mi, s, f;
                util()->decodeDate(x.timestamp_date, &y, &m, &d);
                util()->decodeTime(x.timestamp_time, &h, &mi, &s, &f);
                row[i] = Timestamp{Date{int(y), int(m), int(d)}, Time{int(h), int(mi), int(s), int(f)}};
                break;
            }
            case SQL_BOOLEAN: row[i] = static_cast<std::int64_t>(*p ? 1 : 0); break;
            default: row[i] = std::monostate{}; break;
        }
    }
}

void Statement::execute(Transaction& transaction, const std::vector<Value>& params, std::vector<Value>* row) {
    if (hasResultSet()) {
        auto cursor = openCursor(transaction, params);
        std::vector<Value> first;
        bool got = cursor->fetch(first);
        cursor->close();
        if (row) {
            if (got) *row = std::move(first);
            else row->clear();
        }
        return;
    }
    InputMessage& in = bind(transaction, params);
    guarded([&] {
        Status st;
        handle_->execute(&st, transaction.raw(), in.meta, in.buffer.data(), nullptr, nullptr);
    });
    if (row) row->clear();
}

std::unique_ptr<Cursor> Statement::openCursor(Transaction& transaction, const std::vector<Value>& params) {
    InputMessage& in = bind(transaction, params);
    IResultSet* rs = guarded([&] {
        Status st;
        return handle_->openCursor(&st, transaction.raw(), in.meta, in.buffer.data(), outputMeta_, 0);
    });
    return std::unique_ptr<Cursor>(new Cursor(*this, transaction, rs));
}

// ---------------------------------------------------------------------------------------------------------------
// Cursor

Cursor::Cursor(Statement& statement, Transaction& transaction, IResultSet* rs)
    : statement_(statement), transaction_(transaction), rs_(rs), buffer_(statement.outLength_, 0) {}

Cursor::~Cursor() {
    if (!rs_) return;
    Quiet st;
    rs_->close(&st);
    if (st.failed()) rs_->release();
    rs_ = nullptr;
}

bool Cursor::fetch(std::vector<Value>& row) {
    if (!rs_) return false;
    int rc = guarded([&] {
        Status st;
        return rs_->fetchNext(&st, buffer_.data());
    });
    if (rc != IStatus::RESULT_OK) return false;
    statement_.decodeRow(transaction_, buffer_.data(), row);
    return true;
}

void Cursor::close() {
    if (!rs_) return;
    guarded([&] {
        Status st;
        rs_->close(&st);
        rs_ = nullptr;
    });
}

void executeImmediate(Attachment& attachment, Transaction& transaction, const std::string& sql) {
    guarded([&] {
        Status st;
        attachment.raw()->execute(&st, transaction.raw(), 0, sql.c_str(), 3, nullptr, nullptr, nullptr, nullptr);
    });
}

}  // namespace db::fb
