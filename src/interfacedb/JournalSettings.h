#pragma once

namespace vantrell::db {

// What the engine sets on a database before its first write. Write-ahead logging keeps every
// statement's own commit cheap; with synchronous=NORMAL a crash of the process loses nothing
// that was committed, and a crash of the whole system keeps the file sound but may lose the
// last commits before it.
inline constexpr const char* kJournalSettings[] = {
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=NORMAL",
};

}  // namespace vantrell::db
