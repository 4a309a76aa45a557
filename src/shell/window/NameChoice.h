#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "diag/modErrorLog.h"
#include "interfacedb/Connection.h"
#include "interfacedb/stage/NameMap.h"
#include "qblink/NameHints.h"

namespace vantrell {

// The logic of the dialog "Map to a QuickBooks name", the same for every front end: the
// accounting system's names of one kind to choose from, the close names of the hint first, then
// the active names, then the inactive ones marked; a filter that narrows them; OK stores the map
// entry of every time-and-attendance name asked for, in one transaction.
class NameChoice {
  public:
    static constexpr const char* kCaption = "Map to a QuickBooks name";

    // What is to be mapped: the names of `kind` in `chronelNames` (as the time-and-attendance
    // system spells them), which stage `name` now (the name whose close names come first);
    // `current` is the name an entry being changed gives now ("" for a new entry).
    struct Request {
        stage::NameKind kind = stage::NameKind::Employee;
        std::string name;
        std::vector<std::string> chronelNames;
        std::string current;
    };

    // One name offered.
    struct Choice {
        std::string name;  // the accounting system's name, as stored in the map
        std::string text;  // as the list shows it, with its marks
    };

    // The choice among `held` (the accounting system's names of the request's kind, in any
    // order), stored through `cn` on OK; a refusal or failure is logged to `log`, which shows
    // it. `cn` and `log` must outlive the choice.
    NameChoice(modErrorLog& log, db::Connection& cn, Request request,
               const std::vector<hints::HeldName>& held);

    // The line over the list, saying what is mapped.
    std::string prompt() const;
    const Request& request() const { return request_; }

    // Shows only the names that hold `text`, letter case folded as the hints fold it; "" shows
    // every name. The selection stays on its name when that is still shown, or moves to the
    // first name shown.
    void setFilter(const std::string& text);
    const std::string& filter() const { return filter_; }

    // The names shown, in order, and their texts for the list.
    const std::vector<Choice>& choices() const { return shown_; }
    std::vector<std::string> choiceTexts() const;

    // Selects choices()[index], or nothing for an index past the end.
    void select(std::optional<std::size_t> index);
    std::optional<std::size_t> selectedChoice() const;
    bool okEnabled() const { return selectedChoice().has_value(); }

    // Stores the selected name for every name of the request and closes the dialog. A refused
    // name (mapped to itself, too wide for the stage) or a failure to store is logged under
    // "MapName", which shows it, and the dialog stays open with nothing changed. Nothing
    // selected: nothing happens.
    void okClicked();
    // Closes the dialog; nothing is changed.
    void cancelClicked() { closed_ = true; }

    bool closed() const { return closed_; }
    // True once OK has stored the entries.
    bool stored() const { return stored_; }
    // The name OK stored.
    const std::string& storedName() const { return storedName_; }

  private:
    modErrorLog& log_;
    db::Connection& cn_;
    Request request_;
    std::vector<Choice> all_;
    std::vector<Choice> shown_;
    std::string filter_;
    std::optional<std::string> selected_;
    std::string storedName_;
    bool closed_ = false;
    bool stored_ = false;
};

}  // namespace vantrell
