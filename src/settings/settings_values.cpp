#include "settings/settings_values.h"

#include <iterator>

namespace vantrel {
namespace {

constexpr SettingValue kValues[] = {
    {u"OpenFile", &Settings::OpenFile},
    {u"DataLine", &Settings::DataLine},
    {u"ViewLine", &Settings::ViewLine},
    {u"DrawCheck", &Settings::DrawCheck},
    {u"CheckDate", &Settings::CheckDate},
    {u"StartView", &Settings::StartView},
    {u"StartFilter", &Settings::StartFilter},
    {u"SaveFilter", &Settings::SaveFilter},
    {u"FilterTag", &Settings::FilterTag},
    {u"AutoUpdate", &Settings::AutoUpdate},
    {u"WidthDate", &Settings::WidthDate},
    {u"WidthDayCount", &Settings::WidthDayCount},
    {u"WidthMemo", &Settings::WidthMemo},
    {u"ShortView", &Settings::ShortView},
    {u"WidthSep", &Settings::WidthSep},
    {u"PosMemo", &Settings::PosMemo},
    {u"PosDate", &Settings::PosDate},
    {u"PosDayCount", &Settings::PosDayCount},
    {u"FontName", &Settings::FontName},
    {u"CharSet", &Settings::CharSet},
    {u"FontSize", &Settings::FontSize},
    {u"LineSpace", &Settings::LineSpace},
    {u"DrawWDay", &Settings::DrawWDay},
    {u"DrawIcon", &Settings::DrawIcon},
    {u"DrawSpan", &Settings::DrawSpan},
    {u"DrawTomorrow", &Settings::DrawTomorrow},
    {u"MaxMinutes", &Settings::MaxMinutes},
    {u"ResetTime", &Settings::ResetTime},
    {u"ExFocus", &Settings::ExFocus},
    {u"ExFocusTime", &Settings::ExFocusTime},
    {u"ExFontName", &Settings::ExFontName},
    {u"ExCharSet", &Settings::ExCharSet},
    {u"ExFontSize", &Settings::ExFontSize},
    {u"Future", &Settings::Future},
    {u"StartWeek", &Settings::StartWeek},
    {u"DSpan1", &Settings::DSpan1},
    {u"DSpan2", &Settings::DSpan2},
    {u"DSpan3s", &Settings::DSpan3s},
    {u"DSpan3e", &Settings::DSpan3e},
    {u"DSpan4", &Settings::DSpan4},
    {u"DSpan5", &Settings::DSpan5},
    {u"DSpanFs", &Settings::DSpanFs},
    {u"DSpanFe", &Settings::DSpanFe},
    {u"DSpanTs", &Settings::DSpanTs},
    {u"OverMinutes", &Settings::OverMinutes},
    {u"DrawToday", &Settings::DrawToday},
    {u"DrawAnniv", &Settings::DrawAnniv},
    {u"DrawToDo", &Settings::DrawToDo},
    {u"DrawPosBar", &Settings::DrawPosBar},
    {u"DrawPosBarBk", &Settings::DrawPosBarBk},
    {u"FocusTx", &Settings::FocusTx},
    {u"FocusBk", &Settings::FocusBk},
    {u"CrTodayTx", &Settings::CrTodayTx},
    {u"CrAnnivTx", &Settings::CrAnnivTx},
    {u"CrToDoOverTx", &Settings::CrToDoOverTx},
    {u"CrToDoTx", &Settings::CrToDoTx},
    {u"CrPin", &Settings::CrPin},
    {u"CrPosBarTx", &Settings::CrPosBarTx},
    {u"CrPosBarBk", &Settings::CrPosBarBk},
    {u"CrFocusTx", &Settings::CrFocusTx},
    {u"CrFocusBk", &Settings::CrFocusBk},
    {u"CrDataTx0", &Settings::CrDataTx0},
    {u"CrDataTx1", &Settings::CrDataTx1},
    {u"CrDataTx2", &Settings::CrDataTx2},
    {u"CrDataTx3", &Settings::CrDataTx3},
    {u"CrDataTx4", &Settings::CrDataTx4},
    {u"CrDataTx5", &Settings::CrDataTx5},
    {u"ExTapHold", &Settings::ExTapHold},
    {u"ExTap", &Settings::ExTap},
    {u"ExAction", &Settings::ExAction},
    {u"ExUp", &Settings::ExUp},
    {u"ExDown", &Settings::ExDown},
    {u"ExLeft", &Settings::ExLeft},
    {u"ExRight", &Settings::ExRight},
    {u"DelWarn", &Settings::DelWarn},
    {u"CheckWarn", &Settings::CheckWarn},
    {u"CheckSort", &Settings::CheckSort},
    {u"CheckTime", &Settings::CheckTime},
    {u"CheckStrikeOut", &Settings::CheckStrikeOut},
    {u"ViewHoliday", &Settings::ViewHoliday},
    {u"ApptHoliday", &Settings::ApptHoliday},
    {u"ApptVRL", &Settings::ApptVRL},
    {u"ApptVRLCat", &Settings::ApptVRLCat},
    {u"BusyStatus", &Settings::BusyStatus},
    {u"ApptSens", &Settings::ApptSens},
    {u"TaskNoVRL", &Settings::TaskNoVRL},
    {u"TaskNoVRLCat", &Settings::TaskNoVRLCat},
    {u"TaskVRL", &Settings::TaskVRL},
    {u"TaskVRLCat", &Settings::TaskVRLCat},
    {u"Importance", &Settings::Importance},
    {u"TaskSens", &Settings::TaskSens},
};
static_assert(std::size(kValues) == 91);

} // namespace

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
