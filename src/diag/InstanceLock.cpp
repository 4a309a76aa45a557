#include "diag/InstanceLock.h"

#include <system_error>

#include "diag/FileSystem.h"

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

// What the system says of its error `code` (errno, or GetLastError on Windows) on `what`.
std::string lockFailure(const std::string& what, const std::filesystem::path& path, int code) {
    return what + " '" + pathToUtf8(path) + "': " + std::system_category().message(code);
}

}  // namespace

#ifdef _WIN32

InstanceLock::InstanceLock(const ProgramFolder& folder) {
    const std::filesystem::path path = folder.file(kLockFileName);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure_ =
            lockFailure("Could not open the lock file", path, static_cast<int>(GetLastError()));
        return;
    }
    OVERLAPPED start{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        handle_ = file;
        outcome_ = Outcome::Acquired;
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION) {
        outcome_ = Outcome::HeldElsewhere;
    } else {
        failure_ = lockFailure("Could not lock", path, static_cast<int>(error));
    }
    CloseHandle(file);
}

InstanceLock::~InstanceLock() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

#else

InstanceLock::InstanceLock(const ProgramFolder& folder) {
    const std::filesystem::path path = folder.file(kLockFileName);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        failure_ = lockFailure("Could not open the lock file", path, errno);
        return;
    }
    // flock belongs to this open file: a second copy's own open of the file conflicts with it.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        descriptor_ = fd;
        outcome_ = Outcome::Acquired;
        return;
    }
    const int error = errno;
    if (error == EWOULDBLOCK) {
        outcome_ = Outcome::HeldElsewhere;
    } else {
        failure_ = lockFailure("Could not lock", path, error);
    }
    close(fd);
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

#endif

}  // namespace vantrell
