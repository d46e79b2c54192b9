// 操作, 予定表 and 仕事: the gesture and key bindings, the confirmations,
// and the Outlook filters.

#include "options/option_rules.h"
#include "win32/bindings/wide_text.h"
#include "win32/options/option_pages.h"

#include <array>

namespace vantrel {
namespace {

// 操作: list index = command code + 1.
constexpr std::array<std::pair<int, std::int32_t Settings::*>, 7> kBindings{{
    {1701, &Settings::ExTapHold},
    {1702, &Settings::ExTap},
    {1703, &Settings::ExAction},
    {1704, &Settings::ExUp},
    {1705, &Settings::ExDown},
    {1706, &Settings::ExLeft},
    {1707, &Settings::ExRight},
}};
constexpr CheckBinding kConfirmations[] = {{1711, &Settings::DelWarn},
                                           {1712, &Settings::CheckWarn},
                                           {1713, &Settings::CheckSort},
                                           {1714, &Settings::CheckTime}};

// 予定表
constexpr CheckBinding kAppointmentChecks[] = {{1803, &Settings::ApptVRL}};
constexpr BitBinding kAppointmentBits[] = {
    {1805, &Settings::BusyStatus, 1}, {1806, &Settings::BusyStatus, 2},
    {1807, &Settings::BusyStatus, 4}, {1808, &Settings::BusyStatus, 8},
    {1809, &Settings::ApptSens, 1},   {1810, &Settings::ApptSens, 2},
    {1811, &Settings::ApptSens, 4},   {1812, &Settings::ApptSens, 8},
};

// 仕事
constexpr CheckBinding kTaskChecks[] = {{1901, &Settings::TaskNoVRL}, {1903, &Settings::TaskVRL}};
constexpr BitBinding kTaskBits[] = {
    {1905, &Settings::Importance, 1}, {1906, &Settings::Importance, 2},
    {1907, &Settings::Importance, 4}, {1908, &Settings::TaskSens, 1},
    {1909, &Settings::TaskSens, 2},   {1910, &Settings::TaskSens, 4},
    {1911, &Settings::TaskSens, 8},
};

void ShowText(HWND page, int id, const PathText& text) {
    SetDlgItemTextW(page, id, ToWide(text.view()).c_str());
}

void ShowOperation(HWND page, const Settings& s, const TextTable& texts) {
    for (const auto& [id, value] : kBindings) {
        FillList(page, id, texts, kCommandNameIds, s.*value + 1);
    }
    ShowChecks(page, s, kConfirmations);
}

void ApplyOperation(HWND page, Settings& s) {
    for (const auto& [id, value] : kBindings) {
        s.*value = ListIndex(page, id) - 1;
    }
    StoreChecks(page, s, kConfirmations);
}

void ShowAppointments(HWND page, const Settings& s) {
    SetChecked(page, 1801, s.ViewHoliday == 0); // checked: the categories are hidden
    ShowText(page, 1802, s.ApptHoliday);
    ShowChecks(page, s, kAppointmentChecks);
    ShowText(page, 1804, s.ApptVRLCat);
    ShowBits(page, s, kAppointmentBits);
}

void ApplyAppointments(HWND page, Settings& s) {
    s.ViewHoliday = Checked(page, 1801) ? 0 : 1;
    s.ApptHoliday = TextOf(page, 1802);
    StoreChecks(page, s, kAppointmentChecks);
    s.ApptVRLCat = TextOf(page, 1804);
    StoreBits(page, s, kAppointmentBits);
}

void ShowTasks(HWND page, const Settings& s) {
    ShowChecks(page, s, kTaskChecks);
    ShowText(page, 1902, s.TaskNoVRLCat);
    ShowText(page, 1904, s.TaskVRLCat);
    ShowBits(page, s, kTaskBits);
}

void ApplyTasks(HWND page, Settings& s) {
    StoreChecks(page, s, kTaskChecks);
    s.TaskNoVRLCat = TextOf(page, 1902);
    s.TaskVRLCat = TextOf(page, 1904);
    StoreBits(page, s, kTaskBits);
}

} // namespace

INT_PTR CALLBACK OperationPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    TodayItem& item = TheItem();
    return PageMessage(
               page, message, lParam, [&] { ShowOperation(page, item.settings, *item.texts); },
               [&] { ApplyOperation(page, item.settings); })
        .value_or(FALSE);
}

INT_PTR CALLBACK AppointmentPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    Settings& s = TheItem().settings;
    return PageMessage(
               page, message, lParam, [&] { ShowAppointments(page, s); },
               [&] { ApplyAppointments(page, s); })
        .value_or(FALSE);
}

INT_PTR CALLBACK TaskPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    Settings& s = TheItem().settings;
    return PageMessage(
               page, message, lParam, [&] { ShowTasks(page, s); }, [&] { ApplyTasks(page, s); })
        .value_or(FALSE);
}

} // namespace vantrel
