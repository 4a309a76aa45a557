#pragma once

#include <string>

namespace vantrell::testing {

// A SQLite VFS over the platform's own that fails, or kills the process, at a chosen write to
// chosen files, or opens them read-only as the platform does for a write-protected file. It is
// installed as the default VFS, so the engine's own connections go through it, and passes
// everything through until armed.
class FaultyVfs {
  public:
    enum class Fault {
        IoError,     // the write fails (SQLITE_IOERR_WRITE)
        DiskFull,    // the write fails with SQLITE_FULL, as on a full disk
        KillProcess  // half of the write reaches the file, then the process gets SIGKILL
    };

    // Installs the VFS once for the process and returns it, disarmed.
    static FaultyVfs& install();

    // From the `nth` write (1 = the next) to a file whose name contains `fileName` on, every
    // write meets `fault`; with a `count`, only that many, and the later ones pass again.
    void failWrites(Fault fault, int nth, const std::string& fileName, int count = -1);

    // Files whose name contains `fileName` open read-only from now on.
    void openReadOnly(const std::string& fileName);

    // Back to passing everything through.
    void disarm();

    // Writes to the chosen files since the VFS was last armed.
    int writesSeen() const;
};

}  // namespace vantrell::testing
