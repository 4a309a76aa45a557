#pragma once

#include <string>

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
        Unavailable     // the lock file cannot be made or locked: failure() says why
    };

    // Tries once, without waiting, to take the lock on `folder`; outcome() says how it went.
    // Never throws: a lock file that cannot be made or locked is Unavailable.
    explicit InstanceLock(const ProgramFolder& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether this copy holds the folder, another one does, or the lock could not be tried.
    Outcome outcome() const { return outcome_; }

    // When Unavailable: the lock file's path and the system's reason; otherwise empty.
    const std::string& failure() const { return failure_; }

  private:
    Outcome outcome_ = Outcome::Unavailable;
    std::string failure_;
    void* handle_ = nullptr;  // Windows file handle
    int descriptor_ = -1;     // POSIX file descriptor
};

}  // namespace vantrell
