#include "diag/InstanceLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vantrell {

namespace {
constexpr const char* kLockFileName = "Vantrell.lock";
}

#ifdef _WIN32

InstanceLock::InstanceLock(const ProgramFolder& folder) {
    HANDLE file = CreateFileW(folder.file(kLockFileName).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    OVERLAPPED start{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        handle_ = file;
        outcome_ = Outcome::Acquired;
        return;
    }
    outcome_ =
        GetLastError() == ERROR_LOCK_VIOLATION ? Outcome::HeldElsewhere : Outcome::Unavailable;
    CloseHandle(file);
}

InstanceLock::~InstanceLock() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

#else

InstanceLock::InstanceLock(const ProgramFolder& folder) {
    const int fd = open(folder.file(kLockFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    // flock belongs to this open file: a second copy's own open of the file conflicts with it.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        descriptor_ = fd;
        outcome_ = Outcome::Acquired;
        return;
    }
    outcome_ = errno == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Unavailable;
    close(fd);
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

#endif

}  // namespace vantrell
