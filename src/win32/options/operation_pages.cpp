// 操作, 予定表 and 仕事: the gesture and key bindings, the confirmations,
// and the Outlook filters.

#include "options/option_rules.h"
#include "resource_ids.h"
#include "win32/bindings/wide_text.h"
#include "win32/options/option_pages.h"

#include <array>

namespace vantrel {
namespace {

// 操作: list index = command code + 1.
constexpr std::array<std::pair<int, std::int32_t Settings::*>, 7> kBindings{{
    {IDC_OPERATION_TAP_HOLD, &Settings::ExTapHold},
    {IDC_OPERATION_TAP, &Settings::ExTap},
    {IDC_OPERATION_ACTION, &Settings::ExAction},
    {IDC_OPERATION_UP, &Settings::ExUp},
    {IDC_OPERATION_DOWN, &Settings::ExDown},
    {IDC_OPERATION_LEFT, &Settings::ExLeft},
    {IDC_OPERATION_RIGHT, &Settings::ExRight},
}};
constexpr CheckBinding kConfirmations[] = {{IDC_OPERATION_DEL_WARN, &Settings::DelWarn},
                                           {IDC_OPERATION_CHECK_WARN, &Settings::CheckWarn},
                                           {IDC_OPERATION_CHECK_SORT, &Settings::CheckSort},
                                           {IDC_OPERATION_CHECK_TIME, &Settings::CheckTime}};

// 予定表
constexpr CheckBinding kAppointmentChecks[] = {{IDC_APPT_SHOW_CATEGORIES, &Settings::ApptVRL}};
constexpr BitBinding kAppointmentBits[] = {
    {IDC_APPT_BUSY_FREE, &Settings::BusyStatus, 1},
    {IDC_APPT_BUSY_TENTATIVE, &Settings::BusyStatus, 2},
    {IDC_APPT_BUSY_BUSY, &Settings::BusyStatus, 4},
    {IDC_APPT_BUSY_OUT_OF_OFFICE, &Settings::BusyStatus, 8},
    {IDC_APPT_SENS_NORMAL, &Settings::ApptSens, 1},
    {IDC_APPT_SENS_PERSONAL, &Settings::ApptSens, 2},
    {IDC_APPT_SENS_PRIVATE, &Settings::ApptSens, 4},
    {IDC_APPT_SENS_CONFIDENTIAL, &Settings::ApptSens, 8},
};

// 仕事
constexpr CheckBinding kTaskChecks[] = {{IDC_TASK_HIDE_CATEGORIES, &Settings::TaskNoVRL},
                                        {IDC_TASK_SHOW_CATEGORIES, &Settings::TaskVRL}};
constexpr BitBinding kTaskBits[] = {
    {IDC_TASK_IMPORTANCE_LOW, &Settings::Importance, 1},
    {IDC_TASK_IMPORTANCE_NORMAL, &Settings::Importance, 2},
    {IDC_TASK_IMPORTANCE_HIGH, &Settings::Importance, 4},
    {IDC_TASK_SENS_NORMAL, &Settings::TaskSens, 1},
    {IDC_TASK_SENS_PERSONAL, &Settings::TaskSens, 2},
    {IDC_TASK_SENS_PRIVATE, &Settings::TaskSens, 4},
    {IDC_TASK_SENS_CONFIDENTIAL, &Settings::TaskSens, 8},
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
    // checked: the categories are hidden
    SetChecked(page, IDC_APPT_HIDE_CATEGORIES, s.ViewHoliday == 0);
    ShowText(page, IDC_APPT_HIDDEN_CATEGORIES, s.ApptHoliday);
    ShowChecks(page, s, kAppointmentChecks);
    ShowText(page, IDC_APPT_SHOWN_CATEGORIES, s.ApptVRLCat);
    ShowBits(page, s, kAppointmentBits);
}

void ApplyAppointments(HWND page, Settings& s) {
    s.ViewHoliday = Checked(page, IDC_APPT_HIDE_CATEGORIES) ? 0 : 1;
    s.ApptHoliday = TextOf(page, IDC_APPT_HIDDEN_CATEGORIES);
    StoreChecks(page, s, kAppointmentChecks);
    s.ApptVRLCat = TextOf(page, IDC_APPT_SHOWN_CATEGORIES);
    StoreBits(page, s, kAppointmentBits);
}

void ShowTasks(HWND page, const Settings& s) {
    ShowChecks(page, s, kTaskChecks);
    ShowText(page, IDC_TASK_HIDDEN_CATEGORIES, s.TaskNoVRLCat);
    ShowText(page, IDC_TASK_SHOWN_CATEGORIES, s.TaskVRLCat);
    ShowBits(page, s, kTaskBits);
}

void ApplyTasks(HWND page, Settings& s) {
    StoreChecks(page, s, kTaskChecks);
    s.TaskNoVRLCat = TextOf(page, IDC_TASK_HIDDEN_CATEGORIES);
    s.TaskVRLCat = TextOf(page, IDC_TASK_SHOWN_CATEGORIES);
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
