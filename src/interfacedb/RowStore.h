#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interfacedb/DateTime.h"
#include "interfacedb/Value.h"

namespace vantrell::db::detail {

// The fields of a result set's rows, one after the other, held compactly: sixteen bytes a
// field in blocks that are never moved once filled, and one buffer for all text, so that
// reading many rows makes no allocation per field and copies nothing as it grows.
// at() hands a field back as the Value it was stored as.
class RowStore {
  public:
    // Each adds one field after the others. appendText() throws DbError for a text of 4 GiB or
    // more; nothing else here throws, memory aside.
    void appendNull() { push({0, 0, Value::Kind::Null}); }
    void append(bool b) { push({b ? 1u : 0u, 0, Value::Kind::Boolean}); }
    void append(std::int64_t n);
    void append(float f);
    void append(double d);
    void append(DateTime date);
    void appendText(std::string_view text);

    // The field at `index` (row times columns plus column); the index must be below size().
    Value at(std::size_t index) const;
    std::size_t size() const { return size_; }

    // Drops every field and gives the memory back.
    void clear();
    // Drops every field and keeps the memory for the next ones.
    void reuse();

  private:
    struct Cell {
        std::uint64_t bits;    // the number's bits, or the text's offset in text_
        std::uint32_t length;  // the text's length in bytes
        Value::Kind kind;
    };
    static constexpr std::size_t kBlockCells = 4096;

    void push(const Cell& field);
    const Cell& cell(std::size_t index) const {
        return blocks_[index / kBlockCells][index % kBlockCells];
    }

    std::vector<std::vector<Cell>> blocks_;  // each of kBlockCells, the last one filling
    std::size_t size_ = 0;
    std::string text_;
};

}  // namespace vantrell::db::detail
