#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "standins/CompanyRecords.h"
#include "standins/RecordText.h"

namespace vantrell::standins {

// Full records as the accounting system returns them, nested aggregates included, each written
// whole to `out`.

// EmployeeRet: list core, name and its parts, type, and payroll information with one
// earnings line per wage item in `wageItems`.
void writeEmployeeRet(RecordText& out, const ListRecord& employee,
                      const std::vector<ListRecord>& wageItems);

// Writes the EmployeeRet records of one answer as writeEmployeeRet does: the earnings lines,
// the same in every record, are made once.
class EmployeeRetWriter {
  public:
    explicit EmployeeRetWriter(const std::vector<ListRecord>& wageItems);

    void write(RecordText& out, const ListRecord& employee) const;

  private:
    std::string earnings_;
};

// PayrollItemWageRet with its wage type and expense account.
void writeWageItemRet(RecordText& out, const ListRecord& wageItem,
                      const std::string& expenseAccountListId);

// PayrollItemNonWageRet: every payroll item of this company file that is not a wage item is an
// addition.
void writeNonWageItemRet(RecordText& out, const ListRecord& item);

// Writes the TimeTrackingRet records of posted tickets as qbXML `version` ("major.minor")
// defines them: from 6.0 on the billable status as BillableStatus; before that as IsBillable
// and, from 2.0, IsBilled. One writer serves all the records of an answer: the version is read
// once, and the text of the last moment written is kept, as the tickets of one export mostly
// share their moment of creation.
class TimeTrackingRetWriter {
  public:
    explicit TimeTrackingRetWriter(const std::string& version);

    void write(RecordText& out, const PostedTicket& posted);

  private:
    bool billableStatus_;  // BillableStatus, not IsBillable
    bool isBilled_;        // IsBilled after IsBillable
    std::int64_t moment_ = 0;
    std::string momentText_;    // moment_ as a time stamp; empty until the first record
    std::string editSequence_;  // moment_ as the edit sequence
};

}  // namespace vantrell::standins
