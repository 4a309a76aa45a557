#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::testing {

// What the recording processor saw, kept by the test.
struct ProcessorRecord {
    std::vector<std::string> calls;  // operation names, in order
    bool hourglassDuringExport = false;
    bool hourglassDuringUndo = false;  // while a delete of an undo was being answered
};

// The simulated accounting system, recording each operation and whether the hourglass
// pointer was up while a time-tracking request was being answered.
class RecordingProcessor final : public RequestProcessor {
  public:
    explicit RecordingProcessor(ProcessorRecord& record) : record_(record) {}

    void OpenConnection(const std::string& appID, const std::string& appName) override {
        record_.calls.push_back("OpenConnection");
        simulator_.OpenConnection(appID, appName);
    }
    std::string BeginSession(const std::string& qbFileName, int fileMode) override {
        record_.calls.push_back("BeginSession");
        return simulator_.BeginSession(qbFileName, fileMode);
    }
    std::string ProcessRequest(const std::string& ticket, const std::string& request) override {
        record_.calls.push_back("ProcessRequest");
        if (request.find("TimeTrackingAddRq") != std::string::npos) {
            record_.hourglassDuringExport = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
        }
        if (request.find("TxnDelRq") != std::string::npos) {
            record_.hourglassDuringUndo = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
        }
        return simulator_.ProcessRequest(ticket, request);
    }
    void EndSession(const std::string& ticket) override {
        record_.calls.push_back("EndSession");
        simulator_.EndSession(ticket);
    }
    void CloseConnection() override {
        record_.calls.push_back("CloseConnection");
        simulator_.CloseConnection();
    }

    static RequestProcessorFactory factoryFor(ProcessorRecord& record) {
        return [&record]() -> std::unique_ptr<RequestProcessor> {
            return std::make_unique<RecordingProcessor>(record);
        };
    }

  private:
    ProcessorRecord& record_;
    SimulatedRequestProcessor simulator_;
};

}  // namespace vantrell::testing
