// The replacement store behind the COM-shaped Pocket Outlook interfaces.
// Objects refer to their record by Oid, so an item deleted meanwhile makes
// its getters fail instead of reading freed memory.

#include "platform/poom.h"
#include "platform/poom_store/ics_store.h"
#include "platform/poom_store/poom_display.h"
#include "platform/poom_store/store_index.h"
#include "platform/poom_store/store_model.h"
#include "storage/file_replace.h"
#include "text/utf8.h"
#include "win32/bindings/local_now.h"
#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_file_access.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace vantrel {
namespace {

using namespace store;

// The store's files go through the one file seam: reads carry the file's
// identity, and a write replaces the file only while it is still what the
// change was applied to.
constexpr std::size_t kMaxStoreBytes = 64u << 20;

Win32FileAccess& StoreFiles() {
    static Win32FileAccess files;
    return files;
}

void Report(const std::wstring& path, const std::string& error) {
    const std::wstring message = L"Outlook store " + path + L": " + ToWide(FromUtf8(error)) + L"\n";
    OutputDebugStringW(message.c_str());
    std::fputws(message.c_str(), stderr);
}

struct StoreFile {
    std::wstring path;
    bool ics = false; // an iCalendar file, else the store's own text
    std::string text; // as last read or written
    Store data;       // the records of `text`
    StoreIndex index;
    FileIdentity known; // the file as `text` was read or written
    bool taken = false; // `data` holds what `text` reads as
    bool exact = false; // an iCalendar `text` that libical reads as its lines show

    // Takes a new version of the file; its unreadable records are reported.
    // An iCalendar file already read is read again only where it changed.
    void Take(std::string newText) {
        ParsedStore parsed;
        if (ics && taken) {
            parsed.store = std::move(data);
            parsed.exact = exact;
            parsed.ok = true;
            UpdateIcsStore(parsed, text, newText, Clock());
        } else {
            parsed = ics ? ParseIcsStore(newText, Clock()) : ParseStore(newText);
        }
        text = std::move(newText);
        for (const std::string& problem : parsed.problems) {
            Report(path, problem + " (the record is left as it is)");
        }
        data = std::move(parsed.store);
        exact = parsed.exact;
        taken = true;
        index.Rebuild(data);
    }

    // The item's clock: series shown by their next occurrence and new
    // DTSTAMPs follow it.
    static IcsClock Clock() {
        const SystemTime now = LocalNow();
        return IcsClockAt(MomentOf(DayNumberOf(now), now.hour, now.minute));
    }

    // A live series moves on to its occurrence at the item's clock.
    void Advance() {
        const SystemTime now = LocalNow();
        if (AdvanceLive(data, MomentOf(DayNumberOf(now), now.hour, now.minute))) {
            index.Rebuild(data);
        }
    }

    // Another program may have changed the file since: read it again.
    void Reload() {
        if (!MayHaveChanged(known, StoreFiles().Stat(FromWide(path)))) {
            return;
        }
        FileContent fresh = StoreFiles().Read(FromWide(path), kMaxStoreBytes);
        if (fresh.status != ReadStatus::kRead) {
            Report(path, "cannot be read; the last version read is kept");
            return;
        }
        known = fresh.identity;
        if (fresh.bytes != text) {
            Take(std::move(fresh.bytes));
        }
    }

    // Applies one change to the file as it is now, which may be newer than
    // what was read: only that change is written, the rest stays. When
    // another program writes between the read and the move, the change is
    // applied again to its version.
    bool Apply(const StoreChange& change, int* oid = nullptr) {
        const std::u16string name = FromWide(path);
        FileContent fresh = StoreFiles().Read(name, kMaxStoreBytes);
        for (int attempt = 0; attempt < 4; ++attempt) {
            if (fresh.status != ReadStatus::kRead) {
                return Failed("cannot be read; nothing is written");
            }
            // The file as last read needs no second reading to be changed.
            const bool asRead = exact && fresh.bytes == text;
            std::optional<ChangedText> changed =
                ics ? ApplyIcsChange(fresh.bytes, change, Clock(), asRead)
                    : ApplyChange(fresh.bytes, change);
            if (!changed) {
                known = fresh.identity;
                Take(std::move(fresh.bytes));
                return Failed("the record changed is no longer in the file; nothing is written");
            }
            ReplaceResult result = ReplaceIfUnchanged(StoreFiles(), name, fresh.identity,
                                                      changed->text, kMaxStoreBytes);
            if (result.status == ReplaceStatus::kReplaced) {
                known = result.written;
                Take(std::move(changed->text));
                if (oid != nullptr) {
                    *oid = changed->oid;
                }
                return true;
            }
            if (result.status != ReplaceStatus::kChanged) {
                return Failed("cannot be written (error " + std::to_string(result.error) +
                              "); nothing is changed");
            }
            fresh = std::move(result.current);
        }
        return Failed("keeps changing; nothing is written");
    }

    // Reported here; the caller's E_FAIL makes the item tell the user.
    bool Failed(const std::string& why) {
        Report(path, why);
        return false;
    }

    template <class Record> StoreChange ChangeTo(StoreChange::Kind kind, const Record& r) const {
        return ChangeOf(kind, text, r);
    }
    const Appointment* FindAppointment(int oid) const { return index.FindAppointment(oid); }
    const Task* FindTask(int oid) const { return index.FindTask(oid); }
};
using StorePtr = std::shared_ptr<StoreFile>;

template <class... Interfaces> class ComObject : public Interfaces... {
  public:
    virtual ~ComObject() = default;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(static_cast<First*>(this));
        } else if (!Answer(iid, out)) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

  protected:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    virtual bool Answer(REFIID, void**) { return false; }

  private:
    std::atomic<ULONG> references_{1};
};

// An item's answer to QueryInterface for its typed interface.
template <class Interface>
bool AnswerAs(REFIID iid, const IID& typed, Interface* self, void** out) {
    if (iid != typed) {
        return false;
    }
    *out = self;
    return true;
}

HRESULT PutBstr(const std::u16string& text, BSTR* out, std::size_t limit = 4096) {
    const std::wstring wide = ToWide(std::u16string_view(text).substr(0, limit));
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

double DayVariant(int day) {
    return VariantOf(MomentOf(day, 0, 0));
}
int VariantDay(DATE v) {
    return DayOfVariant(v);
}

std::u16string Text16(const std::string& utf8) {
    return FromUtf8(utf8);
}

std::u16string MomentText(Minutes m, bool withTime) {
    const CalendarDate d = DateOfDayNumber(DayOf(m));
    const int minutes = static_cast<int>(m - static_cast<Minutes>(DayOf(m)) * 1440);
    char text[32];
    if (withTime) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day,
                      minutes / 60, minutes % 60);
    } else {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    }
    return Text16(text);
}

// The item's today (the host's --now reaches it through VANTREL_NOW).
int Today() {
    return DayNumberOf(LocalNow());
}

class AppointmentObject;
IAppointment* NewAppointment(StorePtr store, int oid, std::optional<Occurrence> occurrence);

class PatternObject;
class ExceptionObject : public ComObject<IException> {
  public:
    ExceptionObject(StorePtr s, int oid, std::size_t at)
        : store_(std::move(s)), oid_(oid), at_(at) {}
    HRESULT STDMETHODCALLTYPE get_Deleted(VARIANT_BOOL* v) override {
        const Exception* e = Find();
        return e ? (*v = e->deleted ? VARIANT_TRUE : VARIANT_FALSE, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_OriginalDate(DATE* v) override {
        const Exception* e = Find();
        return e ? (*v = DayVariant(e->originalDay), S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_AppointmentItem(IAppointment** item) override {
        const Exception* e = Find();
        const Appointment* a = store_->FindAppointment(oid_);
        if (!e || !a || e->deleted) {
            return E_FAIL;
        }
        *item = NewAppointment(store_, oid_,
                               Occurrence{a, e->start, e->end,
                                          e->subject.empty() ? a->subject : e->subject,
                                          e->originalDay, std::nullopt});
        return S_OK;
    }

  private:
    const Exception* Find() const {
        const Appointment* a = store_->FindAppointment(oid_);
        return a && at_ < a->exceptions.size() ? &a->exceptions[at_] : nullptr;
    }
    StorePtr store_;
    int oid_;
    std::size_t at_;
};

class ExceptionsObject : public ComObject<IExceptions> {
  public:
    ExceptionsObject(StorePtr s, int oid) : store_(std::move(s)), oid_(oid) {}
    HRESULT STDMETHODCALLTYPE get_Count(int* count) override {
        const Appointment* a = store_->FindAppointment(oid_);
        return a ? (*count = static_cast<int>(a->exceptions.size()), S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Item(int index, IException** item) override {
        const Appointment* a = store_->FindAppointment(oid_);
        if (!a || index < 1 || static_cast<std::size_t>(index) > a->exceptions.size()) {
            return E_INVALIDARG;
        }
        // NOLINTNEXTLINE(bugprone-throw-keyword-missing): a COM object for POOM's IException
        *item = new ExceptionObject(store_, oid_, static_cast<std::size_t>(index - 1));
        return S_OK;
    }

  private:
    StorePtr store_;
    int oid_;
};

// The pattern of an appointment series (its Oid) or of a recurring task.
class PatternObject : public ComObject<IRecurrencePattern> {
  public:
    PatternObject(StorePtr s, int oid, bool task) : store_(std::move(s)), oid_(oid), task_(task) {}

    HRESULT STDMETHODCALLTYPE get_RecurrenceType(LONG* v) override {
        return Get(v, &RecurrenceValues::type);
    }
    HRESULT STDMETHODCALLTYPE get_DayOfWeekMask(LONG* v) override {
        return Get(v, &RecurrenceValues::dayOfWeekMask);
    }
    HRESULT STDMETHODCALLTYPE get_DayOfMonth(LONG* v) override {
        return Get(v, &RecurrenceValues::dayOfMonth);
    }
    HRESULT STDMETHODCALLTYPE get_Instance(LONG* v) override {
        return Get(v, &RecurrenceValues::instance);
    }
    HRESULT STDMETHODCALLTYPE get_MonthOfYear(LONG* v) override {
        return Get(v, &RecurrenceValues::monthOfYear);
    }
    HRESULT STDMETHODCALLTYPE get_Interval(LONG* v) override {
        const RecurrenceValues* r = Pattern();
        if (!r || !r->interval) {
            return E_FAIL; // the every-weekday form has no interval
        }
        *v = *r->interval;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_PatternStartDate(DATE* v) override {
        const RecurrenceValues* r = Pattern();
        if (!r) {
            return E_FAIL;
        }
        *v = DayVariant(
            DayNumberOf(r->patternStart.year, r->patternStart.month, r->patternStart.day));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_PatternEndDate(DATE* v) override {
        const RecurrenceValues* r = Pattern();
        if (!r) {
            return E_FAIL;
        }
        *v = r->noEndDate ? kPoomNoDate
                          : DayVariant(DayNumberOf(r->patternEnd.year, r->patternEnd.month,
                                                   r->patternEnd.day));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NoEndDate(VARIANT_BOOL* v) override {
        const RecurrenceValues* r = Pattern();
        return r ? (*v = r->noEndDate ? VARIANT_TRUE : VARIANT_FALSE, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetOccurrence(DATE when, IAppointment** occurrence) override {
        *occurrence = nullptr;
        const Appointment* a = task_ ? nullptr : store_->FindAppointment(oid_);
        if (!a) {
            return E_FAIL;
        }
        std::optional<Occurrence> found = OccurrenceOn(*a, VariantDay(when));
        if (!found) {
            return E_FAIL;
        }
        *occurrence = NewAppointment(store_, oid_, found);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Exceptions(IExceptions** exceptions) override {
        if (task_ || !store_->FindAppointment(oid_)) {
            return E_FAIL;
        }
        // NOLINTNEXTLINE(bugprone-throw-keyword-missing): a COM object for POOM's IExceptions
        *exceptions = new ExceptionsObject(store_, oid_);
        return S_OK;
    }

  private:
    const RecurrenceValues* Pattern() const {
        if (task_) {
            const Task* t = store_->FindTask(oid_);
            return t && t->recurrence ? &*t->recurrence : nullptr;
        }
        const Appointment* a = store_->FindAppointment(oid_);
        return a && a->recurrence ? &*a->recurrence : nullptr;
    }
    HRESULT Get(LONG* v, int RecurrenceValues::*field) {
        const RecurrenceValues* r = Pattern();
        return r ? (*v = r->*field, S_OK) : E_FAIL;
    }
    StorePtr store_;
    int oid_;
    bool task_;
};

class AppointmentObject : public ComObject<IAppointment> {
  public:
    AppointmentObject(StorePtr s, int oid, std::optional<Occurrence> occurrence)
        : store_(std::move(s)), oid_(oid), occurrence_(std::move(occurrence)) {}

    HRESULT STDMETHODCALLTYPE get_Oid(LONG* v) override {
        return Record() || isNew_ ? (*v = oid_, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Sensitivity(LONG* v) override {
        const Appointment* a = Record();
        return a ? (*v = a->sensitivity, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_BusyStatus(LONG* v) override {
        const Appointment* a = Record();
        return a ? (*v = a->busyStatus, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_IsRecurring(VARIANT_BOOL* v) override {
        const Appointment* a = Record();
        return a ? (*v = a->recurrence ? VARIANT_TRUE : VARIANT_FALSE, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_AllDayEvent(VARIANT_BOOL* v) override {
        const Appointment* a = Record();
        return a ? (*v = a->allDay ? VARIANT_TRUE : VARIANT_FALSE, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Start(DATE* v) override {
        const Appointment* a = Record();
        return a ? (*v = VariantOf(occurrence_ ? occurrence_->start : a->start), S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_End(DATE* v) override {
        const Appointment* a = Record();
        return a ? (*v = VariantOf(occurrence_ ? occurrence_->end : a->end), S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Subject(BSTR* v) override {
        const Appointment* a = Record();
        return a ? PutBstr(occurrence_ ? occurrence_->subject : a->subject, v) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Location(BSTR* v) override {
        const Appointment* a = Record();
        return a ? PutBstr(a->location, v) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Categories(BSTR* v) override {
        const Appointment* a = Record();
        return a ? PutBstr(a->categories, v) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetRecurrencePattern(IRecurrencePattern** pattern) override {
        const Appointment* a = Record();
        if (!a || !a->recurrence) {
            return E_FAIL;
        }
        *pattern = new PatternObject(store_, oid_, false);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Display() override {
        PoomDisplayRequest request;
        request.isNew = isNew_;
        if (isNew_) {
            const int today = Today();
            request.start = MomentText(MomentOf(today, 9, 0), true);
            request.end = MomentText(MomentOf(today, 10, 0), true);
            if (!ShowPoomDisplay(request)) {
                return S_FALSE;
            }
            return AddFromForm(request);
        }
        const Appointment* a = Record();
        if (!a) {
            return E_FAIL;
        }
        const Minutes start = occurrence_ ? occurrence_->start : a->start;
        const Minutes end = occurrence_ ? occurrence_->end : a->end;
        request.summary = (occurrence_ ? occurrence_->subject : a->subject) + u"\n" +
                          MomentText(start, !a->allDay) + u" - " +
                          MomentText(a->allDay ? end - 1440 : end, !a->allDay);
        if (!a->location.empty()) {
            request.summary += u"\n" + a->location;
        }
        if (!a->categories.empty()) {
            request.summary += u"\n" + a->categories;
        }
        ShowPoomDisplay(request);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Delete() override {
        const Appointment* a = Record();
        if (!a) {
            return E_FAIL;
        }
        // An occurrence of a series: that day is skipped (a moved one too).
        // A live series shown by one occurrence loses that occurrence only.
        const bool occurrence = (occurrence_ && a->recurrence) || a->live;
        StoreChange change =
            store_->ChangeTo(occurrence ? StoreChange::kSkipOccurrence : StoreChange::kDelete, *a);
        change.day = occurrence_ ? occurrence_->originalDay : DayOf(a->start);
        if (a->live) {
            change.slotUtc = occurrence_ ? occurrence_->slotUtc : a->slotUtc;
        }
        return store_->Apply(change) ? S_OK : E_FAIL;
    }

    void MarkNew() { isNew_ = true; }

  protected:
    bool Answer(REFIID iid, void** out) override {
        return AnswerAs<IAppointment>(iid, kIidAppointment, this, out);
    }

  private:
    const Appointment* Record() { return isNew_ ? nullptr : store_->FindAppointment(oid_); }

    HRESULT AddFromForm(const PoomDisplayRequest& r) {
        StoreChange change;
        change.kind = StoreChange::kAdd;
        change.record = AppointmentRecord(r.subject, r.start, r.end);
        const ParsedStore parsed = ParseStore(change.record);
        if (!parsed.ok || parsed.store.appointments.size() != 1) {
            MessageBoxW(nullptr, L"日付は YYYY-MM-DD HH:MM の形で入力してください", L"予定", MB_OK);
            return E_INVALIDARG;
        }
        int oid = 0;
        if (!store_->Apply(change, &oid)) {
            return E_FAIL;
        }
        oid_ = oid;
        isNew_ = false;
        return S_OK;
    }

    StorePtr store_;
    int oid_;
    std::optional<Occurrence> occurrence_;
    bool isNew_ = false;
};

IAppointment* NewAppointment(StorePtr store, int oid, std::optional<Occurrence> occurrence) {
    return new AppointmentObject(std::move(store), oid, std::move(occurrence));
}

class TaskObject : public ComObject<ITask> {
  public:
    TaskObject(StorePtr s, int oid) : store_(std::move(s)), oid_(oid) {}

    HRESULT STDMETHODCALLTYPE get_Oid(LONG* v) override {
        return Record() ? (*v = oid_, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Importance(LONG* v) override {
        const Task* t = Record();
        return t ? (*v = t->importance, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Sensitivity(LONG* v) override {
        const Task* t = Record();
        return t ? (*v = t->sensitivity, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Complete(VARIANT_BOOL* v) override {
        const Task* t = Record();
        return t ? (*v = t->complete ? VARIANT_TRUE : VARIANT_FALSE, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_Complete(VARIANT_BOOL v) override {
        if (!Record()) {
            return E_FAIL;
        }
        pendingComplete_ = v != VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_DateCompleted(DATE* v) override {
        const Task* t = Record();
        if (!t) {
            return E_FAIL;
        }
        const std::optional<int> day = CompletionDay(*t, Today());
        *v = day ? DayVariant(*day) : kPoomNoDate;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_StartDate(DATE* v) override {
        const Task* t = Record();
        return t ? (*v = t->startDay ? DayVariant(*t->startDay) : kPoomNoDate, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_DueDate(DATE* v) override {
        const Task* t = Record();
        return t ? (*v = t->dueDay ? DayVariant(*t->dueDay) : kPoomNoDate, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_IsRecurring(VARIANT_BOOL* v) override {
        const Task* t = Record();
        return t ? (*v = t->recurrence ? VARIANT_TRUE : VARIANT_FALSE, S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Subject(BSTR* v) override {
        const Task* t = Record();
        return t ? PutBstr(t->subject, v) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_Categories(BSTR* v) override {
        const Task* t = Record();
        return t ? PutBstr(t->categories, v) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Display() override {
        PoomDisplayRequest request;
        request.isTask = true;
        request.isNew = isNew_;
        if (isNew_) {
            request.end = MomentText(MomentOf(Today() + 7, 0, 0), false);
            if (!ShowPoomDisplay(request)) {
                return S_FALSE;
            }
            StoreChange change;
            change.kind = StoreChange::kAdd;
            change.record = TaskRecord(request.subject, request.start, request.end);
            const ParsedStore parsed = ParseStore(change.record);
            if (!parsed.ok || parsed.store.tasks.size() != 1) {
                MessageBoxW(nullptr, L"日付は YYYY-MM-DD の形で入力してください", L"タスク", MB_OK);
                return E_INVALIDARG;
            }
            int oid = 0;
            if (!store_->Apply(change, &oid)) {
                return E_FAIL;
            }
            oid_ = oid;
            isNew_ = false;
            return S_OK;
        }
        const Task* t = Record();
        if (!t) {
            return E_FAIL;
        }
        request.summary = t->subject;
        if (t->dueDay) {
            request.summary += u"\n\u671F\u9650 " + MomentText(MomentOf(*t->dueDay, 0, 0), false);
        }
        request.summary += t->complete ? u"\n\u5B8C\u4E86" : u"";
        ShowPoomDisplay(request);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Delete() override {
        const Task* t = Record();
        return t && store_->Apply(store_->ChangeTo(StoreChange::kDelete, *t)) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Save() override {
        const Task* t = Record();
        if (!t) {
            return E_FAIL;
        }
        if (!pendingComplete_) {
            return S_OK;
        }
        StoreChange change = store_->ChangeTo(StoreChange::kSetComplete, *t);
        change.complete = *pendingComplete_;
        change.day = Today();
        pendingComplete_.reset();
        return store_->Apply(change) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE SkipRecurrence() override {
        const Task* t = Record();
        if (!t || !NextTaskDay(*t)) {
            return E_FAIL;
        }
        return store_->Apply(store_->ChangeTo(StoreChange::kSkipTask, *t)) ? S_OK : E_FAIL;
    }

    void MarkNew() { isNew_ = true; }

  protected:
    bool Answer(REFIID iid, void** out) override {
        return AnswerAs<ITask>(iid, kIidTask, this, out);
    }

  private:
    const Task* Record() { return isNew_ ? nullptr : store_->FindTask(oid_); }
    StorePtr store_;
    int oid_;
    bool isNew_ = false;
    std::optional<bool> pendingComplete_;
};

struct Entry {
    int oid = 0;
    std::optional<Occurrence> occurrence;
};

class CollectionObject : public ComObject<IPOutlookItemCollection> {
  public:
    // `all`: the folder's items, every record of the store when made.
    CollectionObject(StorePtr s, bool tasks, std::vector<Entry> entries, bool all)
        : store_(std::move(s)), tasks_(tasks), entries_(std::move(entries)), all_(all) {}

    HRESULT STDMETHODCALLTYPE get_Count(int* count) override {
        *count = static_cast<int>(entries_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(int index, IUnknown** item) override {
        *item = nullptr;
        if (index < 1 || static_cast<std::size_t>(index) > entries_.size()) {
            return E_INVALIDARG;
        }
        const Entry& e = entries_[static_cast<std::size_t>(index - 1)];
        if (tasks_) {
            if (!store_->FindTask(e.oid)) {
                return E_FAIL;
            }
            *item = static_cast<ITask*>(new TaskObject(store_, e.oid));
        } else {
            if (!store_->FindAppointment(e.oid)) {
                return E_FAIL;
            }
            *item = NewAppointment(store_, e.oid, e.occurrence);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_IncludeRecurrences(VARIANT_BOOL include) override {
        includeRecurrences_ = include != VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Restrict(BSTR text, IPOutlookItemCollection** result) override {
        *result = nullptr;
        const std::optional<std::vector<Condition>> query =
            ParseQuery(FromWide(text != nullptr ? text : L""));
        if (!query || tasks_) {
            return E_INVALIDARG;
        }
        // The index answers over the whole calendar; a collection that is
        // itself a result keeps its own entries only.
        std::vector<Occurrence> found = store_->index.Restrict(*query, includeRecurrences_);
        if (!all_) {
            std::unordered_set<int> mine;
            for (const Entry& e : entries_) {
                mine.insert(e.oid);
            }
            found.erase(
                std::remove_if(found.begin(), found.end(),
                               [&](const Occurrence& o) { return mine.count(o.series->oid) == 0; }),
                found.end());
        }
        if (found.empty()) {
            return S_OK; // no match: S_OK with no collection, as the platform answers
        }
        std::vector<Entry> entries;
        entries.reserve(found.size());
        for (Occurrence& o : found) {
            const int oid = o.series->oid;
            const bool recurring = o.series->recurrence.has_value() || o.series->live;
            entries.push_back(
                {oid, recurring ? std::optional<Occurrence>(std::move(o)) : std::nullopt});
        }
        *result = new CollectionObject(store_, false, std::move(entries), false);
        return S_OK;
    }

  private:
    StorePtr store_;
    bool tasks_;
    std::vector<Entry> entries_;
    bool all_;
    bool includeRecurrences_ = false;
};

class FolderObject : public ComObject<IFolder> {
  public:
    FolderObject(StorePtr s, bool tasks) : store_(std::move(s)), tasks_(tasks) {}
    HRESULT STDMETHODCALLTYPE get_Items(IPOutlookItemCollection** items) override {
        std::vector<Entry> entries;
        if (tasks_) {
            for (const Task& t : store_->data.tasks) {
                entries.push_back({t.oid, std::nullopt});
            }
        } else {
            for (const Appointment& a : store_->data.appointments) {
                if (!a.ended) { // a live series with nothing left is not listed
                    entries.push_back({a.oid, std::nullopt});
                }
            }
        }
        *items = new CollectionObject(store_, tasks_, std::move(entries), true);
        return S_OK;
    }

  private:
    StorePtr store_;
    bool tasks_;
};

class AppObject : public ComObject<IPOutlookApp> {
  public:
    explicit AppObject(StorePtr s) : store_(std::move(s)) {}
    HRESULT STDMETHODCALLTYPE Logon(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetDefaultFolder(int folder, IFolder** result) override {
        *result = nullptr;
        store_->Reload();
        store_->Advance();
        if (folder != olFolderCalendar && folder != olFolderTasks) {
            return E_INVALIDARG;
        }
        *result = new FolderObject(store_, folder == olFolderTasks);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateItem(int type, IUnknown** item) override {
        *item = nullptr;
        if (type == olAppointmentItem) {
            auto* a = new AppointmentObject(store_, 0, std::nullopt);
            a->MarkNew();
            *item = static_cast<IAppointment*>(a);
        } else if (type == olTaskItem) {
            auto* t = new TaskObject(store_, 0);
            t->MarkNew();
            *item = static_cast<ITask*>(t);
        } else {
            return E_INVALIDARG;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetItemFromOid(LONG oid, IUnknown** item) override {
        *item = nullptr;
        if (store_->FindAppointment(oid)) {
            *item = NewAppointment(store_, oid, std::nullopt);
        } else if (store_->FindTask(oid)) {
            *item = static_cast<ITask*>(new TaskObject(store_, oid));
        } else {
            return E_FAIL;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SysFreeString(BSTR text) override {
        ::SysFreeString(text);
        return S_OK;
    }

  private:
    StorePtr store_;
};

// The replacement store named by VANTREL_STORE; a missing variable or file
// means there is no Pocket Outlook, a malformed file is reported.
HRESULT OpenReplacementStore(IPOutlookApp** app) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VANTREL_STORE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return REGDB_E_CLASSNOTREG;
    }
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        return REGDB_E_CLASSNOTREG;
    }
    // Temporaries of a save killed half-way are removed, never read.
    StoreFiles().RemoveStaleTemporaries(FromWide(path));
    FileContent text = StoreFiles().Read(FromWide(path), kMaxStoreBytes);
    if (text.status != ReadStatus::kRead) {
        Report(path, "cannot be read");
        return E_FAIL;
    }
    auto file = std::make_shared<StoreFile>();
    file->path = path;
    file->ics = IsICalendarName(FromWide(path));
    file->known = text.identity;
    file->Take(std::move(text.bytes));
    *app = new AppObject(std::move(file));
    return S_OK;
}

} // namespace

HRESULT CreatePoomApplication(IPOutlookApp** app) {
    *app = nullptr;
    const HRESULT hr = CoCreateInstance(kClsidPoomApplication, nullptr, CLSCTX_INPROC_SERVER,
                                        kIidPoomApp, reinterpret_cast<void**>(app));
    if (SUCCEEDED(hr)) {
        return hr;
    }
    return OpenReplacementStore(app);
}

} // namespace vantrel
