#include "standins/RequestHandler.h"

#include <chrono>
#include <type_traits>
#include <variant>

#include "qblink/XmlWriting.h"
#include "standins/ListQueryAnswer.h"
#include "standins/ProcessorError.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"
#include "standins/RecordWriter.h"
#include "standins/RequestReader.h"
#include "standins/ResponseDocument.h"
#include "standins/TimeTrackingPosting.h"
#include "standins/TimeTrackingQueryAnswer.h"
#include "standins/TxnDeletion.h"

namespace vantrell::standins {

std::int64_t systemUnixSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

namespace {

// How many requests of a message are stored between two commits.
constexpr std::size_t kRequestsPerCommit = 1000;

// The room made for an answer, per byte of its request.
constexpr std::size_t kAnswerPerRequestByte = 3;

struct Context {
    CompanyFile& file;
    ResponseDocument& response;
    const QbxmlMessage& message;
    std::int64_t now;
    QueryIterators& iterators;
    // One writer serves every added ticket of the message: they share its version and mostly
    // their moment of creation.
    TimeTrackingRetWriter& addedTickets;
};

const char* listResponseName(ListKind kind) {
    switch (kind) {
        case ListKind::Employee:
            return "EmployeeQueryRs";
        case ListKind::WageItem:
            return "PayrollItemWageQueryRs";
        case ListKind::NonWageItem:
            return "PayrollItemNonWageQueryRs";
    }
    return "EmployeeQueryRs";
}

ResponseStatus answer(Context& context, const ListQueryRequest& query) {
    const char* name = listResponseName(query.kind);
    ListQueryAnswer found;
    std::vector<ListRecord> wageItems;
    std::string expenseAccount;
    try {
        found = answerListQuery(query, context.file);
        if (query.kind == ListKind::Employee) {
            for (auto& item : context.file.entries(ListKind::WageItem)) {
                if (item.active) {
                    wageItems.push_back(std::move(item));
                }
            }
        } else if (query.kind == ListKind::WageItem) {
            expenseAccount = context.file.expenseAccountListId();
        }
    } catch (const CompanyFileError&) {
        found = {internalError(), {}};
    }
    auto element = context.response.addResponse(name, query.requestId, found.status);
    const EmployeeRetWriter employees(wageItems);
    if (context.message.includeResponseData) {
        for (const auto& entry : found.records) {
            RecordText record(context.response.recordText(element), query.includeRetElements);
            if (query.kind == ListKind::Employee) {
                employees.write(record, entry);
            } else if (query.kind == ListKind::WageItem) {
                writeWageItemRet(record, entry, expenseAccount);
            } else {
                writeNonWageItemRet(record, entry);
            }
        }
    }
    return found.status;
}

ResponseStatus answer(Context& context, const TimeTrackingAddRequest& request) {
    PostingResult result;
    // A failure of the file while storing one ticket undoes that ticket alone.
    context.file.savepoint();
    try {
        result = postTimeTracking(request, context.file, context.now);
        context.file.releaseSavepoint();
    } catch (const CompanyFileError&) {
        context.file.rollbackToSavepoint();
        result = {internalError(), std::nullopt};
    }
    auto element =
        context.response.addResponse("TimeTrackingAddRs", request.requestId, result.status);
    if (result.posted && context.message.includeResponseData) {
        RecordText record(context.response.recordText(element), request.includeRetElements);
        context.addedTickets.write(record, *result.posted);
    }
    return result.status;
}

ResponseStatus answer(Context& context, const TimeTrackingQueryRequest& query) {
    return answerTimeTrackingQuery(query, context.file, context.response, context.message.version,
                                   context.message.includeResponseData, context.iterators);
}

ResponseStatus answer(Context& context, const TxnDelRequest& request) {
    ResponseStatus status;
    // As with an added ticket, a failure of the file undoes this deletion alone.
    context.file.savepoint();
    try {
        status = deleteTransaction(request, context.file);
        context.file.releaseSavepoint();
    } catch (const CompanyFileError&) {
        context.file.rollbackToSavepoint();
        status = internalError();
    }
    auto element = context.response.addResponse("TxnDelRs", request.requestId, status);
    if (status.code == 0 && context.message.includeResponseData) {
        appendTextElement(element, "TxnDelType", request.txnDelType);
        appendTextElement(element, "TxnID", request.txnId);
        // The only version this element is known in is 13.0.
        if (versionAtLeast(context.message.version, 13, 0)) {
            appendTextElement(element, "TimeDeleted", formatTimestamp(context.now));
        }
    }
    return status;
}

const char* responseName(const QbxmlRequest& request) {
    if (const auto* query = std::get_if<ListQueryRequest>(&request)) {
        return listResponseName(query->kind);
    }
    if (std::holds_alternative<TimeTrackingQueryRequest>(request)) {
        return "TimeTrackingQueryRs";
    }
    if (std::holds_alternative<TxnDelRequest>(request)) {
        return "TxnDelRs";
    }
    return "TimeTrackingAddRs";
}

const std::optional<std::string>& requestIdOf(const QbxmlRequest& request) {
    return std::visit(
        [](const auto& r) -> const std::optional<std::string>& { return r.requestId; }, request);
}

}  // namespace

RequestHandler::RequestHandler(CompanyFile& file, UnixClock clock, QueryIterators* iterators)
    : file_(file),
      clock_(std::move(clock)),
      iterators_(iterators != nullptr ? *iterators : ownIterators_) {}

std::string RequestHandler::handle(std::string_view request) {
    std::optional<std::string> highestVersion;
    try {
        highestVersion = file_.highestQbxmlVersion();
    } catch (const CompanyFileError&) {
        throw ProcessorError(ProcessorCode::UnexpectedError);
    }
    QbxmlMessage message = readQbxmlMessage(request, highestVersion);
    ResponseDocument response;
    // An answer to added tickets is about twice its request; a query's may be any size.
    response.reserve(kAnswerPerRequestByte * request.size());
    TimeTrackingRetWriter addedTickets(message.version);
    Context context{file_, response, message, clock_(), iterators_, addedTickets};
    // The message's tickets are committed in groups, as the accounting system stores them as
    // it goes: a failure of the file as a whole undoes the group in hand and gives no response,
    // while the groups before it stay posted, and so does a process killed half-way.
    try {
        file_.begin();
        bool stopped = false;
        for (std::size_t i = 0; i < message.entries.size(); ++i) {
            if (i > 0 && i % kRequestsPerCommit == 0) {
                file_.commit();
                file_.begin();
            }
            const QbxmlRequest item = takeRequest(message, i);
            if (stopped) {
                response.addResponse(responseName(item), requestIdOf(item), notProcessed());
            } else {
                const ResponseStatus status =
                    std::visit([&](const auto& r) { return answer(context, r); }, item);
                stopped = status.isError() && message.onError == OnError::StopOnError;
            }
            // Each answer goes to the text at once, and its request is let go: a large message
            // keeps no tree of the answers, nor every request until the last is answered.
            response.flush();
        }
        file_.commit();
    } catch (const CompanyFileError&) {
        file_.rollback();
        throw ProcessorError(ProcessorCode::UnexpectedError);
    } catch (...) {
        file_.rollback();
        throw;
    }
    return response.takeText();
}

}  // namespace vantrell::standins
