#pragma once

#include <string>

#include "diag/Failure.h"

namespace vantrell::db {

// A failure reported by the database engine; carries SQLite's result code (0 when the failure
// was found by the engine layer itself).
class DbError : public Failure {
  public:
    explicit DbError(const std::string& description, int code = 0)
        : Failure(description), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

}  // namespace vantrell::db
