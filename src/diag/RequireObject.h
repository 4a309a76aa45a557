#pragma once

#include <string>

#include "diag/Failure.h"

namespace vantrell {

// What a step reports when it uses an object that was never created or was already released:
// the description the log and the message box show, the same wherever it happens.
inline constexpr const char* kObjectNotSet = "Object variable or With block variable not set";

// The object that `reference` (a smart pointer) points to. Throws `Error` with kObjectNotSet
// when the reference is empty: Failure, or the failure type of the caller's layer where a
// handler of that layer must see it as one of its own (db::DbError in the engine's callers).
template <class Error = Failure, class Reference>
auto& requireObject(const Reference& reference) {
    if (!reference) {
        throw Error(std::string(kObjectNotSet));
    }
    return *reference;
}

}  // namespace vantrell
