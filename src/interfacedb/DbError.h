#pragma once

#include <string>

#include "diag/Failure.h"

namespace vantrell::db {

// A failure reported by the database engine; carries SQLite's result code (0 when the failure
// was found by the engine layer itself).
class DbError : public Failure {
  public:
    // A failure whose what() is `description`, with SQLite's result `code` when it has one.
    explicit DbError(const std::string& description, int code = 0)
        : Failure(description), code_(code) {}
    // SQLite's result code, or 0.
    int code() const { return code_; }

  private:
    int code_;
};

// The transaction that a step was to be part of is gone: SQLite rolled it back after an earlier
// failure (a full disk or an I/O error can do that), so nothing more can be added to it.
class TransactionLost : public DbError {
  public:
    using DbError::DbError;
};

}  // namespace vantrell::db
