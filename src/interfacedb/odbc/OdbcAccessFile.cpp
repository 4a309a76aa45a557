#include "interfacedb/odbc/OdbcAccessFile.h"

#include "interfacedb/DbError.h"

namespace vantrell::db::odbc {

namespace {

// The driver is not there (rather than there and unable to read the file): the driver
// manager's own states, and unixODBC's message when the driver's library is missing.
bool driverMissing(const Handle& connection) {
    const std::string state = connection.firstState();
    return state == "IM002" || state == "IM003" ||
           connection.diagnostics().find("Can't open lib") != std::string::npos;
}

// Under Wine the mdbtools driver runs on the host and takes the host's path of the file.
std::wstring pathForDriver(const std::wstring& driver, const std::wstring& path) {
    if (driver != L"MDBTools") {
        return path;
    }
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixFileName == nullptr) {
        return path;
    }
    char* unixPath = unixFileName(path.c_str());
    if (unixPath == nullptr) {
        return path;
    }
    std::wstring converted = widen(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return converted;
}

std::wstring wideColumn(SQLHSTMT statement, SQLUSMALLINT column) {
    SQLWCHAR buffer[512]{};
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(
            SQLGetData(statement, column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator)) ||
        indicator == SQL_NULL_DATA) {
        return {};
    }
    return reinterpret_cast<wchar_t*>(buffer);
}

}  // namespace

std::wstring accessConnectionString(const std::wstring& driver, const std::wstring& path) {
    std::wstring value = path;
    if (value.find_first_of(L";{}") != std::wstring::npos || value.starts_with(L' ') ||
        value.ends_with(L' ')) {
        std::wstring braced = L"{";
        for (const wchar_t c : value) {
            braced += c == L'}' ? std::wstring(L"}}") : std::wstring(1, c);
        }
        value = braced + L"}";
    }
    // "DBQ" in capitals: the mdbtools driver matches keywords with letter case significant.
    return L"Driver={" + driver + L"};DBQ=" + value + L";ReadOnly=1;";
}

AccessFile::AccessFile(std::string path, const std::vector<std::wstring>& drivers)
    : path_(std::move(path)) {
    environment_ = std::make_unique<Handle>(SQL_HANDLE_ENV, nullptr);
    SQLSetEnvAttr(environment_->get(), SQL_ATTR_ODBC_VERSION,
                  reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_OV_ODBC3)), 0);
    const std::wstring widePath = widen(path_);
    std::string tried;
    for (const std::wstring& driver : drivers) {
        auto connection = std::make_unique<Handle>(SQL_HANDLE_DBC, environment_->get());
        std::wstring text = accessConnectionString(driver, pathForDriver(driver, widePath));
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLDriverConnectW(
            connection->get(), nullptr, reinterpret_cast<SQLWCHAR*>(text.data()),
            static_cast<SQLSMALLINT>(text.size()), nullptr, 0, &length, SQL_DRIVER_NOPROMPT);
        if (SQL_SUCCEEDED(rc)) {
            driver_ = driver;
            connection_ = std::move(connection);
            return;
        }
        if (!driverMissing(*connection)) {
            throw DbError("Could not open the Access database '" + path_ +
                          "' with the ODBC driver " + narrow(driver) + ": " +
                          connection->diagnostics());
        }
        tried += (tried.empty() ? "\"" : ", \"") + narrow(driver) + "\"";
    }
    throw DbError("Could not open the Access database '" + path_ +
                  "': no ODBC driver for Access files is installed for " +
                  (sizeof(void*) == 8 ? "64" : "32") + "-bit programs (tried " + tried +
                  "). The Microsoft Access Database Engine of the same bitness provides one.");
}

std::vector<CatalogObject> AccessFile::catalog() const {
    Handle statement(SQL_HANDLE_STMT, connection_->get());
    if (!SQL_SUCCEEDED(
            SQLTablesW(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0))) {
        throw DbError("Could not list the tables of the Access database '" + path_ +
                      "': " + statement.diagnostics());
    }
    std::vector<CatalogObject> objects;
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) {
        objects.push_back(
            {narrow(wideColumn(statement.get(), 3)), narrow(wideColumn(statement.get(), 4))});
    }
    return objects;
}

void AccessFile::readTable(const std::string& name,
                           const std::function<void(const std::vector<ColumnInfo>&)>& describe,
                           const std::function<void(SQLHSTMT)>& row) const {
    const auto failure = [&](const std::string& why) {
        return DbError("Could not read table '" + name + "' of the Access database '" + path_ +
                       "': " + why);
    };
    // Access names hold no "]", so a bracketed name is always whole.
    if (name.find(']') != std::string::npos) {
        throw failure("the name is not one Access allows.");
    }
    Handle statement(SQL_HANDLE_STMT, connection_->get());
    std::wstring query = L"SELECT * FROM [" + widen(name) + L"]";
    if (!SQL_SUCCEEDED(SQLExecDirectW(statement.get(), reinterpret_cast<SQLWCHAR*>(query.data()),
                                      static_cast<SQLINTEGER>(query.size())))) {
        throw failure(statement.diagnostics());
    }
    SQLSMALLINT count = 0;
    SQLNumResultCols(statement.get(), &count);
    std::vector<ColumnInfo> columns(static_cast<std::size_t>(count));
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
        ColumnInfo& column = columns[i - 1];
        SQLWCHAR columnName[256]{};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT nullable = 0;
        if (!SQL_SUCCEEDED(SQLDescribeColW(statement.get(), i, columnName, 256, &nameLength,
                                           &column.sqlType, &column.size, &column.digits,
                                           &nullable))) {
            throw failure(statement.diagnostics());
        }
        column.name = narrow(reinterpret_cast<wchar_t*>(columnName));
        SQLWCHAR typeName[64]{};
        SQLSMALLINT typeLength = 0;
        if (SQL_SUCCEEDED(SQLColAttributeW(statement.get(), i, SQL_DESC_TYPE_NAME, typeName,
                                           sizeof typeName, &typeLength, nullptr))) {
            column.typeName = narrow(reinterpret_cast<wchar_t*>(typeName));
        }
    }
    describe(columns);
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA) {
            return;
        }
        if (!SQL_SUCCEEDED(rc)) {
            throw failure(statement.diagnostics());
        }
        row(statement.get());
    }
}

}  // namespace vantrell::db::odbc
