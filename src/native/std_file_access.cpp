#include "native/std_file_access.h"

#include "text/utf8.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {
namespace {

std::uint32_t LastErrno() {
    return static_cast<std::uint32_t>(errno);
}

// Closes a descriptor at scope end.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names in the end: a symbolic link is written through to
// its target, so the link stays a link.
std::string FinalTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path; // no such file yet
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& folder) {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get()); // the rename itself reaches the disk
    }
}

class StdReplacement : public FileReplacement {
  public:
    StdReplacement(int fd, std::string temp, std::string target)
        : file_(fd), temp_(std::move(temp)), target_(std::move(target)) {}
    ~StdReplacement() override {
        file_.Close();
        if (!committed_) {
            ::unlink(temp_.c_str()); // only the temporary this replacement made
        }
    }
    StdReplacement(const StdReplacement&) = delete;
    StdReplacement& operator=(const StdReplacement&) = delete;

    bool Write(std::string_view bytes) override {
        if (!file_.valid() || !WriteAll(file_.get(), bytes)) {
            error_ = LastErrno();
            return false;
        }
        return true;
    }

    bool Flush() override {
        if (!file_.valid() || ::fsync(file_.get()) != 0 || !file_.Close()) {
            error_ = LastErrno();
            return false;
        }
        flushed_ = true;
        return true;
    }

    bool Commit() override {
        if (!flushed_ || ::rename(temp_.c_str(), target_.c_str()) != 0) {
            error_ = flushed_ ? LastErrno() : EBADF;
            return false;
        }
        committed_ = true;
        SyncFolder(FolderOf(target_));
        return true;
    }

    std::uint32_t LastError() const override { return error_; }

  private:
    Descriptor file_;
    std::string temp_;
    std::string target_;
    std::uint32_t error_ = 0;
    bool flushed_ = false;
    bool committed_ = false;
};

} // namespace

ReadStatus StdFileAccess::ReadAll(std::u16string_view path, std::string& bytes,
                                  std::size_t maxBytes) {
    const Descriptor file(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        return ReadStatus::kCannotOpen;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return ReadStatus::kFailed;
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return ReadStatus::kTooLarge;
    }
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return ReadStatus::kFailed;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes) {
            return ReadStatus::kTooLarge; // it grew while being read
        }
    }
    return ReadStatus::kRead;
}

bool StdFileAccess::Exists(std::u16string_view path) {
    struct stat info {};
    return ::stat(ToUtf8(path).c_str(), &info) == 0;
}

bool StdFileAccess::CopyToNew(std::u16string_view path, std::u16string_view copy,
                              std::uint32_t& error) {
    const Descriptor from(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!from.valid() || ::fstat(from.get(), &info) != 0) {
        error = LastErrno();
        return false;
    }
    const std::string name = ToUtf8(copy);
    Descriptor to(
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777));
    if (!to.valid()) {
        error = LastErrno();
        return false;
    }
    char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(from.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        if (!WriteAll(to.get(), std::string_view(buffer, static_cast<std::size_t>(got)))) {
            ok = false;
            break;
        }
    }
    ok = ok && ::fsync(to.get()) == 0;
    if (!ok) {
        error = LastErrno();
    }
    ok = to.Close() && ok;
    if (!ok) {
        ::unlink(name.c_str()); // the half copy is ours; the original is untouched
        return false;
    }
    SyncFolder(FolderOf(name));
    return true;
}

std::unique_ptr<FileReplacement> StdFileAccess::Replace(std::u16string_view path,
                                                        std::uint32_t& error) {
    const std::string target = FinalTarget(ToUtf8(path));
    std::string temp = FolderOf(target) + "/.vrlXXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = LastErrno();
        return nullptr;
    }
    // The replaced file keeps its permissions; a new one gets the usual ones.
    struct stat info {};
    const mode_t mode = ::stat(target.c_str(), &info) == 0 ? info.st_mode & 07777 : NewFileMode();
    if (::fchmod(fd, mode) != 0) {
        error = LastErrno();
        ::close(fd);
        ::unlink(temp.c_str());
        return nullptr;
    }
    return std::make_unique<StdReplacement>(fd, std::move(temp), target);
}

} // namespace vantrel
