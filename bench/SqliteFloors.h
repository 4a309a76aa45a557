#pragma once

#include <filesystem>
#include <string>

#include "Measurement.h"
#include "RunData.h"

namespace vantrell::bench {

// What SQLite alone needs for the database work of each phase, on the same rows, with one
// prepared statement reused throughout. Only the work itself is timed, not making the files.
// Each opens its files itself and throws std::runtime_error when a file cannot be opened or a
// statement fails; a query's rows are read until SQLite gives no more, so a read that fails
// midway ends early without a failure.

// Every row and column of the extraction's REPORTDATA query on the time-and-attendance file.
Sample readReportData(const std::filesystem::path& chronelFile);

// The staged Punch rows inserted into a new file with the interface database's tables, an index
// on each lookup column and the engine's journal settings: in one transaction, or each row
// committed on its own. Any file at `file` is replaced.
Sample insertPunch(const std::filesystem::path& file, const RunData& data, bool oneTransaction);

// Every row and column of the export's Punch query, on a file made by insertPunch.
Sample readPunch(const std::filesystem::path& file);

// Each Punch row deleted by its Sequence, all in one transaction.
Sample deletePunchInOneTransaction(const std::filesystem::path& file, const RunData& data);

// The staged employee and pay-type names deleted one by one in one transaction (the tables are
// filled first, untimed), on a file made by insertPunch.
Sample deleteNames(const std::filesystem::path& file, const RunData& data);

// Employee and PayType emptied and filled again with the distinct names of Punch, in one
// transaction, on a file made by insertPunch.
Sample rebuildNames(const std::filesystem::path& file);

// For each Punch row, its journal row written from it and the row deleted, all in one
// transaction, on a file made by insertPunch.
Sample recordAndDeletePunch(const std::filesystem::path& file, const RunData& data);

// Every employee and wage item of the company file, read in name order.
Sample readCompanyLists(const std::filesystem::path& companyFile);

// Each ticket's employee and wage item looked up by name in the company file, in one
// transaction as the simulator answers a message.
Sample lookUpTicketNames(const std::filesystem::path& companyFile, const RunData& data);

// Every time ticket of the company file dated from `fromDate` to `toDate` (yyyy-mm-dd) in date
// order, with its employee and wage item, as the simulator reads them to answer a query.
Sample readCompanyTickets(const std::filesystem::path& companyFile, const std::string& fromDate,
                          const std::string& toDate);

}  // namespace vantrell::bench
