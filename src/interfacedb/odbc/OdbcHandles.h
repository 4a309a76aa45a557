#pragma once

// ODBC handles for the Windows reader of Access files; only that reader includes this.

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace vantrell::db::odbc {

// One ODBC handle, freed with its kind.
class Handle {
  public:
    Handle(SQLSMALLINT kind, SQLHANDLE parent);
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT kind() const { return kind_; }

    // The driver's diagnostics for the last call on this handle: "[state] message" records
    // joined by "; ", or "" when there are none.
    std::string diagnostics() const;
    // The SQLSTATE of the first diagnostic record, or "".
    std::string firstState() const;

  private:
    SQLSMALLINT kind_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// UTF-8 text as ODBC's wide text, and back.
std::wstring toWide(const std::string& text);
std::string fromWide(const std::wstring& text);

}  // namespace vantrell::db::odbc
