#include "interfacedb/RowStore.h"

#include <bit>
#include <limits>

#include "interfacedb/DbError.h"

namespace vantrell::db::detail {

void RowStore::push(const Cell& field) {
    const std::size_t block = size_ / kBlockCells;
    if (block == blocks_.size()) {
        blocks_.emplace_back().reserve(kBlockCells);
    }
    blocks_[block].push_back(field);
    ++size_;
}

void RowStore::append(std::int64_t n) {
    push({std::bit_cast<std::uint64_t>(n), 0, Value::Kind::Integer});
}

void RowStore::append(float f) {
    push({std::bit_cast<std::uint32_t>(f), 0, Value::Kind::Single});
}

void RowStore::append(double d) {
    push({std::bit_cast<std::uint64_t>(d), 0, Value::Kind::Double});
}

void RowStore::append(DateTime date) {
    static_assert(sizeof(DateTime) == sizeof(std::uint64_t));
    push({std::bit_cast<std::uint64_t>(date), 0, Value::Kind::Date});
}

void RowStore::appendText(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw DbError("A text of " + std::to_string(text.size()) + " bytes is too long to read.");
    }
    push({text_.size(), static_cast<std::uint32_t>(text.size()), Value::Kind::Text});
    text_.append(text);
}

Value RowStore::at(std::size_t index) const {
    const Cell& field = cell(index);
    switch (field.kind) {
        case Value::Kind::Null:
            break;
        case Value::Kind::Boolean:
            return Value(field.bits != 0);
        case Value::Kind::Integer:
            return Value(std::bit_cast<std::int64_t>(field.bits));
        case Value::Kind::Single:
            return Value(std::bit_cast<float>(static_cast<std::uint32_t>(field.bits)));
        case Value::Kind::Double:
            return Value(std::bit_cast<double>(field.bits));
        case Value::Kind::Date:
            return Value(std::bit_cast<DateTime>(field.bits));
        case Value::Kind::Text:
            return Value(text_.substr(static_cast<std::size_t>(field.bits), field.length));
    }
    return {};
}

void RowStore::clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    size_ = 0;
    text_.clear();
    text_.shrink_to_fit();
}

void RowStore::reuse() {
    for (auto& block : blocks_) {
        block.clear();
    }
    size_ = 0;
    text_.clear();
}

}  // namespace vantrell::db::detail
