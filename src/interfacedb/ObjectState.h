#pragma once

namespace vantrell::db {

// Connection and result-set states as the engine reports them.
enum ObjectState : int {
    kStateClosed = 0,
    kStateOpen = 1,
    kStateConnecting = 2,
    kStateExecuting = 4,
    kStateFetching = 8,
};

}  // namespace vantrell::db
