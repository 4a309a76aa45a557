#pragma once

#include <future>
#include <string>
#include <unordered_map>
#include <vector>

#include "interfacedb/Connection.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"

namespace vantrell::stage {

// What the already-posted check pairs the accounting system's answer with.
struct CheckInputs {
    // recordedChronelNames() of the company file.
    std::unordered_map<std::string, ChronelNames> journal;
    // readStagedTickets().
    std::vector<StagedTicket> staged;
};

// Both inputs, read through `cn`. Throws DbError.
CheckInputs readCheckInputs(db::Connection& cn, const std::string& companyFile);

// Reads the check's inputs while the accounting system is being asked for its tickets, which on
// a large stage takes about as long: once start() is called, on a thread and a connection of its
// own. That connection sees what was committed when it began, which is all the check's
// connection holds: nothing is written to the interface database while the check asks. A
// transaction left open on `cn` holds writes no other connection sees, so then nothing is read
// ahead and take() reads through `cn`.
class CheckInputsReading {
  public:
    // Reads nothing yet.
    CheckInputsReading(db::Connection& cn, std::string companyFile);
    // Waits for a reading begun; what it read or threw is dropped.
    ~CheckInputsReading();
    CheckInputsReading(const CheckInputsReading&) = delete;
    CheckInputsReading& operator=(const CheckInputsReading&) = delete;

    // Begins the reading; later calls do nothing. A thread that cannot be had leaves the
    // reading to take().
    void start();

    // The inputs, waited for when start() began reading them and read here otherwise. Throws
    // DbError (also one the reading threw on its thread). Once only.
    CheckInputs take();

  private:
    db::Connection& cn_;
    std::string companyFile_;
    bool started_ = false;
    std::future<CheckInputs> reading_;
};

}  // namespace vantrell::stage
