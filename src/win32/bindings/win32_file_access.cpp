#include "win32/bindings/win32_file_access.h"
#include "win32/scoped.h"

#include "win32/bindings/wide_text.h"

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

ReadStatus Win32FileAccess::ReadAll(std::u16string_view path, std::string& bytes,
                                    std::size_t maxBytes) {
    const std::wstring name = ToWide(path);
    const Handle file(CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return ReadStatus::kCannotOpen;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return ReadStatus::kFailed;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return ReadStatus::kTooLarge;
    }
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[kCopyChunk];
    DWORD got = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            return ReadStatus::kFailed;
        }
        if (got == 0) {
            return ReadStatus::kRead;
        }
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) {
            return ReadStatus::kTooLarge; // it grew while being read
        }
    }
}

bool Win32FileAccess::Exists(std::u16string_view path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileAccess::CopyToNew(std::u16string_view path, std::u16string_view copy,
                                std::uint32_t& error) {
    const Handle from(CreateFileW(ToWide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!from.valid()) {
        error = GetLastError();
        return false;
    }
    const std::wstring name = ToWide(copy);
    Handle to(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!to.valid()) {
        error = GetLastError();
        return false;
    }
    char buffer[kCopyChunk];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(from.get(), buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
        if (!WriteAll(to.get(), buffer, got)) {
            ok = false;
            break;
        }
    }
    ok = ok && FlushFileBuffers(to.get()) != 0;
    if (!ok) {
        error = GetLastError();
    }
    ok = to.Close() && ok;
    if (!ok) {
        DeleteFileW(name.c_str()); // the half copy is ours; the original is untouched
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
    if (GetTempFileNameW(FolderOf(target).c_str(), L"vrl", 0, temp) == 0) {
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

} // namespace vantrel
