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
        text += (text.empty() ? "[" : "; [") + narrow(reinterpret_cast<wchar_t*>(state)) + "] " +
                narrow(reinterpret_cast<wchar_t*>(message));
    }
}

std::string Handle::firstState() const {
    SQLWCHAR state[6]{};
    SQLWCHAR message[2]{};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRecW(kind_, handle_, 1, state, &native, message, 2, &length);
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO
               ? narrow(reinterpret_cast<wchar_t*>(state))
               : std::string();
}

}  // namespace vantrell::db::odbc
