#include "settings/settings_values.h"

#include "settings/over_minutes.h"

#include <algorithm>
#include <iterator>

namespace vantrel {
namespace {

using Kind = ValueRule::Kind;

constexpr ValueRule Range(std::int64_t low, std::int64_t high) {
    return {Kind::Range, low, high};
}
constexpr ValueRule Bits(std::int64_t bits) {
    return {Kind::Bits, 0, bits};
}

// The ranges of the options pages' boxes and lists.
constexpr ValueRule kFlag{Kind::Flag};
constexpr ValueRule kUpToTwoDigits = Range(0, 99);
constexpr ValueRule kUpToFourDigits = Range(0, 9999);
// A column width goes up to the screen's width on its page; no screen is
// 10000 pixels wide.
constexpr ValueRule kWidth = Range(0, 9999);
constexpr ValueRule kPosition = Range(1, 3);
constexpr ValueRule kCharSet = Range(0, 255); // a LOGFONT's byte
constexpr ValueRule kDays = Range(-99999, 99999);
constexpr ValueRule kToDoSpan = Range(-99999, 1); // above 0 is "off", kept as 1
constexpr ValueRule kFilterCode{Kind::Code, 0, 12};
constexpr ValueRule kCommand = Range(-1, 36); // none, then the command codes
constexpr ValueRule kColour = Bits(0xFFFFFF); // 0x00BBGGRR
constexpr ValueRule kOutlookBits = Bits(1 | 2 | 4 | 8);
// -99999..99999 days, as OverMinutesFromDays encodes them.
constexpr ValueRule kOverMinutes{Kind::Unsigned, kOverMinutesBias - 100000LL * 1440,
                                 kOverMinutesBias + 99999LL * 1440};

constexpr SettingValue kValues[] = {
    {u"OpenFile", &Settings::OpenFile},
    {u"DataLine", &Settings::DataLine, kFlag},
    {u"ViewLine", &Settings::ViewLine, kUpToFourDigits},
    {u"DrawCheck", &Settings::DrawCheck, kFlag},
    {u"CheckDate", &Settings::CheckDate, kFlag},
    {u"StartView", &Settings::StartView, Bits(1 | 2 | 8)},
    {u"StartFilter", &Settings::StartFilter, kFilterCode},
    {u"SaveFilter", &Settings::SaveFilter, kFlag},
    {u"FilterTag", &Settings::FilterTag},
    {u"AutoUpdate", &Settings::AutoUpdate, Range(0, 3)},
    {u"WidthDate", &Settings::WidthDate, kWidth},
    {u"WidthDayCount", &Settings::WidthDayCount, kWidth},
    {u"WidthMemo", &Settings::WidthMemo, kWidth},
    {u"ShortView", &Settings::ShortView, kFlag},
    {u"WidthSep", &Settings::WidthSep, kUpToTwoDigits},
    {u"PosMemo", &Settings::PosMemo, kPosition},
    {u"PosDate", &Settings::PosDate, kPosition},
    {u"PosDayCount", &Settings::PosDayCount, kPosition},
    {u"FontName", &Settings::FontName},
    {u"CharSet", &Settings::CharSet, kCharSet},
    {u"FontSize", &Settings::FontSize, kUpToTwoDigits},
    {u"LineSpace", &Settings::LineSpace, kUpToTwoDigits},
    {u"DrawWDay", &Settings::DrawWDay, kFlag},
    {u"DrawIcon", &Settings::DrawIcon, kFlag},
    {u"DrawSpan", &Settings::DrawSpan, kFlag},
    {u"DrawTomorrow", &Settings::DrawTomorrow, kFlag},
    {u"MaxMinutes", &Settings::MaxMinutes, Range(60, 999)},
    {u"ResetTime", &Settings::ResetTime, kUpToTwoDigits},
    {u"ExFocus", &Settings::ExFocus, kFlag},
    {u"ExFocusTime", &Settings::ExFocusTime, kUpToFourDigits},
    {u"ExFontName", &Settings::ExFontName},
    {u"ExCharSet", &Settings::ExCharSet, kCharSet},
    {u"ExFontSize", &Settings::ExFontSize, kUpToTwoDigits},
    {u"Future", &Settings::Future, Range(0, 2)},
    {u"StartWeek", &Settings::StartWeek, Range(0, 6)},
    {u"DSpan1", &Settings::DSpan1, kDays},
    {u"DSpan2", &Settings::DSpan2, kDays},
    {u"DSpan3s", &Settings::DSpan3s, kDays},
    {u"DSpan3e", &Settings::DSpan3e, kDays},
    {u"DSpan4", &Settings::DSpan4, kDays},
    {u"DSpan5", &Settings::DSpan5, kDays},
    {u"DSpanFs", &Settings::DSpanFs, kDays},
    {u"DSpanFe", &Settings::DSpanFe, kDays},
    {u"DSpanTs", &Settings::DSpanTs, kToDoSpan},
    {u"OverMinutes", &Settings::OverMinutes, kOverMinutes},
    {u"DrawToday", &Settings::DrawToday, kFlag},
    {u"DrawAnniv", &Settings::DrawAnniv, kFlag},
    {u"DrawToDo", &Settings::DrawToDo, kFlag},
    {u"DrawPosBar", &Settings::DrawPosBar, kFlag},
    {u"DrawPosBarBk", &Settings::DrawPosBarBk, kFlag},
    {u"FocusTx", &Settings::FocusTx, kFlag},
    {u"FocusBk", &Settings::FocusBk, kFlag},
    {u"CrTodayTx", &Settings::CrTodayTx, kColour},
    {u"CrAnnivTx", &Settings::CrAnnivTx, kColour},
    {u"CrToDoOverTx", &Settings::CrToDoOverTx, kColour},
    {u"CrToDoTx", &Settings::CrToDoTx, kColour},
    {u"CrPin", &Settings::CrPin, kColour},
    {u"CrPosBarTx", &Settings::CrPosBarTx, kColour},
    {u"CrPosBarBk", &Settings::CrPosBarBk, kColour},
    {u"CrFocusTx", &Settings::CrFocusTx, kColour},
    {u"CrFocusBk", &Settings::CrFocusBk, kColour},
    {u"CrDataTx0", &Settings::CrDataTx0, kColour},
    {u"CrDataTx1", &Settings::CrDataTx1, kColour},
    {u"CrDataTx2", &Settings::CrDataTx2, kColour},
    {u"CrDataTx3", &Settings::CrDataTx3, kColour},
    {u"CrDataTx4", &Settings::CrDataTx4, kColour},
    {u"CrDataTx5", &Settings::CrDataTx5, kColour},
    {u"ExTapHold", &Settings::ExTapHold, kCommand},
    {u"ExTap", &Settings::ExTap, kCommand},
    {u"ExAction", &Settings::ExAction, kCommand},
    {u"ExUp", &Settings::ExUp, kCommand},
    {u"ExDown", &Settings::ExDown, kCommand},
    {u"ExLeft", &Settings::ExLeft, kCommand},
    {u"ExRight", &Settings::ExRight, kCommand},
    {u"DelWarn", &Settings::DelWarn, kFlag},
    {u"CheckWarn", &Settings::CheckWarn, kFlag},
    {u"CheckSort", &Settings::CheckSort, kFlag},
    {u"CheckTime", &Settings::CheckTime, kFlag},
    {u"CheckStrikeOut", &Settings::CheckStrikeOut, kFlag},
    {u"ViewHoliday", &Settings::ViewHoliday, kFlag},
    {u"ApptHoliday", &Settings::ApptHoliday},
    {u"ApptVRL", &Settings::ApptVRL, kFlag},
    {u"ApptVRLCat", &Settings::ApptVRLCat},
    {u"BusyStatus", &Settings::BusyStatus, kOutlookBits},
    {u"ApptSens", &Settings::ApptSens, kOutlookBits},
    {u"TaskNoVRL", &Settings::TaskNoVRL, kFlag},
    {u"TaskNoVRLCat", &Settings::TaskNoVRLCat},
    {u"TaskVRL", &Settings::TaskVRL, kFlag},
    {u"TaskVRLCat", &Settings::TaskVRLCat},
    {u"Importance", &Settings::Importance, Bits(1 | 2 | 4)},
    {u"TaskSens", &Settings::TaskSens, kOutlookBits},
};
static_assert(std::size(kValues) == 91);

// Every integer has a rule and no text has one.
constexpr bool RulesMatchFields() {
    for (const SettingValue& value : kValues) {
        const bool integer = std::holds_alternative<std::int32_t Settings::*>(value.field);
        if (integer == (value.rule.kind == Kind::Text)) {
            return false;
        }
    }
    return true;
}
static_assert(RulesMatchFields());

} // namespace

std::int32_t WithinRule(const ValueRule& rule, std::int32_t stored, std::int32_t fallback) {
    switch (rule.kind) {
    case Kind::Text:
        return stored;
    case Kind::Range:
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(stored, rule.low, rule.high));
    case Kind::Flag:
        return stored != 0 ? 1 : 0;
    case Kind::Bits:
        return static_cast<std::int32_t>(stored & rule.high);
    case Kind::Code:
        return stored < rule.low || stored > rule.high ? fallback : stored;
    case Kind::Unsigned: {
        const std::int64_t value = static_cast<std::uint32_t>(stored);
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(std::clamp(value, rule.low, rule.high)));
    }
    }
    return stored;
}

std::span<const SettingValue> SettingValuesInReadOrder() {
    return kValues;
}

const SettingValue* FindSettingValue(std::u16string_view name) {
    for (const SettingValue& value : kValues) {
        if (value.name == name) {
            return &value;
        }
    }
    return nullptr;
}

} // namespace vantrel
