#include "standins/SimulatedRequestProcessor.h"

#include "diag/FileSystem.h"
#include "standins/BracedGuid.h"
#include "standins/CompanyFile.h"
#include "standins/CompanyFileHold.h"
#include "standins/ProcessorError.h"

namespace vantrell {

using standins::CompanyFile;
using standins::CompanyFileError;
using standins::CompanyFileHold;
using standins::ProcessorCode;
using standins::ProcessorError;

namespace {

constexpr int kSingleUser = 0;

// The hold of a session in `fileMode` on the company file at `path`, or the component's failure
// when another session's hold is in the way. A single-user session shares the file with no
// other; a multi-user session shares it with other multi-user ones; "either" joins them too (the
// stand-in has no screen whose mode it could take over).
std::unique_ptr<CompanyFileHold> holdFile(const std::filesystem::path& path, int fileMode) {
    auto hold = std::make_unique<CompanyFileHold>(path, fileMode == kSingleUser
                                                            ? CompanyFileHold::Mode::SingleUser
                                                            : CompanyFileHold::Mode::MultiUser);
    switch (hold->outcome()) {
        case CompanyFileHold::Outcome::Held:
            return hold;
        case CompanyFileHold::Outcome::HeldSingleUser:
            throw ProcessorError(fileMode == kSingleUser ? ProcessorCode::SingleUserFileShared
                                                         : ProcessorCode::FileOpenInOtherMode);
        case CompanyFileHold::Outcome::HeldMultiUser:
            throw ProcessorError(ProcessorCode::SingleUserFileShared);
        case CompanyFileHold::Outcome::Unavailable:
            break;
    }
    throw ProcessorError(ProcessorCode::CannotOpenCompanyFile);
}

}  // namespace

SimulatedRequestProcessor::SimulatedRequestProcessor(standins::UnixClock clock)
    : clock_(std::move(clock)) {}

SimulatedRequestProcessor::~SimulatedRequestProcessor() = default;

void SimulatedRequestProcessor::OpenConnection(const std::string& /*appID*/,
                                               const std::string& appName) {
    if (connected_) {
        throw ProcessorError(ProcessorCode::ConnectionAlreadyOpen);
    }
    if (appName.empty()) {
        throw ProcessorError(ProcessorCode::ApplicationNameMissing);
    }
    connected_ = true;
}

std::string SimulatedRequestProcessor::BeginSession(const std::string& qbFileName, int fileMode) {
    if (!connected_) {
        throw ProcessorError(ProcessorCode::NoConnection);
    }
    if (file_) {
        throw ProcessorError(ProcessorCode::SessionAlreadyBegun);
    }
    // Single user, multi user, either.
    if (fileMode < 0 || fileMode > 2) {
        throw ProcessorError(ProcessorCode::InvalidParameter);
    }
    if (qbFileName.empty()) {
        throw ProcessorError(ProcessorCode::CompanyFileNameMissing);
    }
    const std::filesystem::path path = utf8ToPath(qbFileName);
    std::unique_ptr<CompanyFile> file;
    try {
        file = std::make_unique<CompanyFile>(path);
    } catch (const CompanyFileError& e) {
        throw ProcessorError(e.reason() == CompanyFileError::Reason::NewerFormat
                                 ? ProcessorCode::CompanyFileVersion
                                 : ProcessorCode::CannotOpenCompanyFile);
    }
    hold_ = holdFile(path, fileMode);
    file_ = std::move(file);
    // A ticket in the component's form.
    ticket_ = standins::newBracedGuid();
    return ticket_;
}

void SimulatedRequestProcessor::checkSession(const std::string& ticket) const {
    if (!file_) {
        throw ProcessorError(ProcessorCode::NoSession);
    }
    if (ticket != ticket_) {
        throw ProcessorError(ProcessorCode::InvalidTicket);
    }
}

std::string SimulatedRequestProcessor::ProcessRequest(const std::string& ticket,
                                                      const std::string& request) {
    checkSession(ticket);
    return standins::RequestHandler(*file_, clock_, &iterators_).handle(request);
}

void SimulatedRequestProcessor::EndSession(const std::string& ticket) {
    checkSession(ticket);
    // Iterators are valid for the session that started them only.
    iterators_.clear();
    file_.reset();
    hold_.reset();
}

void SimulatedRequestProcessor::CloseConnection() {
    if (!connected_) {
        throw ProcessorError(ProcessorCode::NoConnection);
    }
    if (file_) {
        throw ProcessorError(ProcessorCode::CallInsideSession);
    }
    connected_ = false;
}

}  // namespace vantrell
