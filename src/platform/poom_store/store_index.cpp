#include "platform/poom_store/store_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace vantrel::store {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The query's bounds in minutes (with their fraction), and its Oid.
struct Bounds {
    double startLo = -kInfinity, startHi = kInfinity;
    double endLo = -kInfinity, endHi = kInfinity;
    std::optional<int> oid;
    bool dated = false;
    double earliest = kInfinity, latest = -kInfinity; // of all its dates
};

Bounds BoundsOf(const std::vector<Condition>& query) {
    Bounds b;
    const double epoch = static_cast<double>(MomentOf(DayOfVariant(0.0), 0, 0));
    for (const Condition& c : query) {
        if (c.field == Condition::kOid) {
            const double oid = std::round(c.value);
            // An Oid no record can have matches nothing: keep it as -1.
            b.oid = oid >= 1 && oid <= std::numeric_limits<int>::max() ? static_cast<int>(oid) : -1;
            continue;
        }
        const double v = std::clamp(c.value, -1e8, 1e8) * 1440.0 + epoch;
        b.dated = true;
        b.earliest = std::min(b.earliest, v);
        b.latest = std::max(b.latest, v);
        double& lo = c.field == Condition::kStart ? b.startLo : b.endLo;
        double& hi = c.field == Condition::kStart ? b.startHi : b.endHi;
        if (c.op != Condition::kLess && c.op != Condition::kLessEqual) {
            lo = std::max(lo, v);
        }
        if (c.op != Condition::kGreater && c.op != Condition::kGreaterEqual) {
            hi = std::min(hi, v);
        }
    }
    return b;
}

// Whole minutes around a bound, the equality margin of Matches included.
Minutes Below(double v) {
    return std::isinf(v) ? std::numeric_limits<Minutes>::min()
                         : static_cast<Minutes>(std::floor(v - 0.01));
}
Minutes Above(double v) {
    return std::isinf(v) ? std::numeric_limits<Minutes>::max()
                         : static_cast<Minutes>(std::ceil(v + 0.01));
}

int DayOfMinutes(double v) {
    return DayOf(static_cast<Minutes>(std::floor(v)));
}

} // namespace

void StoreIndex::Rebuild(const Store& store) {
    store_ = &store;
    appointmentAt_.clear();
    taskAt_.clear();
    byStart_.clear();
    byEnd_.clear();
    series_.clear();
    for (std::size_t i = 0; i < store.appointments.size(); ++i) {
        appointmentAt_.emplace(store.appointments[i].oid, i);
        if (!store.appointments[i].ended) {
            byStart_.push_back(i);
        }
        if (store.appointments[i].recurrence || store.appointments[i].live) {
            series_.push_back(i);
        }
    }
    for (std::size_t i = 0; i < store.tasks.size(); ++i) {
        taskAt_.emplace(store.tasks[i].oid, i);
    }
    byEnd_ = byStart_;
    const auto& list = store.appointments;
    std::stable_sort(byStart_.begin(), byStart_.end(),
                     [&](std::size_t x, std::size_t y) { return list[x].start < list[y].start; });
    std::stable_sort(byEnd_.begin(), byEnd_.end(),
                     [&](std::size_t x, std::size_t y) { return list[x].end < list[y].end; });
}

const Appointment* StoreIndex::FindAppointment(int oid) const {
    const auto found = appointmentAt_.find(oid);
    return found == appointmentAt_.end() ? nullptr : &store_->appointments[found->second];
}

const Task* StoreIndex::FindTask(int oid) const {
    const auto found = taskAt_.find(oid);
    return found == taskAt_.end() ? nullptr : &store_->tasks[found->second];
}

std::vector<Occurrence> StoreIndex::Restrict(const std::vector<Condition>& query,
                                             bool includeRecurrences) const {
    if (store_ == nullptr) {
        return {};
    }
    const auto& list = store_->appointments;
    const Bounds b = BoundsOf(query);
    // (start, file position, order within the series): the old scan's order.
    std::vector<std::tuple<Minutes, std::size_t, std::size_t, Occurrence>> found;
    const auto take = [&](std::size_t at, std::size_t order, const Occurrence& o) {
        if (Matches(query, o.start, o.end, list[at].oid)) {
            found.emplace_back(o.start, at, order, o);
        }
    };

    // Records as they stand: one by Oid, else the narrower of the runs the
    // start and end bounds leave.
    std::vector<std::size_t> oneRecord;
    const std::size_t* first = nullptr;
    const std::size_t* last = nullptr;
    if (b.oid) {
        const auto at = appointmentAt_.find(*b.oid);
        if (at != appointmentAt_.end()) {
            oneRecord.push_back(at->second);
        }
        first = oneRecord.data();
        last = first + oneRecord.size();
    } else {
        const auto run = [&](const std::vector<std::size_t>& order, Minutes Appointment::*field,
                             double lo, double hi) {
            const Minutes low = Below(lo), high = Above(hi);
            const auto from =
                std::lower_bound(order.begin(), order.end(), low,
                                 [&](std::size_t i, Minutes v) { return list[i].*field < v; });
            const auto to =
                std::upper_bound(from, order.end(), high,
                                 [&](Minutes v, std::size_t i) { return v < list[i].*field; });
            return std::make_pair(order.data() + (from - order.begin()),
                                  order.data() + (to - order.begin()));
        };
        const auto byStart = run(byStart_, &Appointment::start, b.startLo, b.startHi);
        const auto byEnd = run(byEnd_, &Appointment::end, b.endLo, b.endHi);
        const bool startNarrower = byStart.second - byStart.first <= byEnd.second - byEnd.first;
        first = startNarrower ? byStart.first : byEnd.first;
        last = startNarrower ? byStart.second : byEnd.second;
    }
    for (const std::size_t* i = first; i != last; ++i) {
        const Appointment& a = list[*i];
        if (includeRecurrences && (a.recurrence || a.live)) {
            continue;
        }
        take(*i, 0, Occurrence{&a, a.start, a.end, a.subject, DayOf(a.start)});
    }

    // Occurrences of series on the days the bounds leave, widened by the
    // series' longest occurrence so that [End] bounds find long ones too.
    if (includeRecurrences && b.dated) {
        const auto occurrencesOf = [&](std::size_t at) {
            const Appointment& a = list[at];
            const double longest = static_cast<double>(LongestOccurrence(a));
            double lo = std::max(b.startLo, b.endLo - longest);
            double hi = std::min(b.startHi, b.endHi);
            lo = std::isinf(lo) ? b.earliest - longest - 1440.0 : lo;
            hi = std::isinf(hi) ? b.latest + 1440.0 : hi;
            if (lo > hi + 0.02) {
                return;
            }
            std::size_t order = 0;
            for (const Occurrence& o :
                 OccurrencesStarting(a, DayOfMinutes(lo - 0.02), DayOfMinutes(hi + 0.02))) {
                take(at, order++, o);
            }
        };
        if (b.oid) {
            const auto at = appointmentAt_.find(*b.oid);
            if (at != appointmentAt_.end() &&
                (list[at->second].recurrence || list[at->second].live)) {
                occurrencesOf(at->second);
            }
        } else {
            for (const std::size_t at : series_) {
                occurrencesOf(at);
            }
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) {
        return std::tie(std::get<0>(x), std::get<1>(x), std::get<2>(x)) <
               std::tie(std::get<0>(y), std::get<1>(y), std::get<2>(y));
    });
    std::vector<Occurrence> result;
    result.reserve(found.size());
    for (auto& f : found) {
        result.push_back(std::move(std::get<3>(f)));
    }
    return result;
}

} // namespace vantrel::store
