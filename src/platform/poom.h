#pragma once

// COM-shaped interfaces of the Pocket Outlook Object Model: the calls the
// item makes, with the platform's HRESULT, BSTR, DATE and VARIANT_BOOL
// conventions. Strings returned by getters are freed with the
// application's SysFreeString; every interface obtained is released.

#include <windows.h>

#include <oleauto.h>

namespace vantrel {

inline constexpr int olFolderCalendar = 9;
inline constexpr int olFolderTasks = 13;
inline constexpr int olAppointmentItem = 1;
inline constexpr int olTaskItem = 3;
inline constexpr DATE kPoomNoDate = 949998.0; // 4501-01-01: no date set

// {05058F23-20BE-11D2-8F18-0000F87A4335} and {05058F22-...}: the Application
// class and its IPOutlookApp interface.
inline constexpr CLSID kClsidPoomApplication = {
    0x05058F23, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID kIidPoomApp = {
    0x05058F22, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};

struct IRecurrencePattern;
struct IPOutlookItemCollection;

struct IAppointment : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Oid(LONG* oid) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Sensitivity(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BusyStatus(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsRecurring(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllDayEvent(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Start(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_End(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Subject(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Location(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Categories(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRecurrencePattern(IRecurrencePattern** pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE Display() = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
};

struct ITask : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Oid(LONG* oid) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Importance(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Sensitivity(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Complete(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Complete(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DateCompleted(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StartDate(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DueDate(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsRecurring(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Subject(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Categories(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Display() = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
    virtual HRESULT STDMETHODCALLTYPE Save() = 0;
    virtual HRESULT STDMETHODCALLTYPE SkipRecurrence() = 0;
};

struct IException : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Deleted(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_OriginalDate(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AppointmentItem(IAppointment** item) = 0;
};

struct IExceptions : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Count(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Item(int index, IException** item) = 0; // from 1
};

struct IRecurrencePattern : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_RecurrenceType(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PatternStartDate(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PatternEndDate(DATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NoEndDate(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Interval(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DayOfWeekMask(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DayOfMonth(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Instance(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MonthOfYear(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOccurrence(DATE when, IAppointment** occurrence) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Exceptions(IExceptions** exceptions) = 0;
};

// Items are IAppointment or ITask, by the folder they come from.
struct IPOutlookItemCollection : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Count(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Item(int index, IUnknown** item) = 0; // from 1
    virtual HRESULT STDMETHODCALLTYPE Restrict(BSTR query, IPOutlookItemCollection** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IncludeRecurrences(VARIANT_BOOL include) = 0;
};

struct IFolder : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Items(IPOutlookItemCollection** items) = 0;
};

struct IPOutlookApp : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Logon(LONG window) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDefaultFolder(int folder, IFolder** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateItem(int itemType, IUnknown** item) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetItemFromOid(LONG oid, IUnknown** item) = 0;
    virtual HRESULT STDMETHODCALLTYPE SysFreeString(BSTR text) = 0;
};

// Asking an item for its typed interface: appointments and tasks answer
// QueryInterface with these ids.
inline constexpr IID kIidAppointment = {
    0x7E5C1A01, 0x5A3B, 0x4C1D, {0x9E, 0x21, 0x56, 0x61, 0x6E, 0x74, 0x72, 0x01}};
inline constexpr IID kIidTask = {
    0x7E5C1A02, 0x5A3B, 0x4C1D, {0x9E, 0x21, 0x56, 0x61, 0x6E, 0x74, 0x72, 0x02}};

// The Application object: CoCreateInstance of the platform's class, and
// where none is registered (no Pocket Outlook here) the replacement store
// named by the environment variable VANTREL_STORE.
HRESULT CreatePoomApplication(IPOutlookApp** app);

} // namespace vantrel
