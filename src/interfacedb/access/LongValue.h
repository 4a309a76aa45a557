#pragma once

#include "interfacedb/access/Libmdb.h"

#include <cstddef>
#include <optional>
#include <string>

namespace vantrell::db::access {

// The whole stored content of a Memo or OLE Object value, whose 12-byte reference `reference`
// of `size` bytes lies in the row being read (inline data follows it there; otherwise it
// points to one long-value page row or to a chain of them). Nothing when the file is damaged:
// a page that cannot be read, a chain that ends early, a reference of an unknown kind.
std::optional<std::string> readLongValue(MdbHandle* mdb, const unsigned char* reference,
                                         std::size_t size);

}  // namespace vantrell::db::access
