#include "storage/std_file_access.h"

#include "text/utf8.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {
namespace {

class StdReplacement : public FileReplacement {
  public:
    StdReplacement(std::FILE* file, std::string temp, std::string target)
        : file_(file), temp_(std::move(temp)), target_(std::move(target)) {}
    ~StdReplacement() override {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        if (!committed_) {
            std::remove(temp_.c_str());
        }
    }
    StdReplacement(const StdReplacement&) = delete;
    StdReplacement& operator=(const StdReplacement&) = delete;

    bool Write(std::string_view bytes) override {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            error_ = static_cast<std::uint32_t>(errno);
            return false;
        }
        return true;
    }

    bool Commit() override {
        const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
        const int closed = std::fclose(file_);
        file_ = nullptr;
        if (!flushed || closed != 0 || std::rename(temp_.c_str(), target_.c_str()) != 0) {
            error_ = static_cast<std::uint32_t>(errno);
            return false;
        }
        committed_ = true;
        return true;
    }

    std::uint32_t LastError() const override { return error_; }

  private:
    std::FILE* file_;
    std::string temp_;
    std::string target_;
    std::uint32_t error_ = 0;
    bool committed_ = false;
};

} // namespace

bool StdFileAccess::ReadAll(std::u16string_view path, std::string& bytes) {
    std::FILE* file = std::fopen(ToUtf8(path).c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bytes.clear();
    char buffer[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool StdFileAccess::Exists(std::u16string_view path) {
    struct stat info {};
    return stat(ToUtf8(path).c_str(), &info) == 0;
}

std::unique_ptr<FileReplacement> StdFileAccess::Replace(std::u16string_view path,
                                                        std::uint32_t& error) {
    const std::string target = ToUtf8(path);
    const std::string temp = target + ".tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        error = static_cast<std::uint32_t>(errno);
        return nullptr;
    }
    return std::make_unique<StdReplacement>(file, temp, target);
}

} // namespace vantrel
