#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "diag/Failure.h"
#include "diag/Utf8.h"
#include "interfacedb/DbError.h"
#include "interfacedb/ObjectState.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/stage/PostingJournal.h"
#include "interfacedb/stage/Stage.h"
#include "interfacedb/stage/StageStatements.h"
#include "qblink/AnswerElements.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/ResponseWalk.h"
#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell {

// What the walk reads of one answer to an added ticket, taken while the answer is loaded.
struct TicketAnswer {
    std::optional<std::string> requestID;
    std::optional<std::string> code;
    std::optional<std::string> severity;
    std::optional<std::string> message;
    std::string txnId;
};

namespace {

// The width of Punch.Error: a longer status message is cut to it.
constexpr std::size_t kErrorColumnWidth = 255;

// The status of a request that the accounting system did not process, having stopped at an
// earlier one that failed.
constexpr const char* kNotProcessed = "3231";

// How many accepted tickets are recorded in one step of the answer's commit: few enough that a
// step that fails is soon done again ticket by ticket.
constexpr std::size_t kAcceptedPerStep = 1000;

// SQLite's primary result codes for a database another connection holds.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;

// A requestID goes into a statement unquoted, so only a plain ticket number is let through.
std::string ticketNumber(const std::string& requestID) {
    if (std::optional<std::string> number = db::plainDecimal(requestID)) {
        return *number;
    }
    throw Failure("The requestID \"" + requestID + "\" is not a ticket number.");
}

// The statement, up to the quoted name, that a record element's "Name" children run, or
// nullptr for none.
const char* nameDeletionFor(const std::string& returnElement) {
    if (returnElement == "EmployeeRet") {
        return stage::kDeleteEmployeeNamed;
    }
    if (returnElement == "PayrollItemWageRet") {
        return stage::kDeletePayTypeNamed;
    }
    return nullptr;
}

// The accounting system's id of the ticket an answer posted: the TxnID of its record, or ""
// when the answer carries no record.
std::string transactionIdOf(const pugi::xml_node& element, const std::string& returnElement) {
    const pugi::xml_node record = element.child(returnElement.c_str());
    return record ? elementText(record.child("TxnID")) : std::string();
}

// The status attributes of one answer element. Each element starts from empty values: a
// missing attribute must not borrow the previous element's requestID and so reach that
// element's row.
struct AnswerStatus {
    std::string requestID;
    std::string code;
    std::string severity;
    std::string message;
};

std::optional<std::string> attributeIfAny(const pugi::xml_node& element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? std::optional<std::string>(attribute.value()) : std::nullopt;
}

TicketAnswer readTicketAnswer(const pugi::xml_node& element, const std::string& returnElement) {
    return {attributeIfAny(element, "requestID"), attributeIfAny(element, "statusCode"),
            attributeIfAny(element, "statusSeverity"), attributeIfAny(element, "statusMessage"),
            transactionIdOf(element, returnElement)};
}

// The status of an answer; a missing attribute fails its own step.
AnswerStatus readStatus(ResponseWalk& walk, const TicketAnswer& answer) {
    const auto take = [&](const std::optional<std::string>& value, const char* name) {
        std::string text;
        walk.attempt([&] {
            if (!value) {
                throw Failure(std::string("The response element has no attribute ") + name + ".");
            }
            text = *value;
        });
        return text;
    };
    AnswerStatus status;
    status.requestID = take(answer.requestID, "requestID");
    status.code = take(answer.code, "statusCode");
    status.severity = take(answer.severity, "statusSeverity");
    status.message = take(answer.message, "statusMessage");
    return status;
}

AnswerStatus readStatus(ResponseWalk& walk, const pugi::xml_node& element) {
    return readStatus(
        walk, {attributeIfAny(element, "requestID"), attributeIfAny(element, "statusCode"),
               attributeIfAny(element, "statusSeverity"), attributeIfAny(element, "statusMessage"),
               std::string()});
}

}  // namespace

bool QuickBooksLink::ParseResponseXML(const std::string& responseElement,
                                      const std::string& returnElement) {
    ResponseWalk walk(log_, returnElement);
    lastAnswerUsable_ = false;
    if (returnElement != "TimeTrackingRet") {
        const std::unique_ptr<pugi::xml_document> xmlDoc = loadResponse(walk);
        return xmlDoc && applyAnswer(walk, *xmlDoc, responseElement, returnElement);
    }
    // An export's answer holds an element for every ticket: it is read piece by piece.
    walk.step = "Set xmlDoc = new MSXML2.DOMDocument40";
    std::unique_ptr<AnswerElements> answer;
    if (!walk.attempt([&] { answer = std::make_unique<AnswerElements>(); })) {
        return false;
    }
    walk.step = "Load XML";
    // Each answer's few values are taken as it is loaded: nothing of it is parsed again.
    std::vector<TicketAnswer> answers;
    const auto survey = [&](const pugi::xml_node& element) {
        answers.push_back(readTicketAnswer(element, returnElement));
        return true;
    };
    std::optional<std::string> loadFailure;
    if (!walk.attempt([&] {
            loadFailure =
                answer->load(responseXML, responseElement, survey, [&] { answers.clear(); });
        })) {
        return false;
    }
    if (loadFailure) {
        walk.failureText = "loadXML failed, reason: " + *loadFailure;
        log_.WriteLogEntry("ERROR", "ParseResponseXML", walk.failureText);
        return false;
    }
    answer.reset();
    walk.step = "Set Object Node List";
    applyInOneCommit(walk, [&] { applyTicketStatuses(walk, answers, responseElement); });
    lastAnswerUsable_ = !answers.empty();
    return true;
}

std::unique_ptr<pugi::xml_document> QuickBooksLink::loadResponse(ResponseWalk& walk) {
    walk.step = "Set xmlDoc = new MSXML2.DOMDocument40";
    std::unique_ptr<pugi::xml_document> xmlDoc;
    if (!walk.attempt([&] { xmlDoc = std::make_unique<pugi::xml_document>(); })) {
        return nullptr;
    }
    walk.step = "Load XML";
    std::optional<std::string> loadFailure;
    if (!walk.attempt([&] { loadFailure = loadXmlStrict(*xmlDoc, responseXML); })) {
        return nullptr;
    }
    if (loadFailure) {
        walk.failureText = "loadXML failed, reason: " + *loadFailure;
        log_.WriteLogEntry("ERROR", "ParseResponseXML", walk.failureText);
        return nullptr;
    }
    return xmlDoc;
}

bool QuickBooksLink::applyAnswer(ResponseWalk& walk, const pugi::xml_document& xmlDoc,
                                 const std::string& responseElement,
                                 const std::string& returnElement) {
    lastAnswerUsable_ = false;
    walk.step = "Set Object Node List";
    AnswerElements elements;
    walk.attempt([&] { elements.useDocument(xmlDoc, responseElement); });
    bool reachedEnd = true;
    applyInOneCommit(walk, [&] {
        reachedEnd = deleteReturnedNames(walk, elements, responseElement, returnElement);
    });
    if (!reachedEnd) {
        return false;
    }
    lastAnswerUsable_ = elements.size() > 0;
    return true;
}

void QuickBooksLink::applyInOneCommit(ResponseWalk& walk, const std::function<void()>& apply) {
    // The whole answer is applied under one commit, made when the walk ends. A step that fails
    // is undone alone; a commit that fails keeps nothing of the answer, and the tickets it
    // accepted stay staged for the next check to find them posted.
    if (!interfaceDb_.cnInterface || interfaceDb_.cnInterface->state() != db::kStateOpen) {
        apply();
        return;
    }
    try {
        interfaceDb_.cnInterface->inOneCommit(apply);
    } catch (const EndProgram&) {
        throw;
    } catch (...) {
        walk.logFailure();
    }
}

void QuickBooksLink::applyTicketStatuses(ResponseWalk& walk,
                                         const std::vector<TicketAnswer>& answers,
                                         const std::string& responseElement) {
    // A ticket that one answer refuses never leaves the stage on the strength of another
    // answer with its requestID: two contradictory answers leave it staged, with the refusal.
    // requestIDs are compared as the ticket numbers they are ("01" addresses ticket 1 too).
    std::set<std::int32_t> refusedSomewhere;
    for (const TicketAnswer& answer : answers) {
        if (answer.code.value_or("") != "0") {
            if (const auto number = db::plainDecimal(answer.requestID.value_or(""))) {
                refusedSomewhere.insert(std::stoi(*number));
            }
        }
    }
    const std::string attributeStep = "Set Attribute Map for " + responseElement;
    // A database that another program holds locked costs one busy wait, not one per ticket:
    // after it nothing more is written, and the tickets stay staged for the next check.
    bool& locked = applyLocked_;
    locked = false;
    const auto noteLock = [&](const db::DbError& e) {
        const int primary = e.code() & 0xff;
        if (primary == kSqliteBusy || primary == kSqliteLocked) {
            locked = true;
            log_.WriteLogEntry("ERROR", "ParseResponseXML",
                               "Vantrell.mdb is locked by another program: the rest of the answer "
                               "is not recorded; the next run's check settles those tickets.");
        }
    };
    const auto write = [&](const std::function<void()>& body) {
        if (locked) {
            return;
        }
        walk.attempt([&] {
            try {
                body();
            } catch (const db::DbError& e) {
                noteLock(e);
                throw;
            }
        });
    };
    // The accepted tickets are recorded a run at a time, each run one step: a step per ticket
    // would cost a savepoint each. A run that fails is recorded again ticket by ticket, so that
    // only a ticket that fails on its own is left staged, logged as before.
    std::vector<stage::AcceptedTicket> run;
    const auto recordRun = [&] {
        if (run.empty() || locked) {
            run.clear();
            return;
        }
        bool recorded = false;
        try {
            stage::recordAcceptedTickets(interfaceConnection(), currentExportId(), run);
            recorded = true;
        } catch (const EndProgram&) {
            throw;
        } catch (const db::TransactionLost&) {
            throw;
        } catch (const db::DbError& e) {
            // A lock is met again by every ticket: it is logged now, and nothing more written.
            noteLock(e);
            if (locked) {
                walk.logFailure();
            }
        } catch (...) {
            // Told again below, by the ticket that fails.
        }
        for (std::size_t i = 0; !recorded && i < run.size(); ++i) {
            write([&] {
                stage::recordAcceptedTicket(interfaceConnection(), currentExportId(),
                                            run[i].sequence, run[i].txnId);
            });
        }
        run.clear();
    };
    for (const TicketAnswer& answer : answers) {
        walk.step = attributeStep;
        const AnswerStatus status = readStatus(walk, answer);
        walk.step = "Process Time Tracking Return";
        const std::optional<std::string> number = db::plainDecimal(status.requestID);
        const auto remember = [&](TicketFate fate, const std::string& message) {
            if (number && number->front() != '-' && number->size() < 10) {
                answered_[std::stoi(*number)] = {fate, message, answer.txnId};
            }
        };
        if (status.code == "0" && number && refusedSomewhere.contains(std::stoi(*number))) {
            // Left to the refusal's own answer.
        } else if (status.code == "0") {
            remember(TicketFate::AcceptedUnrecorded, {});
            // The journal row and the deletion go together: a ticket never leaves the stage
            // without the record of where it went.
            std::optional<std::int32_t> sequence;
            try {
                sequence = std::stoi(ticketNumber(status.requestID));
            } catch (...) {
                // Not a ticket number: failed as its own step below.
            }
            if (sequence) {
                run.push_back({*sequence, answer.txnId});
                if (run.size() == kAcceptedPerStep) {
                    recordRun();
                }
                continue;
            }
            recordRun();
            write([&] {
                stage::recordAcceptedTicket(interfaceConnection(), currentExportId(),
                                            std::stoi(ticketNumber(status.requestID)),
                                            answer.txnId);
            });
        } else {
            // What went before is recorded first, under the failure text it was answered with.
            recordRun();
            // The accounting system stopped before this one: not a refusal of its own.
            const bool notProcessed = status.code == kNotProcessed;
            remember(notProcessed ? TicketFate::NotProcessed : TicketFate::Refused,
                     firstCharacters(status.message, kErrorColumnWidth));
            write([&] {
                walk.failureText = firstCharacters(status.message, kErrorColumnWidth);
                const std::string sequence = ticketNumber(status.requestID);
                interfaceConnection().execute(stage::kMarkPunchError +
                                              db::escapeSqlText(walk.failureText) +
                                              stage::kMarkPunchErrorWhere + sequence);
                stage::markSentTicket(
                    interfaceConnection(), currentExportId(), std::stoi(sequence),
                    notProcessed ? stage::TicketState::NotPosted : stage::TicketState::Refused,
                    walk.failureText);
            });
        }
    }
    recordRun();
}

bool QuickBooksLink::deleteReturnedNames(ResponseWalk& walk, AnswerElements& elements,
                                         const std::string& responseElement,
                                         const std::string& returnElement) {
    const char* deleteName = nameDeletionFor(returnElement);
    const std::string attributeStep = "Set Attribute Map for " + responseElement;
    bool reachedEnd = true;
    elements.forEach([&](const pugi::xml_node& element) {
        walk.step = attributeStep;
        const AnswerStatus status = readStatus(walk, element);
        walk.step = "Test Return Status Code";
        if (status.code == "1") {
            // Nothing found is an answer all the same.
            lastAnswerUsable_ = true;
            walk.attempt(
                [&] { answerNotes.push_back("No " + responseElement + " found by Quickbooks"); });
            reachedEnd = false;
            return false;
        }
        if (status.code != "0") {
            walk.attempt(
                [&] { answerNotes.push_back(responseElement + " ERROR " + status.message); });
            reachedEnd = false;
            return false;
        }
        walk.step = "examine each child object";
        if (deleteName == nullptr) {
            return true;
        }
        for (const pugi::xml_node& record : element.children()) {
            if (record.type() != pugi::node_element || returnElement != record.name()) {
                continue;
            }
            for (const pugi::xml_node& name : record.children("Name")) {
                walk.attempt([&] {
                    interfaceConnection().execute(deleteName, {db::Value(elementText(name))});
                });
            }
        }
        return true;
    });
    return reachedEnd;
}

}  // namespace vantrell
