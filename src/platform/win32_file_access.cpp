#include "platform/win32_file_access.h"

#include "platform/wide_text.h"

#include <windows.h>

namespace vantrel {
namespace {

class Win32Replacement : public FileReplacement {
  public:
    Win32Replacement(HANDLE file, std::wstring temp, std::wstring target)
        : file_(file), temp_(std::move(temp)), target_(std::move(target)) {}
    ~Win32Replacement() override {
        Close();
        if (!committed_) {
            DeleteFileW(temp_.c_str());
        }
    }
    Win32Replacement(const Win32Replacement&) = delete;
    Win32Replacement& operator=(const Win32Replacement&) = delete;

    bool Write(std::string_view bytes) override {
        DWORD written = 0;
        if (!WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            error_ = GetLastError();
            return false;
        }
        return true;
    }

    bool Commit() override {
        const bool flushed = FlushFileBuffers(file_) != 0;
        if (!flushed) {
            error_ = GetLastError();
        }
        Close();
        if (!flushed) {
            return false;
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
    void Close() {
        if (file_ != INVALID_HANDLE_VALUE) {
            CloseHandle(file_);
            file_ = INVALID_HANDLE_VALUE;
        }
    }

    HANDLE file_;
    std::wstring temp_;
    std::wstring target_;
    std::uint32_t error_ = 0;
    bool committed_ = false;
};

} // namespace

bool Win32FileAccess::ReadAll(std::u16string_view path, std::string& bytes) {
    const std::wstring name = ToWide(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes.clear();
    char buffer[64 * 1024];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool Win32FileAccess::Exists(std::u16string_view path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<FileReplacement> Win32FileAccess::Replace(std::u16string_view path,
                                                          std::uint32_t& error) {
    const std::wstring target = ToWide(path);
    // Creating over a read-only file fails on Windows; the move that puts the
    // replacement in place would not, so refuse it here as the platform would.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    const std::wstring temp = target + L".tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    return std::make_unique<Win32Replacement>(file, temp, target);
}

} // namespace vantrel
