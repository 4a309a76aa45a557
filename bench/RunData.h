#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrell::bench {

// One Punch row as the interface database stores it.
struct StoredPunchRow {
    std::int64_t sequence = 0;
    std::string name;
    std::string date;  // the engine's storage text
    double hours = 0;
    std::string payType;
    bool posted = false;
    std::string error;
};

// What the program's run produced, kept so that the library floors work on the same data.
struct RunData {
    std::vector<std::string> schema;  // CREATE TABLE statements of the interface database
    std::vector<StoredPunchRow> punch;
    std::vector<std::string> employees;  // Employee and PayType right after the extraction
    std::vector<std::string> payTypes;
    std::string resolveResponse;  // the resolution's answer
    std::string request;          // the export's message
    std::string response;         // and its answer
    std::string checkRequest;     // the already-posted check's query (the same both times)
    // The pages of the check's answers, asked for again after each check, so that the floors
    // print and parse every page the check read (its trace file keeps only the last).
    std::vector<std::string> checkPagesNonePosted;
    std::vector<std::string> checkPagesAllPosted;
};

}  // namespace vantrell::bench
