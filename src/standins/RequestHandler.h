#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "standins/CompanyFile.h"
#include "standins/QueryIterators.h"

namespace vantrell::standins {

// Seconds since 1970 UTC, the simulator's clock.
using UnixClock = std::function<std::int64_t()>;
// The system clock's seconds since 1970 UTC. Never throws.
std::int64_t systemUnixSeconds();

// Answers qbXML request messages from one company file, as the accounting system does: one
// response element per request, in request order, echoing each requestID. Queries return
// full records; accepted time tickets are stored. Under stopOnError every request after the
// first refused one is answered 3231 and not processed; requests already processed stay.
class RequestHandler {
  public:
    // Answers from `file`, which must outlive the handler, dating what it stores by `clock`.
    // Query iterators are kept in `iterators` (the session's, which must outlive the handler),
    // or, when none is given, in the handler's own, for its own messages.
    RequestHandler(CompanyFile& file, UnixClock clock, QueryIterators* iterators = nullptr);
    RequestHandler(const RequestHandler&) = delete;
    RequestHandler& operator=(const RequestHandler&) = delete;

    // The whole response message for the whole request message. Throws ProcessorError:
    // ParseError (and no request is processed) when the message is not well-formed or not a
    // message of the requests answered here; UnsupportedVersion (for a version the file's
    // accounting system is set not to answer too: CompanyFile::highestQbxmlVersion),
    // RollbackNotSupported; and
    // UnexpectedError when the company file fails as a whole: the tickets are committed a
    // thousand requests at a time, so those of the groups before the failure stay stored.
    std::string handle(std::string_view request);

  private:
    CompanyFile& file_;
    UnixClock clock_;
    QueryIterators ownIterators_;
    QueryIterators& iterators_;
};

}  // namespace vantrell::standins
