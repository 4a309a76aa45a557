#include "standins/ProcessorError.h"

namespace vantrell::standins {

// The link tells these apart by the contract's constants.
static_assert(static_cast<std::uint32_t>(ProcessorCode::SingleUserFileShared) ==
              kSingleUserFileShared);
static_assert(static_cast<std::uint32_t>(ProcessorCode::FileOpenInOtherMode) ==
              kFileOpenInOtherMode);
static_assert(static_cast<std::uint32_t>(ProcessorCode::UnsupportedVersion) ==
              kUnsupportedQbxmlVersion);

// Texts of the component's string table (QBXMLRP.dll 13.0), kept exactly, double spaces
// included.
const char* processorMessage(ProcessorCode code) {
    switch (code) {
        case ProcessorCode::ParseError:
            return "QuickBooks found an error when parsing the provided XML text stream.";
        case ProcessorCode::UnexpectedError:
            return "Unexpected error. Check the \"qbsdklog.txt\" file for possible additional "
                   "information.";
        case ProcessorCode::CannotOpenCompanyFile:
            return "Could not open the specified QuickBooks company data file.";
        case ProcessorCode::CompanyFileVersion:
            return "Could not determine the version of the QuickBooks company data file, or the "
                   "data file has been modified and requires a newer version of QuickBooks.";
        case ProcessorCode::NoSession:
            return "The \"BeginSession\" method has not been called or it did not succeed.";
        case ProcessorCode::InvalidTicket:
            return "The ticket parameter is invalid.";
        case ProcessorCode::NoConnection:
            return "The \"OpenConnection\" method has not been called.";
        case ProcessorCode::FileOpenInOtherMode:
            return "The QuickBooks company data file is currently open in a mode other than the "
                   "one specified by your application.";
        case ProcessorCode::SessionAlreadyBegun:
            return "Before calling the \"BeginSession\" method, you must call the \"EndSession\" "
                   "method to terminate the current session.";
        case ProcessorCode::ConnectionAlreadyOpen:
            return "You cannot make multiple successive calls to the \"OpenConnection\" method. "
                   "Call \"CloseConnection\" before calling \"OpenConnection\" again.";
        case ProcessorCode::RollbackNotSupported:
            return "QuickBooks does not support the \"rollbackOnError\" value of the \"onError\" "
                   "attribute.";
        case ProcessorCode::ApplicationNameMissing:
            return "A call to the \"OpenConnection\" method must include the name of your "
                   "application.";
        case ProcessorCode::CompanyFileNameMissing:
            return "If QuickBooks is not running, a call to the \"BeginSession\" method must "
                   "include the name of the QuickBooks company data file.";
        case ProcessorCode::SingleUserFileShared:
            return "This application requires Single User file access mode and there is already "
                   "another application sharing data with this QuickBooks company data file.";
        case ProcessorCode::UnsupportedVersion:
            return "The version of QBXML that was requested is not supported or is unknown.";
        case ProcessorCode::InvalidParameter:
            return "Invalid parameter.";
        case ProcessorCode::CallInsideSession:
            return "This call cannot be made after calling \"BeginSession\" and before calling "
                   "\"EndSession\".";
    }
    return "Unexpected error. Check the \"qbsdklog.txt\" file for possible additional "
           "information.";
}

ProcessorError::ProcessorError(ProcessorCode code)
    : ProcessorFailure(static_cast<std::uint32_t>(code), processorMessage(code)) {}

}  // namespace vantrell::standins
