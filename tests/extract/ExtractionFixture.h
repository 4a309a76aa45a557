#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/ExtractionState.h"
#include "interfacedb/InterfaceDatabase.h"
#include "sampledata/ChronelWriter.h"
#include "support/TestLog.h"

namespace vantrell::testing {

// A time-and-attendance file in a sandbox, written through the sample-data writer, and an
// interface database beside it. Each pay-type column names "Pay <column>", except HOSTD,
// "Holiday Pay"; the accrual titles are Vacation, Sick and Personal.
struct ExtractionFixture : ::testing::Test {
    TestLog t;
    InterfaceDatabase interfaceDb;
    ExtractionState state;
    sampledata::ChronelWriter chronel{t.sandbox.file("Chronel.db")};

    static sampledata::ExportDefinition standardExport();
    static sampledata::Day day(sampledata::Cell name, sampledata::Cell date, sampledata::Cell reg,
                               sampledata::Cell ot1 = 0.0, sampledata::Cell ot2 = 0.0,
                               sampledata::Cell code = {}, sampledata::Cell useDiff = 0);

    // Adds the standard export definition and titles.
    void addStandardSetup();

    // Commits the file, opens both databases (once) and runs GetChronelData.
    void run();

    // Commits the file and opens both databases, once.
    void open();

    // Punch rows by Sequence as "Sequence|Name|Date|Hours|PayType"; checks that every row is
    // unposted and without an error text.
    std::vector<std::string> punch();

    // The Name values of Employee or PayType, sorted.
    std::vector<std::string> names(const std::string& table);

    // Runs a statement of its own on the interface database.
    void executeOnInterface(const std::string& sql);
};

}  // namespace vantrell::testing
