#include "interfacedb/Recordset.h"

#include <algorithm>
#include <atomic>

#include "diag/Utf8.h"
#include "interfacedb/Connection.h"
#include "interfacedb/DbError.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/Sqlite.h"

namespace vantrell::db {

namespace {

std::string text(const unsigned char* p) {
    return p != nullptr ? reinterpret_cast<const char*>(p) : "";
}

// A field read straight from a statement's row, with the appends of RowStore: a text is copied
// once, into the value handed over.
struct OneValue {
    Value value;

    void appendNull() {}
    void append(bool b) { value = Value(b); }
    void append(std::int64_t n) { value = Value(n); }
    void append(float f) { value = Value(f); }
    void append(double d) { value = Value(d); }
    void append(DateTime date) { value = Value(date); }
    void appendText(std::string_view s) { value = Value(std::string(s)); }
};

// Stores the value of column `i` of the statement's current row as its column gives it meaning.
// The row's value is read through sqlite3_column_value() once rather than a column call for its
// type, its text and its length (each of which checks the statement anew): a connection is used
// by one thread at a time, which is what reading the value itself requires.
template <class Fields>
void storeCell(Fields& rows, sqlite3_stmt* statement, int i, const ColumnType& type) {
    using K = ColumnType::Kind;
    sqlite3_value* cell = sqlite3_column_value(statement, i);
    const int storage = sqlite3_value_type(cell);
    switch (storage) {
        case SQLITE_NULL:
            rows.appendNull();
            return;
        case SQLITE_INTEGER: {
            const std::int64_t n = sqlite3_value_int64(cell);
            switch (type.kind) {
                case K::Boolean:
                    return rows.append(n != 0);
                case K::Single:
                    return rows.append(static_cast<float>(n));
                case K::Double:
                    return rows.append(static_cast<double>(n));
                case K::Text:
                    return rows.appendText(std::to_string(n));
                default:
                    return rows.append(n);
            }
        }
        case SQLITE_FLOAT: {
            const double d = sqlite3_value_double(cell);
            switch (type.kind) {
                case K::Single:
                    return rows.append(static_cast<float>(d));
                case K::Boolean:
                    return rows.append(d != 0.0);
                case K::Text:
                    return rows.appendText(Value(d).toText());
                default:
                    return rows.append(d);
            }
        }
        default: {
            const auto* bytes = sqlite3_value_text(cell);
            const auto length = static_cast<std::size_t>(sqlite3_value_bytes(cell));
            if (bytes == nullptr && length != 0) {
                throw DbError("Out of memory.");  // the text could not be made
            }
            const std::string_view s(reinterpret_cast<const char*>(bytes), length);
            if (type.kind == K::Date) {
                if (auto date = DateTime::parse(s)) {
                    return rows.append(*date);
                }
            } else if (type.kind == K::Boolean) {
                try {
                    return rows.append(Value(std::string(s)).toBoolean());
                } catch (const DbError&) {
                }
            }
            // Text that does not fit the column's meaning is handed over as it is; converting
            // it then fails where it is used.
            return rows.appendText(s);
        }
    }
}

// The openings of every set so far, for Recordset::opening().
std::atomic<std::uint64_t> openings{0};

[[noreturn]] void notUpdatable() {
    throw DbError(
        "Current Recordset does not support updating. This may be a limitation of the provider, "
        "or of the selected locktype.");
}

[[noreturn]] void noSuchItem(const std::string& nameOrOrdinal) {
    throw DbError(
        "Item cannot be found in the collection corresponding to the requested name or "
        "ordinal: " +
        nameOrOrdinal);
}

}  // namespace

// The prepared INSERT of the last set of assigned columns, reused row after row.
struct Recordset::InsertCache {
    std::vector<bool> columns;
    detail::Statement statement;
};

// The statement of a set that reads its rows one at a time.
struct Recordset::Stream {
    detail::Statement statement;
};

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::open(std::string_view sql, Connection& connection, CursorType cursorType,
                     LockType lockType, int) {
    if (open_) {
        throw DbError("Operation is not allowed when the object is open.");
    }
    auto db = connection.database();
    auto statement = detail::prepareSingle(db->handle(), sql);

    std::vector<Column> columns;
    const int count = sqlite3_column_count(statement.get());
    for (int i = 0; i < count; ++i) {
        Column column;
        column.name =
            text(reinterpret_cast<const unsigned char*>(sqlite3_column_name(statement.get(), i)));
        column.tableName = text(
            reinterpret_cast<const unsigned char*>(sqlite3_column_table_name(statement.get(), i)));
        column.originName = text(
            reinterpret_cast<const unsigned char*>(sqlite3_column_origin_name(statement.get(), i)));
        const char* declared = sqlite3_column_decltype(statement.get(), i);
        column.type = columnTypeFromDeclared(declared != nullptr ? declared : "");
        columns.push_back(std::move(column));
    }

    if (cursorType == CursorType::ForwardOnly && lockType == LockType::ReadOnly) {
        database_ = db;
        columns_ = std::move(columns);
        stream_ = std::make_unique<Stream>(Stream{std::move(statement)});
        streaming_ = true;
        movedOn_ = false;
        position_ = 0;
        lockType_ = lockType;
        adding_ = false;
        insert_.reset();
        readStreamedRow();
        streamedAny_ = rowCount_ != 0;
        opening_ = ++openings;
        open_ = true;
        return;
    }

    detail::RowStore cells;
    std::size_t rows = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) {
            storeCell(cells, statement.get(), i, columns[static_cast<std::size_t>(i)].type);
        }
        ++rows;
    }
    detail::check(rc, db->handle());

    database_ = db;
    columns_ = std::move(columns);
    cells_ = std::move(cells);
    rowCount_ = rows;
    position_ = 0;
    lockType_ = lockType;
    adding_ = false;
    insert_.reset();
    streaming_ = false;
    opening_ = ++openings;
    open_ = true;
}

void Recordset::readStreamedRow() {
    rowCount_ = 0;
    auto db = database_.lock();
    if (!db) {
        stream_.reset();
        throw DbError("Operation is not allowed when the object is closed.");
    }
    // The row stays in the statement until the next step; field() reads it there.
    const int rc = sqlite3_step(stream_->statement.get());
    if (rc == SQLITE_ROW) {
        rowCount_ = 1;
        return;
    }
    // Past the last row, or failed: the statement lets go of the database either way.
    stream_.reset();
    detail::check(rc, db->handle());
}

int Recordset::state() const {
    return open_ ? kStateOpen : kStateClosed;
}

void Recordset::close() {
    requireOpen();
    open_ = false;
    stream_.reset();
    streaming_ = false;
    cells_.clear();
    rowCount_ = 0;
    adding_ = false;
    insert_.reset();
    database_.reset();
}

void Recordset::requireOpen() const {
    if (!open_) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
}

bool Recordset::bof() const {
    requireOpen();
    return streaming_ ? !streamedAny_ : rowCount_ == 0;
}

bool Recordset::eof() const {
    requireOpen();
    return position_ >= rowCount_;
}

void Recordset::moveFirst() {
    requireOpen();
    if (streaming_ && movedOn_) {
        throw DbError("Rowset does not support fetching backward.");
    }
    position_ = 0;
}

void Recordset::moveNext() {
    requireOpen();
    requireCurrentRow();
    if (streaming_) {
        movedOn_ = true;
        readStreamedRow();
        return;
    }
    ++position_;
}

std::size_t Recordset::columnCount() const {
    return columns_.size();
}

std::size_t Recordset::columnIndex(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (equalsIgnoringAsciiCase(columns_[i].name, name)) {
            return i;
        }
    }
    noSuchItem(std::string(name));
}

void Recordset::requireColumn(std::size_t ordinal) const {
    if (ordinal >= columns_.size()) {
        noSuchItem(std::to_string(ordinal));
    }
}

void Recordset::requireCurrentRow() const {
    if (position_ >= rowCount_) {
        throw DbError(
            "Either BOF or EOF is True, or the current record has been deleted. Requested "
            "operation requires a current record.");
    }
}

std::size_t Recordset::ordinalOf(std::string_view name) const {
    requireOpen();
    return columnIndex(name);
}

Value Recordset::field(std::string_view name) const {
    return field(ordinalOf(name));
}

Value Recordset::field(std::size_t ordinal) const {
    requireOpen();
    requireColumn(ordinal);
    if (adding_) {
        return pending_[ordinal];
    }
    requireCurrentRow();
    if (streaming_) {
        OneValue cell;
        storeCell(cell, stream_->statement.get(), static_cast<int>(ordinal),
                  columns_[ordinal].type);
        return std::move(cell.value);
    }
    return cells_.at(position_ * columns_.size() + ordinal);
}

void Recordset::addNew() {
    requireOpen();
    if (lockType_ == LockType::ReadOnly) {
        notUpdatable();
    }
    const std::string& table = columns_.empty() ? std::string() : columns_.front().tableName;
    const bool oneTable =
        !table.empty() && std::all_of(columns_.begin(), columns_.end(), [&](const Column& c) {
            return c.tableName == table && !c.originName.empty();
        });
    if (!oneTable) {
        notUpdatable();
    }
    pending_.assign(columns_.size(), Value());
    assigned_.assign(columns_.size(), false);
    adding_ = true;
}

void Recordset::setField(std::string_view name, const Value& value) {
    requireOpen();
    if (!adding_) {
        notUpdatable();
    }
    assign(columnIndex(name), value);
}

void Recordset::setField(std::size_t ordinal, const Value& value) {
    requireOpen();
    if (!adding_) {
        notUpdatable();
    }
    requireColumn(ordinal);
    assign(ordinal, value);
}

void Recordset::assign(std::size_t column, const Value& value) {
    pending_[column] = coerceForColumn(value, columns_[column].type);
    assigned_[column] = true;
}

void Recordset::update() {
    requireOpen();
    if (!adding_) {
        throw DbError("Operation is not allowed in this context.");
    }
    adding_ = false;  // stored or not, the row is no longer pending
    insertPending();
}

void Recordset::insertPending() {
    auto db = database_.lock();
    if (!db) {
        throw DbError("Operation is not allowed when the object is closed.");
    }
    if (!insert_ || insert_->columns != assigned_) {
        std::string names;
        std::string marks;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (!assigned_[i]) {
                continue;
            }
            names += (names.empty() ? "" : ", ") + detail::quoteIdentifier(columns_[i].originName);
            marks += marks.empty() ? "?" : ", ?";
        }
        const std::string sql =
            names.empty() ? "INSERT INTO " + detail::quoteIdentifier(columns_.front().tableName) +
                                " DEFAULT VALUES"
                          : "INSERT INTO " + detail::quoteIdentifier(columns_.front().tableName) +
                                " (" + names + ") VALUES (" + marks + ")";
        insert_ = std::make_unique<InsertCache>(
            InsertCache{assigned_, detail::prepareSingle(db->handle(), sql)});
    }
    sqlite3_stmt* statement = insert_->statement.get();
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    int index = 1;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (assigned_[i]) {
            detail::bindValue(statement, index++, pending_[i]);
        }
    }
    db->prepareForWrites();
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) {
        const DbError error(sqlite3_errmsg(db->handle()), rc);
        sqlite3_reset(statement);
        throw error;
    }
    sqlite3_reset(statement);
}

}  // namespace vantrell::db
