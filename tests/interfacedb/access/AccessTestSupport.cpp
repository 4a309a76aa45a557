#include "AccessTestSupport.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "interfacedb/ConnectionString.h"
#include "interfacedb/Recordset.h"
#include "support/Sandbox.h"

namespace vantrell::testing {

std::string ownAccessFile(const std::string& name) {
    return (std::filesystem::path(VANTRELL_ACCESS_DATA) / name).string();
}

std::optional<std::string> sharedAccessFile(const std::string& name) {
    const auto path = std::filesystem::path(VANTRELL_SHARED_ACCESS_DATA) / name;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    return path.string();
}

void openAccess(db::Connection& connection, const std::string& path) {
    connection.open(db::connectionStringFor(path));
}

std::vector<std::vector<db::Value>> selectRows(db::Connection& connection, const std::string& sql,
                                               const std::vector<std::string>& fields) {
    db::Recordset rs;
    rs.open(sql, connection, db::CursorType::Static, db::LockType::ReadOnly);
    std::vector<std::vector<db::Value>> rows;
    if (!rs.bof() || !rs.eof()) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            std::vector<db::Value> row;
            for (const auto& field : fields) {
                row.push_back(rs.field(field));
            }
            rows.push_back(std::move(row));
        }
    }
    rs.close();
    return rows;
}

db::Value selectValue(db::Connection& connection, const std::string& sql) {
    const auto rows = selectRows(connection, sql, {"v"});
    if (rows.size() != 1) {
        throw std::runtime_error("expected one row from: " + sql);
    }
    return rows.front().front();
}

db::Value date(const std::string& text) {
    const auto parsed = db::DateTime::parse(text);
    if (!parsed) {
        throw std::runtime_error("not a date: " + text);
    }
    return db::Value(*parsed);
}

std::string stderrDuring(const std::function<void()>& body) {
    const Sandbox sandbox;
    const auto capture = sandbox.file("stderr.txt");
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    std::FILE* file = std::fopen(capture.string().c_str(), "w");
    ::dup2(::fileno(file), STDERR_FILENO);
    try {
        body();
    } catch (...) {
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        std::fclose(file);
        throw;
    }
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(file);
    return sandbox.read("stderr.txt");
}

}  // namespace vantrell::testing
