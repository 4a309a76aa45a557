#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrell::db {

class Recordset;

// A column's position in a result set, found by name the first time a set asks for it and kept
// while that set stays open on the same statement: a loop over many rows compares names once,
// not for every field of every row. A set opened again (or another set) finds it anew, so the
// position never outlives the statement it was found in. Failing to find it throws what
// Recordset::ordinalOf() throws, at the moment the field would have been read by name.
class FieldOrdinal {
  public:
    explicit FieldOrdinal(std::string_view name) : name_(name) {}

    std::size_t in(const Recordset& rs);
    const std::string& name() const { return name_; }

  private:
    std::string name_;
    std::uint64_t opening_ = 0;  // Recordset::opening() of the set the position is from
    std::size_t position_ = 0;
};

}  // namespace vantrell::db
