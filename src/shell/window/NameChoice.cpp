#include "shell/window/NameChoice.h"

#include <algorithm>
#include <utility>

#include "diag/Failure.h"
#include "diag/Guard.h"

namespace vantrell {

namespace {

std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

// Names in the order a clerk looks them up: letter case folded, then as written.
bool byFoldedName(const hints::HeldName* a, const hints::HeldName* b) {
    const std::string foldedA = hints::caseFolded(a->name);
    const std::string foldedB = hints::caseFolded(b->name);
    return foldedA != foldedB ? foldedA < foldedB : a->name < b->name;
}

}  // namespace

NameChoice::NameChoice(modErrorLog& log, db::Connection& cn, Request request,
                       const std::vector<hints::HeldName>& held)
    : log_(log), cn_(cn), request_(std::move(request)) {
    const hints::NameIndex index(held);
    const std::vector<const hints::HeldName*> close = index.closeNames(request_.name);
    std::vector<const hints::HeldName*> active;
    std::vector<const hints::HeldName*> inactive;
    for (const hints::HeldName& name : held) {
        if (std::find(close.begin(), close.end(), &name) == close.end()) {
            (name.active ? active : inactive).push_back(&name);
        }
    }
    std::stable_sort(active.begin(), active.end(), byFoldedName);
    std::stable_sort(inactive.begin(), inactive.end(), byFoldedName);

    const auto add = [&](const hints::HeldName* name, bool isClose) {
        std::vector<std::string> marks;
        if (isClose) {
            marks.emplace_back("close name");
        }
        if (!name->active) {
            marks.emplace_back("inactive");
        }
        if (!request_.current.empty() && name->name == request_.current) {
            marks.emplace_back("mapped now");
        }
        std::string text = name->name;
        for (std::size_t i = 0; i < marks.size(); ++i) {
            text += (i == 0 ? " (" : ", ") + marks[i];
        }
        all_.push_back({name->name, marks.empty() ? text : text + ")"});
    };
    for (const hints::HeldName* name : close) {
        add(name, true);
    }
    for (const auto* list : {&active, &inactive}) {
        for (const hints::HeldName* name : *list) {
            add(name, false);
        }
    }
    shown_ = all_;
    // An entry being changed starts on its name; a new one on the closest name, if any.
    if (!request_.current.empty()) {
        selected_ = request_.current;
    } else if (!close.empty()) {
        selected_ = close.front()->name;
    }
    if (!selectedChoice()) {
        selected_.reset();
    }
}

std::string NameChoice::prompt() const {
    const bool employee = request_.kind == stage::NameKind::Employee;
    const bool several = request_.chronelNames.size() > 1;
    std::string text = std::string("Stage the ") + stage::nameKindText(request_.kind) +
                       (several ? "s " : " ") + joinedNames(request_.chronelNames);
    if (!request_.current.empty()) {
        text += " (now " + request_.current + ")";
    }
    return text + " as this QuickBooks " + (employee ? "employee:" : "wage item:");
}

void NameChoice::setFilter(const std::string& text) {
    filter_ = text;
    const std::string wanted = hints::caseFolded(text);
    shown_.clear();
    for (const Choice& choice : all_) {
        if (hints::caseFolded(choice.name).find(wanted) != std::string::npos) {
            shown_.push_back(choice);
        }
    }
    if (!selectedChoice()) {
        select(std::size_t{0});
    }
}

std::vector<std::string> NameChoice::choiceTexts() const {
    std::vector<std::string> texts;
    texts.reserve(shown_.size());
    for (const Choice& choice : shown_) {
        texts.push_back(choice.text);
    }
    return texts;
}

void NameChoice::select(std::optional<std::size_t> index) {
    if (index && *index < shown_.size()) {
        selected_ = shown_[*index].name;
    } else {
        selected_.reset();
    }
}

std::optional<std::size_t> NameChoice::selectedChoice() const {
    if (!selected_) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (shown_[i].name == *selected_) {
            return i;
        }
    }
    return std::nullopt;
}

void NameChoice::okClicked() {
    const std::optional<std::size_t> chosen = selectedChoice();
    if (!chosen) {
        return;
    }
    const std::string to = shown_[*chosen].name;
    const std::string kindText = stage::nameKindText(request_.kind);
    stored_ = guard(log_, "MapName", [&] {
        for (const std::string& from : request_.chronelNames) {
            if (const std::optional<std::string> refused = stage::refusedMapping(from, to)) {
                throw Failure("The " + kindText + " was not mapped: " + *refused);
            }
        }
        stage::storeNameMappings(cn_, request_.kind, request_.chronelNames, to);
    });
    if (stored_) {
        storedName_ = to;
        closed_ = true;
    }
}

}  // namespace vantrell
