#include "native/std_file_access.h"

#include "storage/file_replace.h"
#include "text/utf8.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// ".~vrl" + six letters or digits + ".tmp": a name no one gives a file of
// their own by chance.
constexpr char kTemporaryPrefix[] = ".~vrl";
constexpr char kTemporarySuffix[] = ".tmp";

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
    // A link to a file not made yet: the file is made where it points.
    std::string target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(target.c_str(), link, sizeof link - 1);
        if (length <= 0) {
            return target;
        }
        const std::string to(link, static_cast<std::size_t>(length));
        target = to.front() == '/' ? to : FolderOf(target) + "/" + to;
    }
    return target;
}

// File names are bytes: a name passed in as UTF-8 (or as bytes that are
// not UTF-8, carried through FromNativeName) comes out as the same bytes.
std::string NativeName(std::u16string_view path) {
    return ToNativeName(path);
}

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileIdentity IdentityOf(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.size = static_cast<std::uint64_t>(info.st_size);
    identity.writeTime = Nanoseconds(info.st_mtim);
    return identity;
}

// Taken when the program is loaded: a temporary older than that cannot be
// one a save of this process is writing.
const std::int64_t kProcessStart = [] {
    timespec now{};
    // The clock file times come from, so a file made after this is never older.
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return Nanoseconds(now);
}();

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
        if (!file_.valid() || ::fsync(file_.get()) != 0) {
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
        file_.Close(); // held open until here: its lock marks a save under way
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

FileContent StdFileAccess::Read(std::u16string_view path, std::size_t maxBytes) {
    FileContent content;
    const std::string name = NativeName(path);
    // Non-blocking, so a FIFO is refused below instead of waiting for a writer.
    const Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.valid()) {
        content.identity = Stat(path);
        content.status = errno == EISDIR ? ReadStatus::kNotRegular : ReadStatus::kCannotOpen;
        return content;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        content.status = ReadStatus::kFailed;
        return content;
    }
    content.identity = IdentityOf(info);
    if (!S_ISREG(info.st_mode)) {
        content.status = ReadStatus::kNotRegular;
        return content;
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        content.status = ReadStatus::kTooLarge;
        return content;
    }
    content.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            content.status = ReadStatus::kFailed;
            return content;
        }
        if (got == 0) {
            break;
        }
        if (!AppendRead(content, std::string_view(buffer, static_cast<std::size_t>(got)),
                        maxBytes)) {
            return content; // it grew while being read
        }
    }
    CompleteRead(content);
    return content;
}

FileIdentity StdFileAccess::Stat(std::u16string_view path) {
    struct stat info {};
    if (::stat(NativeName(path).c_str(), &info) != 0) {
        return {};
    }
    return IdentityOf(info);
}

bool StdFileAccess::CreateNew(std::u16string_view path, std::string_view bytes,
                              std::uint32_t& error) {
    const std::string name = NativeName(path);
    Descriptor to(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode()));
    if (!to.valid()) {
        error = LastErrno();
        return false;
    }
    bool ok = WriteAll(to.get(), bytes) && ::fsync(to.get()) == 0;
    if (!ok) {
        error = LastErrno();
    }
    ok = to.Close() && ok;
    if (!ok) {
        ::unlink(name.c_str()); // the half copy is ours
        return false;
    }
    SyncFolder(FolderOf(name));
    return true;
}

std::unique_ptr<FileReplacement> StdFileAccess::Replace(std::u16string_view path,
                                                        std::uint32_t& error) {
    const std::string target = FinalTarget(NativeName(path));
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    // A file without any write permission is read-only, as on Windows, and
    // one this user may not write is not this user's to replace: the rename
    // would replace either (and root may write anything), so refuse here.
    if (exists && ((info.st_mode & 0222) == 0 ||
                   ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
        error = EACCES;
        return nullptr;
    }
    std::string temp = FolderOf(target) + "/" + kTemporaryPrefix + "XXXXXX" + kTemporarySuffix;
    const int fd =
        ::mkostemps(temp.data(), static_cast<int>(sizeof kTemporarySuffix - 1), O_CLOEXEC);
    if (fd < 0) {
        error = LastErrno();
        return nullptr;
    }
    // Another process's start-up leaves a locked temporary alone.
    ::flock(fd, LOCK_EX | LOCK_NB);
    // The replaced file keeps its permissions and, where the process may,
    // its owner and group; a new one gets the usual ones.
    const mode_t mode = exists ? info.st_mode & 07777 : NewFileMode();
    if (exists && (info.st_uid != ::geteuid() || info.st_gid != ::getegid())) {
        if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
            (void)::fchown(fd, static_cast<uid_t>(-1), info.st_gid); // the group at least
        }
    }
    if (::fchmod(fd, mode) != 0) {
        error = LastErrno();
        ::close(fd);
        ::unlink(temp.c_str());
        return nullptr;
    }
    return std::make_unique<StdReplacement>(fd, std::move(temp), target);
}

void StdFileAccess::RemoveStaleTemporaries(std::u16string_view path) {
    const std::string folder = FolderOf(FinalTarget(NativeName(path)));
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::int64_t started = kProcessStart;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) {
            continue;
        }
        const std::string name = folder + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            Nanoseconds(info.st_mtim) >= started) {
            continue;
        }
        // A save still under way holds its temporary locked.
        const Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (file.valid() && ::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlink(name.c_str());
        }
    }
    ::closedir(dir);
}

bool IsTemporaryName(std::string_view name) {
    const std::string_view prefix = kTemporaryPrefix;
    const std::string_view suffix = kTemporarySuffix;
    if (name.size() != prefix.size() + 6 + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    for (const char c : name.substr(prefix.size(), 6)) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

} // namespace vantrel
