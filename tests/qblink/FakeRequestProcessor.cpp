#include "FakeRequestProcessor.h"

#include "diag/Failure.h"

namespace vantrell::testing {

RequestProcessorFactory ProcessorScript::factory() {
    return [this]() -> std::unique_ptr<RequestProcessor> {
        if (failCreation) {
            throw Failure("ActiveX component can't create object");
        }
        ++created;
        return std::make_unique<FakeRequestProcessor>(*this);
    };
}

void FakeRequestProcessor::call(const std::string& operation, const std::string& line) {
    script_.calls.push_back(line);
    if (auto failure = script_.failures.find(operation); failure != script_.failures.end()) {
        throw Failure(failure->second);
    }
}

void FakeRequestProcessor::OpenConnection(const std::string& appID, const std::string& appName) {
    call("OpenConnection", "OpenConnection " + appID + "|" + appName);
}

std::string FakeRequestProcessor::BeginSession(const std::string& qbFileName, int fileMode) {
    call("BeginSession", "BeginSession " + qbFileName + "|" + std::to_string(fileMode));
    return script_.ticketToIssue;
}

std::string FakeRequestProcessor::ProcessRequest(const std::string& ticket,
                                                 const std::string& request) {
    if (request.find("<TimeTrackingQueryRq") != std::string::npos) {
        script_.checkRequests.push_back(request);
        if (request.find(" iterator=\"") != std::string::npos) {
            return pageOf(request);
        }
        if (script_.postedTicketsAnswer.empty()) {
            throw Failure(script_.checkFailure);
        }
        return script_.postedTicketsAnswer;
    }
    // The question behind the hints under missing names: answered as by a company file that
    // holds nothing more, so that it takes no answer meant for the program's own requests.
    if (request.find("<PayrollItemNonWageQueryRq") != std::string::npos) {
        script_.hintRequests.push_back(request);
        return script_.hintsAnswer;
    }
    script_.requests.push_back(request);
    call("ProcessRequest", "ProcessRequest " + ticket);
    if (script_.beforeAnswer) {
        script_.beforeAnswer();
    }
    if (script_.responses.empty()) {
        return {};
    }
    std::string response = std::move(script_.responses.front());
    script_.responses.pop_front();
    return response;
}

std::string FakeRequestProcessor::pageOf(const std::string& request) {
    if (script_.refusesPages) {
        throw ProcessorFailure(kUnsupportedQbxmlVersion,
                               "The version of QBXML that was requested is not supported or is "
                               "unknown.");
    }
    if (script_.pageAnswer) {
        return script_.pageAnswer(request);
    }
    if (script_.postedTicketsAnswer.empty()) {
        throw Failure(script_.checkFailure);
    }
    std::string page = script_.postedTicketsAnswer;
    const std::size_t answer = page.find("<TimeTrackingQueryRs ");
    if (answer != std::string::npos) {
        if (page.find("iteratorID") == std::string::npos) {
            page.insert(answer + 20, " iteratorID=\"{fake-iterator}\"");
        }
        if (page.find("iteratorRemainingCount") == std::string::npos) {
            page.insert(answer + 20, " iteratorRemainingCount=\"0\"");
        }
    }
    return page;
}

void FakeRequestProcessor::EndSession(const std::string& ticket) {
    call("EndSession", "EndSession " + ticket);
}

void FakeRequestProcessor::CloseConnection() {
    call("CloseConnection", "CloseConnection");
}

}  // namespace vantrell::testing
