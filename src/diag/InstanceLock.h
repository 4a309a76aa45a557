#pragma once

#include "diag/ProgramFolder.h"

namespace vantrell {

// Keeps a second copy of the program off a program folder that one copy is using: an exclusive
// lock on the file "Vantrell.lock" in the folder, held for the lock's life. The platform drops
// it when the process ends, however it ends, so a crashed copy never leaves the folder locked.
class InstanceLock {
  public:
    enum class Outcome {
        Acquired,       // this copy holds the folder
        HeldElsewhere,  // another copy holds it
        Unavailable     // the lock file cannot be made (the folder's own failures say why)
    };

    // Tries once, without waiting, to take the lock on `folder`; outcome() says how it went.
    // Never throws: a lock file that cannot be made or locked is Unavailable.
    explicit InstanceLock(const ProgramFolder& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether this copy holds the folder, another one does, or the lock could not be tried.
    Outcome outcome() const { return outcome_; }

  private:
    Outcome outcome_ = Outcome::Unavailable;
    void* handle_ = nullptr;  // Windows file handle
    int descriptor_ = -1;     // POSIX file descriptor
};

}  // namespace vantrell
