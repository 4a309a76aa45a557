#include "standins/CompanyFileHold.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vantrell::standins {

namespace {

std::filesystem::path lockFileOf(const std::filesystem::path& companyFile) {
    std::filesystem::path path = companyFile;
    path += ".lock";
    return path;
}

}  // namespace

#ifdef _WIN32

namespace {

// Locks the first byte of `file` without waiting: 1 taken, 0 held by another handle, -1 failed.
int lockFirstByte(HANDLE file, bool exclusive) {
    OVERLAPPED start{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(file, flags, 0, 1, 0, &start)) {
        return 1;
    }
    return GetLastError() == ERROR_LOCK_VIOLATION ? 0 : -1;
}

}  // namespace

CompanyFileHold::CompanyFileHold(const std::filesystem::path& companyFile, Mode mode) {
    HANDLE file = CreateFileW(lockFileOf(companyFile).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const int taken = lockFirstByte(file, mode == Mode::SingleUser);
    if (taken == 1) {
        handle_ = file;
        outcome_ = Outcome::Held;
        return;
    }
    if (taken == 0) {
        // Held already: by a single-user session when even a shared lock is refused.
        const int shared = mode == Mode::SingleUser ? lockFirstByte(file, false) : 0;
        outcome_ = shared == 1 ? Outcome::HeldMultiUser : Outcome::HeldSingleUser;
    }
    CloseHandle(file);  // also drops a shared lock taken only to find the holder's mode
}

CompanyFileHold::~CompanyFileHold() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

#else

namespace {

// Locks `fd` without waiting: 1 taken, 0 held by another open file, -1 failed.
int lockFile(int fd, bool exclusive) {
    if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
        return 1;
    }
    return errno == EWOULDBLOCK ? 0 : -1;
}

}  // namespace

CompanyFileHold::CompanyFileHold(const std::filesystem::path& companyFile, Mode mode) {
    const std::filesystem::path path = lockFileOf(companyFile);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // One made already by a user who may write the folder serves as well read-only.
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        return;
    }
    // flock belongs to this open file: another session's own open of the file conflicts with it.
    const int taken = lockFile(fd, mode == Mode::SingleUser);
    if (taken == 1) {
        descriptor_ = fd;
        outcome_ = Outcome::Held;
        return;
    }
    if (taken == 0) {
        const int shared = mode == Mode::SingleUser ? lockFile(fd, false) : 0;
        outcome_ = shared == 1 ? Outcome::HeldMultiUser : Outcome::HeldSingleUser;
    }
    close(fd);  // also drops a shared lock taken only to find the holder's mode
}

CompanyFileHold::~CompanyFileHold() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

#endif

}  // namespace vantrell::standins
