#pragma once

#include <memory>

#include "interfacedb/Connection.h"
#include "interfacedb/Recordset.h"

namespace vantrell {

// A reference to an engine object: empty until created, emptied when released.
using ConnectionRef = std::unique_ptr<db::Connection>;
using RecordsetRef = std::unique_ptr<db::Recordset>;

}  // namespace vantrell
