#pragma once

#include "interfacedb/DbError.h"
#include "interfacedb/ProgramState.h"

namespace vantrell {

// The result set a module-level reference holds. Throws, as using a never-created object
// does, when the reference is empty.
inline db::Recordset& requireSet(const RecordsetRef& rs) {
    if (!rs) {
        throw db::DbError("Object variable or With block variable not set");
    }
    return *rs;
}

}  // namespace vantrell
