#pragma once

#include <cstdint>

#include "qblink/RequestProcessor.h"

namespace vantrell::standins {

// The request processor's failure codes (HRESULTs) that the simulator reports.
enum class ProcessorCode : std::uint32_t {
    ParseError = 0x80040400,
    UnexpectedError = 0x80040402,
    CannotOpenCompanyFile = 0x80040403,
    CompanyFileVersion = 0x80040406,
    NoSession = 0x8004040C,
    FileOpenInOtherMode = 0x80040410,
    InvalidTicket = 0x8004040D,
    NoConnection = 0x8004040F,
    SessionAlreadyBegun = 0x80040411,
    ConnectionAlreadyOpen = 0x80040412,
    RollbackNotSupported = 0x80040413,
    ApplicationNameMissing = 0x80040415,
    CompanyFileNameMissing = 0x80040416,
    SingleUserFileShared = 0x80040422,
    UnsupportedVersion = 0x80040423,
    InvalidParameter = 0x80040425,
    CallInsideSession = 0x8004042E,
};

// A failure of one of the request processor's operations. what() is the component's own text
// for the code, word for word, so callers see what they would see from the real component.
class ProcessorError : public ProcessorFailure {
  public:
    // The failure of `code`, with the component's text for it.
    explicit ProcessorError(ProcessorCode code);
    // The HRESULT the real component would report.
    ProcessorCode code() const { return static_cast<ProcessorCode>(ProcessorFailure::code()); }
};

// The component's text for a code.
const char* processorMessage(ProcessorCode code);

}  // namespace vantrell::standins
