// The replacement store behind the COM-shaped Pocket Outlook interfaces.
// Objects refer to their record by Oid, so an item deleted meanwhile makes
// its getters fail instead of reading freed memory.

#include "platform/poom.h"
#include "platform/poom_store/poom_display.h"
#include "platform/poom_store/store_model.h"
#include "text/utf8.h"
#include "win32/bindings/wide_text.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace vantrel {
namespace {

using namespace store;

ParsedStore ReadStoreFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) {
        ParsedStore missing;
        missing.error = "cannot be read";
        return missing;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return ParseStore(text);
}

FILETIME WriteTimeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info);
    return info.ftLastWriteTime;
}

void Report(const std::wstring& path, const std::string& error) {
    const std::wstring message = L"Outlook store " + path + L": " + ToWide(FromUtf8(error)) + L"\n";
    OutputDebugStringW(message.c_str());
    std::fputws(message.c_str(), stderr);
}

struct StoreFile {
    std::wstring path;
    Store data;
    FILETIME written{};

    // Another program may have changed the file since: read it again (a
    // malformed new version is reported and the last good one kept).
    void Reload() {
        const FILETIME now = WriteTimeOf(path);
        if (CompareFileTime(&now, &written) == 0) {
            return;
        }
        written = now;
        ParsedStore parsed = ReadStoreFile(path);
        if (parsed.ok) {
            data = std::move(parsed.store);
        } else {
            Report(path, parsed.error);
        }
    }

    bool Write() {
        const bool ok = WriteText();
        written = WriteTimeOf(path);
        return ok;
    }

    bool WriteText() const {
        const std::string text = FormatStore(data);
        const std::wstring temp = path + L".tmp";
        {
            std::ofstream out(temp.c_str(), std::ios::binary | std::ios::trunc);
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            if (!out) {
                return false;
            }
        }
        return MoveFileExW(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    Appointment* FindAppointment(int oid) {
        for (Appointment& a : data.appointments) {
            if (a.oid == oid) {
                return &a;
            }
        }
        return nullptr;
    }
    Task* FindTask(int oid) {
        for (Task& t : data.tasks) {
            if (t.oid == oid) {
                return &t;
            }
        }
        return nullptr;
    }
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
    return DayOf(MinutesOfVariant(v));
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

int Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DayNumberOf(now.wYear, now.wMonth, now.wDay);
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
        Appointment* a = store_->FindAppointment(oid_);
        if (!e || !a || e->deleted) {
            return E_FAIL;
        }
        *item = NewAppointment(store_, oid_,
                               Occurrence{a, e->start, e->end,
                                          e->subject.empty() ? a->subject : e->subject,
                                          e->originalDay});
        return S_OK;
    }

  private:
    const Exception* Find() const {
        Appointment* a = store_->FindAppointment(oid_);
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
        Appointment* a = store_->FindAppointment(oid_);
        return a ? (*count = static_cast<int>(a->exceptions.size()), S_OK) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Item(int index, IException** item) override {
        Appointment* a = store_->FindAppointment(oid_);
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
        Appointment* a = task_ ? nullptr : store_->FindAppointment(oid_);
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
        Appointment* a = Record();
        if (!a) {
            return E_FAIL;
        }
        if (occurrence_ && a->recurrence) {
            // One occurrence: it becomes (or its moved exception becomes) deleted.
            auto ex =
                std::find_if(a->exceptions.begin(), a->exceptions.end(), [&](const Exception& e) {
                    return e.originalDay == occurrence_->originalDay;
                });
            if (ex == a->exceptions.end()) {
                Exception skipped;
                skipped.originalDay = occurrence_->originalDay;
                skipped.deleted = true;
                a->exceptions.push_back(skipped);
            } else {
                ex->deleted = true;
            }
        } else {
            auto& list = store_->data.appointments;
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const Appointment& x) { return x.oid == oid_; }),
                       list.end());
        }
        return store_->Write() ? S_OK : E_FAIL;
    }

    void MarkNew() { isNew_ = true; }

  protected:
    bool Answer(REFIID iid, void** out) override {
        return AnswerAs<IAppointment>(iid, kIidAppointment, this, out);
    }

  private:
    Appointment* Record() { return isNew_ ? nullptr : store_->FindAppointment(oid_); }

    HRESULT AddFromForm(const PoomDisplayRequest& r) {
        const ParsedStore parsed =
            ParseStore("[appointment]\nsubject: " + ToUtf8(r.subject) +
                       "\nstart: " + ToUtf8(r.start) + "\nend: " + ToUtf8(r.end) + "\n");
        if (!parsed.ok || parsed.store.appointments.empty()) {
            MessageBoxW(nullptr, L"日付は YYYY-MM-DD HH:MM の形で入力してください", L"予定", MB_OK);
            return E_INVALIDARG;
        }
        Appointment a = parsed.store.appointments.front();
        a.oid = store_->data.nextOid++;
        store_->data.appointments.push_back(a);
        oid_ = a.oid;
        isNew_ = false;
        return store_->Write() ? S_OK : E_FAIL;
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
        return t ? (*v = t->completedDay ? DayVariant(*t->completedDay) : kPoomNoDate, S_OK)
                 : E_FAIL;
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
            const ParsedStore parsed = ParseStore(
                "[task]\nsubject: " + ToUtf8(request.subject) + "\nstart: " +
                (request.start.empty() ? std::string("none") : ToUtf8(request.start)) + "\ndue: " +
                (request.end.empty() ? std::string("none") : ToUtf8(request.end)) + "\n");
            if (!parsed.ok || parsed.store.tasks.empty()) {
                MessageBoxW(nullptr, L"日付は YYYY-MM-DD の形で入力してください", L"タスク", MB_OK);
                return E_INVALIDARG;
            }
            Task t = parsed.store.tasks.front();
            t.oid = store_->data.nextOid++;
            store_->data.tasks.push_back(t);
            oid_ = t.oid;
            isNew_ = false;
            return store_->Write() ? S_OK : E_FAIL;
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
        if (!Record()) {
            return E_FAIL;
        }
        auto& list = store_->data.tasks;
        list.erase(
            std::remove_if(list.begin(), list.end(), [&](const Task& x) { return x.oid == oid_; }),
            list.end());
        return store_->Write() ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Save() override {
        Task* t = Record();
        if (!t) {
            return E_FAIL;
        }
        if (pendingComplete_) {
            t->complete = *pendingComplete_;
            t->completedDay = t->complete ? std::optional<int>(Today()) : std::nullopt;
            pendingComplete_.reset();
        }
        return store_->Write() ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE SkipRecurrence() override {
        Task* t = Record();
        if (!t) {
            return E_FAIL;
        }
        const std::optional<int> next = NextTaskDay(*t);
        if (!next) {
            return E_FAIL;
        }
        if (t->startDay && t->dueDay) {
            *t->startDay += *next - *t->dueDay;
        }
        t->dueDay = next;
        return store_->Write() ? S_OK : E_FAIL;
    }

    void MarkNew() { isNew_ = true; }

  protected:
    bool Answer(REFIID iid, void** out) override {
        return AnswerAs<ITask>(iid, kIidTask, this, out);
    }

  private:
    Task* Record() { return isNew_ ? nullptr : store_->FindTask(oid_); }
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
    CollectionObject(StorePtr s, bool tasks, std::vector<Entry> entries)
        : store_(std::move(s)), tasks_(tasks), entries_(std::move(entries)) {}

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
        // Occurrences are looked for on the days the query's dates name,
        // widened by the longest appointment so [End] bounds find them too.
        int lo = INT_MAX, hi = INT_MIN;
        for (const Condition& c : *query) {
            if (c.field != Condition::kOid) {
                lo = std::min(lo, VariantDay(c.value));
                hi = std::max(hi, VariantDay(c.value));
            }
        }
        std::vector<Occurrence> found;
        for (const Entry& e : entries_) {
            const Appointment* a = store_->FindAppointment(e.oid);
            if (!a) {
                continue;
            }
            if (!a->recurrence || !includeRecurrences_) {
                if (Matches(*query, a->start, a->end, a->oid)) {
                    found.push_back({a, a->start, a->end, a->subject, DayOf(a->start)});
                }
                continue;
            }
            if (lo > hi) {
                continue;
            }
            const int span = static_cast<int>((a->end - a->start) / 1440) + 1;
            for (const Occurrence& o : OccurrencesStarting(*a, lo - span, hi + 1)) {
                if (Matches(*query, o.start, o.end, a->oid)) {
                    found.push_back(o);
                }
            }
        }
        std::stable_sort(found.begin(), found.end(), [](const Occurrence& x, const Occurrence& y) {
            return x.start < y.start;
        });
        std::vector<Entry> entries;
        for (const Occurrence& o : found) {
            entries.push_back({o.series->oid,
                               o.series->recurrence ? std::optional<Occurrence>(o) : std::nullopt});
        }
        *result = new CollectionObject(store_, false, std::move(entries));
        return S_OK;
    }

  private:
    StorePtr store_;
    bool tasks_;
    std::vector<Entry> entries_;
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
                entries.push_back({a.oid, std::nullopt});
            }
        }
        *items = new CollectionObject(store_, tasks_, std::move(entries));
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
    ParsedStore parsed = ReadStoreFile(path);
    if (!parsed.ok) {
        Report(path, parsed.error);
        return E_FAIL;
    }
    auto file = std::make_shared<StoreFile>();
    file->path = path;
    file->data = std::move(parsed.store);
    file->written = WriteTimeOf(file->path);
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
