#pragma once

// Look-ups of the replacement store that cost what they return: records by
// Oid, appointments ordered by start and by end, and the series apart, so
// that a query for one series or one day never walks the whole calendar.

#include "platform/poom_store/store_model.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace vantrel::store {

class StoreIndex {
  public:
    // Indexes `store`, which must outlive the index and stay unchanged.
    void Rebuild(const Store& store);

    const Appointment* FindAppointment(int oid) const;
    const Task* FindTask(int oid) const;

    // What Restrict answers over the whole calendar: with recurrences, the
    // occurrences of series and the other appointments the query admits;
    // without, the records as they stand. In start order, ties in file
    // order.
    std::vector<Occurrence> Restrict(const std::vector<Condition>& query,
                                     bool includeRecurrences) const;

  private:
    const Store* store_ = nullptr;
    std::unordered_map<int, std::size_t> appointmentAt_, taskAt_;
    std::vector<std::size_t> byStart_, byEnd_; // every appointment, by its own times
    std::vector<std::size_t> series_;
};

} // namespace vantrel::store
