#include "standins/QueryIterators.h"

#include <utility>

#include "standins/BracedGuid.h"

namespace vantrell::standins {

std::string QueryIterators::start(TicketIterator iterator) {
    std::string id = newBracedGuid();
    while (iterators_.count(id) != 0) {
        id = newBracedGuid();
    }
    iterators_.emplace(id, std::move(iterator));
    return id;
}

TicketIterator* QueryIterators::find(const std::string& iteratorId) {
    const auto found = iterators_.find(iteratorId);
    return found == iterators_.end() ? nullptr : &found->second;
}

void QueryIterators::stop(const std::string& iteratorId) {
    iterators_.erase(iteratorId);
}

}  // namespace vantrell::standins
