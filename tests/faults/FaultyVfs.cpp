#include "FaultyVfs.h"

#include <sqlite3.h>

#include <csignal>
#include <cstring>
#include <stdexcept>

namespace vantrell::testing {

namespace {

struct Arming {
    bool failing = false;
    FaultyVfs::Fault fault = FaultyVfs::Fault::IoError;
    int nth = 0;
    int count = -1;  // every write from nth on
    std::string writeTarget;
    std::string readOnlyTarget;
    int writes = 0;
};

Arming arming;
sqlite3_vfs* platform = nullptr;
sqlite3_vfs shim;

// The shim's file: the platform's file lives right behind it in the same allocation.
struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
    const char* name;  // SQLite keeps it for as long as the file is open
};

bool nameHas(const char* name, const std::string& part) {
    return !part.empty() && name != nullptr && std::strstr(name, part.c_str()) != nullptr;
}

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

int shimClose(sqlite3_file* file) {
    return real(file)->pMethods->xClose(real(file));
}
int shimRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}
int shimWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    auto* shimFile = reinterpret_cast<ShimFile*>(file);
    if (arming.failing && nameHas(shimFile->name, arming.writeTarget) &&
        ++arming.writes >= arming.nth &&
        (arming.count < 0 || arming.writes < arming.nth + arming.count)) {
        switch (arming.fault) {
            case FaultyVfs::Fault::IoError:
                return SQLITE_IOERR_WRITE;
            case FaultyVfs::Fault::DiskFull:
                return SQLITE_FULL;
            case FaultyVfs::Fault::KillProcess:
                real(file)->pMethods->xWrite(real(file), buffer, amount / 2, offset);
                std::raise(SIGKILL);
                return SQLITE_IOERR_WRITE;
        }
    }
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}
int shimTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return real(file)->pMethods->xTruncate(real(file), size);
}
int shimSync(sqlite3_file* file, int flags) {
    return real(file)->pMethods->xSync(real(file), flags);
}
int shimFileSize(sqlite3_file* file, sqlite3_int64* size) {
    return real(file)->pMethods->xFileSize(real(file), size);
}
int shimLock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xLock(real(file), level);
}
int shimUnlock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xUnlock(real(file), level);
}
int shimCheckReservedLock(sqlite3_file* file, int* out) {
    return real(file)->pMethods->xCheckReservedLock(real(file), out);
}
int shimFileControl(sqlite3_file* file, int op, void* arg) {
    return real(file)->pMethods->xFileControl(real(file), op, arg);
}
int shimSectorSize(sqlite3_file* file) {
    return real(file)->pMethods->xSectorSize(real(file));
}
int shimDeviceCharacteristics(sqlite3_file* file) {
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}
int shimShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out) {
    return real(file)->pMethods->xShmMap(real(file), page, size, extend, out);
}
int shimShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return real(file)->pMethods->xShmLock(real(file), offset, n, flags);
}
void shimShmBarrier(sqlite3_file* file) {
    real(file)->pMethods->xShmBarrier(real(file));
}
int shimShmUnmap(sqlite3_file* file, int deleteFlag) {
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}
int shimFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    return real(file)->pMethods->xFetch(real(file), offset, amount, out);
}
int shimUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return real(file)->pMethods->xUnfetch(real(file), offset, page);
}

const sqlite3_io_methods shimMethods = {3,
                                        shimClose,
                                        shimRead,
                                        shimWrite,
                                        shimTruncate,
                                        shimSync,
                                        shimFileSize,
                                        shimLock,
                                        shimUnlock,
                                        shimCheckReservedLock,
                                        shimFileControl,
                                        shimSectorSize,
                                        shimDeviceCharacteristics,
                                        shimShmMap,
                                        shimShmLock,
                                        shimShmBarrier,
                                        shimShmUnmap,
                                        shimFetch,
                                        shimUnfetch};

int shimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shimFile = reinterpret_cast<ShimFile*>(file);
    shimFile->real = reinterpret_cast<sqlite3_file*>(shimFile + 1);
    shimFile->name = name;
    if (nameHas(name, arming.readOnlyTarget) && (flags & SQLITE_OPEN_MAIN_DB) != 0) {
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    }
    const int rc = platform->xOpen(platform, name, shimFile->real, flags, outFlags);
    shimFile->base.pMethods = shimFile->real->pMethods != nullptr ? &shimMethods : nullptr;
    return rc;
}

}  // namespace

FaultyVfs& FaultyVfs::install() {
    static FaultyVfs vfs;
    if (platform == nullptr) {
        platform = sqlite3_vfs_find(nullptr);
        if (platform == nullptr) {
            throw std::runtime_error("SQLite has no VFS");
        }
        shim = *platform;
        shim.zName = "vantrell-faulty";
        shim.pNext = nullptr;
        shim.szOsFile = static_cast<int>(sizeof(ShimFile)) + platform->szOsFile;
        shim.xOpen = shimOpen;
        if (sqlite3_vfs_register(&shim, 1) != SQLITE_OK) {
            throw std::runtime_error("the faulty VFS could not be registered");
        }
    }
    vfs.disarm();
    return vfs;
}

void FaultyVfs::failWrites(Fault fault, int nth, const std::string& fileName, int count) {
    arming.failing = true;
    arming.fault = fault;
    arming.nth = nth;
    arming.count = count;
    arming.writeTarget = fileName;
    arming.writes = 0;
}

void FaultyVfs::openReadOnly(const std::string& fileName) {
    arming.readOnlyTarget = fileName;
}

void FaultyVfs::disarm() {
    arming = Arming{};
}

int FaultyVfs::writesSeen() const {
    return arming.writes;
}

}  // namespace vantrell::testing
