#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../qblink/FakeRequestProcessor.h"
#include "../qblink/FakeWindowControls.h"
#include "../shell/ShellFakes.h"
#include "sampledata/ChronelWriter.h"
#include "shell/window/ProgramState.h"
#include "shell/window/frmVantrell.h"
#include "support/TestLog.h"

namespace vantrell::testing {

using Strings = std::vector<std::string>;

// The days of the usual time-and-attendance file: four tickets, two employees, two pay types.
std::vector<sampledata::Day> usualDays();

// A query response naming these employees and wage items, as the accounting system answers
// the resolution request.
std::string resolutionResponse(const Strings& employees, const Strings& payTypes);

// A time-tracking response: one element per (requestID, statusCode), in order; a non-zero
// code carries `message`.
std::string exportResponse(const std::vector<std::pair<std::string, int>>& answers,
                           const std::string& message = "Refused.");

// Rows of `sql` on the SQLite file at `path`, read through a connection of its own (not the
// engine's), each row's columns joined by "|"; Null reads "<null>".
Strings fileRows(const std::string& path, const std::string& sql);

// SQLite's own integrity check of the file: "ok" when sound.
std::string integrityOf(const std::string& path);

// The whole program over a sandbox: the interface database in the program folder, a
// time-and-attendance file and the window's logic with fakes around it. The request processor
// is the scripted fake `qb` unless `factory` is replaced before load().
class ProgramFixture : public ::testing::Test {
  public:
    // The tickets, names and responses of the usual file when everything goes well.
    static Strings usualPunch();
    static std::string usualResolution();
    static std::string usualExport();

  protected:
    ProgramFixture();

    void writeChronel(const std::vector<sampledata::Day>& days);

    // Main's preparation and the window's load. False when the window unloaded itself or the
    // interface database could not be prepared.
    bool load();
    void activate() { window->Form_Activate(); }
    void clickExport() { window->cmdExport_Click(); }
    void unload() { window->Form_Unload(); }

    // The staged tickets as "Sequence|Name|PayType|Error", in Sequence order, read from the file.
    Strings punch() const;
    Strings employees() const;
    Strings payTypes() const;
    std::string integrity() const { return integrityOf(interfaceDb()); }

    std::string interfaceDb() const { return t.sandbox.file("Vantrell.mdb").string(); }
    std::string logText() const { return t.logText(); }
    // True when the log holds an entry that begins with `entry` after its timestamp.
    bool logged(const std::string& entry) const;

    TestLog t;
    ProgramState state;
    FakeWindowControls controls;
    MemorySettings settings;
    ScriptedUser user;
    FakePrinter printer;
    ProcessorScript qb;
    RequestProcessorFactory factory;
    std::string chronelPath;
    std::string companyPath;
    std::unique_ptr<frmVantrell> window;
};

}  // namespace vantrell::testing
