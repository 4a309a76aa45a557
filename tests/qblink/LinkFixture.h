#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRequestProcessor.h"
#include "FakeWindowControls.h"
#include "extract/ExtractionState.h"
#include "interfacedb/InterfaceDatabase.h"
#include "qblink/QuickBooksLink.h"
#include "support/TestLog.h"

namespace vantrell::testing {

// One response document holding `elements`, in the accounting system's envelope.
std::string qbxmlResponse(const std::string& elements);

// A link over a fresh interface database in a sandbox, with fake controls and processor.
class LinkFixture : public ::testing::Test {
  protected:
    LinkFixture();

    // Adds one Punch row; the date is "YYYY-MM-DD".
    void stagePunch(int sequence, const std::string& name, const std::string& date, float hours,
                    const std::string& payType);
    // Adds rows to Employee or PayType.
    void stageNames(const std::string& table, const std::vector<std::string>& names);

    // Every row of `sql`, the values of `columns` joined by "|"; a null value reads "<null>".
    std::vector<std::string> rows(const std::string& sql, const std::vector<std::string>& columns);
    // Punch as "Sequence|Error" lines in Sequence order.
    std::vector<std::string> punchRows();
    // The names left in Employee or PayType, in name order.
    std::vector<std::string> names(const std::string& table) {
        return rows("select Name from " + table + " order by Name", {"Name"});
    }

    // The log entries written so far, as text.
    std::string logText() const { return t.logText(); }

    TestLog t;
    InterfaceDatabase interfaceDb;
    ExtractionOutcome extraction;
    std::string strQBdata;
    FakeWindowControls controls;
    ProcessorScript qb;
    QuickBooksLink link{t.log, interfaceDb, extraction, strQBdata, qb.factory()};
};

}  // namespace vantrell::testing
