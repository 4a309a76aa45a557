#pragma once

namespace vantrell::db {

// What the engine sets on a database before its first write.
// - Write-ahead logging keeps every statement's own commit cheap: one append to the log.
// - synchronous=NORMAL flushes to disk only when the log is copied into the database: a crash of
//   the process loses nothing that was committed; a crash of the whole system or a power loss
//   keeps the file sound but may lose the commits made since the last copy.
// - A page cache of up to 32 MiB instead of 2,000 pages (8 MB): a transaction that writes a
//   whole payroll's rows otherwise spills its changed pages to the log before it commits and
//   reads them back from there, and grows faster than the payroll.
// - The log is copied after about 10,000 pages (40 MB) instead of 1,000: a run that commits
//   hundreds of thousands of statements flushes a tenth as often. The price is a log file of up
//   to that size while the program runs, and more recent commits at risk in a power loss.
inline constexpr const char* kJournalSettings[] = {
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=NORMAL",
    "PRAGMA wal_autocheckpoint=10000",
    "PRAGMA cache_size=-32768",
};

}  // namespace vantrell::db
