#include "win32/bindings/win32_file_access.h"
#include "win32/scoped.h"

#include "storage/file_replace.h"
#include "win32/bindings/wide_text.h"

#include <cwctype>

#include <windows.h>

namespace vantrel {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kCopyChunk = 64 * 1024;

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD part = size > kCopyChunk ? kCopyChunk : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, part, &written, nullptr) || written == 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

constexpr wchar_t kTemporaryPrefix[] = L"vrl";

std::int64_t TimeOf(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity.writeTime = TimeOf(info.ftLastWriteTime);
    return identity;
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// The file a path names in the end: a symbolic link is written through to
// its target, so the link stays a link. A path naming no file is kept.
std::wstring FinalTarget(const std::wstring& path) {
    const Handle file(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        return path;
    }
    wchar_t final[MAX_PATH + 8];
    const DWORD n = GetFinalPathNameByHandleW(file.get(), final, MAX_PATH + 8,
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= MAX_PATH + 8) {
        return path;
    }
    std::wstring resolved(final, n);
    if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        resolved = L"\\\\" + resolved.substr(8);
    } else if (resolved.rfind(L"\\\\?\\", 0) == 0) {
        resolved = resolved.substr(4);
    }
    return resolved;
}

class Win32Replacement : public FileReplacement {
  public:
    Win32Replacement(HANDLE file, std::wstring temp, std::wstring target, DWORD attributes)
        : file_(file), temp_(std::move(temp)), target_(std::move(target)), attributes_(attributes) {
    }
    ~Win32Replacement() override {
        file_.Close();
        if (!committed_) {
            DeleteFileW(temp_.c_str()); // only the temporary this replacement made
        }
    }
    Win32Replacement(const Win32Replacement&) = delete;
    Win32Replacement& operator=(const Win32Replacement&) = delete;

    bool Write(std::string_view bytes) override {
        if (!file_.valid() || !WriteAll(file_.get(), bytes.data(), bytes.size())) {
            error_ = GetLastError();
            return false;
        }
        return true;
    }

    bool Flush() override {
        if (!file_.valid() || !FlushFileBuffers(file_.get())) {
            error_ = GetLastError();
            file_.Close();
            return false;
        }
        if (!file_.Close()) {
            error_ = GetLastError();
            return false;
        }
        flushed_ = true;
        return true;
    }

    bool Commit() override {
        if (!flushed_) {
            error_ = ERROR_INVALID_HANDLE;
            return false;
        }
        // The replaced file's attributes (hidden, system, archive) go with
        // the new content.
        if (attributes_ != INVALID_FILE_ATTRIBUTES) {
            SetFileAttributesW(temp_.c_str(), attributes_);
        }
        if (!MoveFileExW(temp_.c_str(), target_.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error_ = GetLastError();
            return false;
        }
        committed_ = true;
        return true;
    }

    std::uint32_t LastError() const override { return error_; }

  private:
    Handle file_;
    std::wstring temp_;
    std::wstring target_;
    DWORD attributes_;
    std::uint32_t error_ = 0;
    bool flushed_ = false;
    bool committed_ = false;
};

} // namespace

FileContent Win32FileAccess::Read(std::u16string_view path, std::size_t maxBytes) {
    FileContent content;
    const std::wstring name = ToWide(path);
    const Handle file(CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        content.identity = Stat(path);
        const DWORD attributes = GetFileAttributesW(name.c_str());
        content.status =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                ? ReadStatus::kNotRegular
                : ReadStatus::kCannotOpen;
        return content;
    }
    // A device (CON, COM1, a pipe) is not a file that can be read whole.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        content.status = ReadStatus::kNotRegular;
        return content;
    }
    content.identity = IdentityOf(info);
    if (content.identity.size > maxBytes) {
        content.status = ReadStatus::kTooLarge;
        return content;
    }
    content.bytes.reserve(static_cast<std::size_t>(content.identity.size));
    char buffer[kCopyChunk];
    DWORD got = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            content.status = ReadStatus::kFailed;
            return content;
        }
        if (got == 0) {
            break;
        }
        if (!AppendRead(content, std::string_view(buffer, got), maxBytes)) {
            return content; // it grew while being read
        }
    }
    CompleteRead(content);
    return content;
}

FileIdentity Win32FileAccess::Stat(std::u16string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    FileIdentity identity;
    identity.exists = true;
    identity.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    identity.writeTime = TimeOf(data.ftLastWriteTime);
    return identity;
}

bool Win32FileAccess::CreateNew(std::u16string_view path, std::string_view bytes,
                                std::uint32_t& error) {
    const std::wstring name = ToWide(path);
    Handle to(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!to.valid()) {
        error = GetLastError();
        return false;
    }
    bool ok = WriteAll(to.get(), bytes.data(), bytes.size()) && FlushFileBuffers(to.get()) != 0;
    if (!ok) {
        error = GetLastError();
    }
    ok = to.Close() && ok;
    if (!ok) {
        DeleteFileW(name.c_str()); // the half copy is ours
    }
    return ok;
}

std::unique_ptr<FileReplacement> Win32FileAccess::Replace(std::u16string_view path,
                                                          std::uint32_t& error) {
    const std::wstring target = FinalTarget(ToWide(path));
    // Creating over a read-only file fails on Windows; the move that puts the
    // replacement in place would not, so refuse it here as the platform would.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    // A short unique name in the same folder: any file name that can be
    // opened can be saved, and no file of the user's is ever touched.
    wchar_t temp[MAX_PATH];
    if (GetTempFileNameW(FolderOf(target).c_str(), kTemporaryPrefix, 0, temp) == 0) {
        error = GetLastError();
        return nullptr;
    }
    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        DeleteFileW(temp);
        return nullptr;
    }
    return std::make_unique<Win32Replacement>(file, temp, target, attributes);
}

void Win32FileAccess::RemoveStaleTemporaries(std::u16string_view path) {
    const std::wstring folder = FolderOf(FinalTarget(ToWide(path)));
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return;
    }
    const std::int64_t started = TimeOf(created);
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"\\" + kTemporaryPrefix + L"*.tmp";
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            IsTemporaryName(found.cFileName) && TimeOf(found.ftLastWriteTime) < started) {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool IsTemporaryName(std::wstring_view name) {
    // GetTempFileNameW's form: the prefix, one to four hex digits, ".tmp".
    const std::wstring_view prefix = kTemporaryPrefix;
    if (name.size() < prefix.size() + 5 || name.size() > prefix.size() + 8 ||
        CompareStringOrdinal(name.data(), static_cast<int>(prefix.size()), prefix.data(),
                             static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL) {
        return false;
    }
    const std::wstring_view rest = name.substr(prefix.size());
    const std::size_t dot = rest.size() - 4;
    if (CompareStringOrdinal(rest.data() + dot, 4, L".tmp", 4, TRUE) != CSTR_EQUAL) {
        return false;
    }
    for (std::size_t i = 0; i < dot; ++i) {
        if (!iswxdigit(rest[i])) {
            return false;
        }
    }
    return true;
}

} // namespace vantrel
