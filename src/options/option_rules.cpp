#include "options/option_rules.h"

namespace vantrel {

int StartFilterIndex(int code) {
    if (code == 12) {
        return 11;
    }
    return code == 11 || code < 0 || code > 12 ? 0 : code;
}

int StartFilterCode(int index) {
    return index == 11 ? 12 : index;
}

DayRanges DayRangesOf(const Settings& s) {
    return {s.DSpan1, s.DSpan2, s.DSpan3s, s.DSpan3e, s.DSpan4, s.DSpan5, s.DSpanFs, s.DSpanFe};
}

void StoreDayRanges(Settings& s, const DayRanges& r) {
    s.DSpan1 = r[kRangeMinus2];
    s.DSpan2 = r[kRangeMinus1];
    s.DSpan3s = r[kRangeZeroStart];
    s.DSpan3e = r[kRangeZeroEnd];
    s.DSpan4 = r[kRangePlus1];
    s.DSpan5 = r[kRangePlus2];
    s.DSpanFs = r[kFilterStart];
    s.DSpanFe = r[kFilterEnd];
}

bool ValidateDayRanges(DayRanges& r) {
    bool ordered = r[kFilterStart] <= r[kFilterEnd];
    for (int i = kRangeMinus2; i < kRangePlus2; ++i) {
        ordered = ordered && r[static_cast<std::size_t>(i)] <= r[static_cast<std::size_t>(i) + 1];
    }
    if (ordered) {
        return false;
    }
    r = {-365, -7, -1, 1, 8, 366, -1, 1};
    return true;
}

int SettledRange(const DayRanges& r, int box, int value) {
    const auto at = [&r](int i) { return r[static_cast<std::size_t>(i)]; };
    if (box == kFilterStart) {
        return at(kFilterEnd) < value ? at(kFilterEnd) : value;
    }
    if (box == kFilterEnd) {
        return value < at(kFilterStart) ? at(kFilterStart) : value;
    }
    if (box > kRangeMinus2 && value < at(box - 1)) {
        value = at(box - 1);
    }
    if (box < kRangePlus2 && at(box + 1) < value) {
        value = at(box + 1);
    }
    return value;
}

void SettleDayRanges(DayRanges& ranges) {
    for (int box = 0; box < static_cast<int>(ranges.size()); ++box) {
        ranges[static_cast<std::size_t>(box)] =
            SettledRange(ranges, box, ranges[static_cast<std::size_t>(box)]);
    }
}

ToDoSpanView ShowToDoSpan(int stored) {
    return stored > 0 ? ToDoSpanView{false, 1} : ToDoSpanView{true, stored};
}

int StoreToDoSpan(bool on, int value) {
    return on && value <= 0 ? value : 1;
}

void RepairPositions(std::array<int, 3>& p) {
    if (p[0] == p[1] || p[0] == p[2] || p[1] == p[2]) {
        p[2] = 0; // the title's position gives way
    }
    // A position no list offers (a damaged registry) would let Apply give
    // two columns the same one.
    const auto outside = [](int v) { return v < 1 || v > 3; };
    if (outside(p[0]) || outside(p[1]) || outside(p[2])) {
        p = {1, 2, 3};
    }
}

void PickPosition(std::array<int, 3>& p, int changed, int position) {
    const int old = p[static_cast<std::size_t>(changed)];
    for (int& other : p) {
        if (other == position) {
            other = old;
        }
    }
    p[static_cast<std::size_t>(changed)] = position;
}

const std::array<int, 38> kCommandNameIds{
    42161, 42152, 42153, 42154, 42155, 42156, 42157, 42158, 42159, 42160, 42221, 42224, 42225,
    42226, 42227, 42235, 42236, 42237, 42238, 42239, 42240, 42144, 42145, 42146, 42147, 42148,
    42149, 42150, 42151, 42219, 42220, 42228, 42241, 42253, 42254, 42258, 42261, 42262,
};

} // namespace vantrel
