#include "interfacedb/odbc/OdbcHandles.h"

#include "interfacedb/DbError.h"

namespace vantrell::db::odbc {

Handle::Handle(SQLSMALLINT kind, SQLHANDLE parent) : kind_(kind) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(kind, parent, &handle_))) {
        handle_ = SQL_NULL_HANDLE;
        throw DbError("The ODBC driver manager could not make a handle; ODBC is not usable here.");
    }
}

Handle::~Handle() {
    if (handle_ != SQL_NULL_HANDLE) {
        if (kind_ == SQL_HANDLE_DBC) {
            SQLDisconnect(handle_);
        }
        SQLFreeHandle(kind_, handle_);
    }
}

std::string Handle::diagnostics() const {
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6]{};
        SQLWCHAR message[1024]{};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(kind_, handle_, record, state, &native, message,
                                          static_cast<SQLSMALLINT>(std::size(message)), &length))) {
            return text;
        }
        text += (text.empty() ? "[" : "; [") + fromWide(reinterpret_cast<wchar_t*>(state)) + "] " +
                fromWide(reinterpret_cast<wchar_t*>(message));
    }
}

std::string Handle::firstState() const {
    SQLWCHAR state[6]{};
    SQLWCHAR message[2]{};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRecW(kind_, handle_, 1, state, &native, message, 2, &length);
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO
               ? fromWide(reinterpret_cast<wchar_t*>(state))
               : std::string();
}

std::wstring toWide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string fromWide(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

}  // namespace vantrell::db::odbc
