#include "interfacedb/FieldOrdinal.h"

#include "interfacedb/Recordset.h"

namespace vantrell::db {

std::size_t FieldOrdinal::in(const Recordset& rs) {
    const std::uint64_t opening = rs.opening();
    if (opening == 0 || opening != opening_) {
        position_ = rs.ordinalOf(name_);
        opening_ = opening;
    }
    return position_;
}

}  // namespace vantrell::db
