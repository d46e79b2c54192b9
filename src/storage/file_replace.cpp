#include "storage/file_replace.h"

namespace vantrel {

std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool AppendRead(FileContent& content, std::string_view piece, std::size_t maxBytes) {
    content.bytes.append(piece);
    if (content.bytes.size() <= maxBytes) {
        return true;
    }
    content.bytes.clear();
    content.status = ReadStatus::kTooLarge;
    return false;
}

void CompleteRead(FileContent& content) {
    content.identity.size = content.bytes.size();
    content.identity.hash = ContentHash(content.bytes);
    content.status = ReadStatus::kRead;
}

bool SameContent(const FileIdentity& a, const FileIdentity& b) {
    if (a.exists != b.exists) {
        return false;
    }
    return !a.exists || (a.size == b.size && a.hash == b.hash);
}

bool MayHaveChanged(const FileIdentity& known, const FileIdentity& now) {
    if (known.exists != now.exists) {
        return true;
    }
    return known.exists && (known.size != now.size || known.writeTime != now.writeTime);
}

ReplaceResult ReplaceIfUnchanged(FileAccess& files, std::u16string_view path,
                                 const FileIdentity& expected, std::string_view bytes,
                                 std::size_t maxBytes) {
    ReplaceResult result;
    std::unique_ptr<FileReplacement> file = files.Replace(path, result.error);
    if (!file) {
        result.status = ReplaceStatus::kCannotCreate;
        return result;
    }
    if (!file->Write(bytes) || !file->Flush()) {
        result.error = file->LastError();
        result.status = ReplaceStatus::kWriteFailed;
        return result; // the temporary goes with `file`
    }
    // Checked as late as possible, right before the move: what is on disk
    // must be what the caller's content was made from.
    FileContent now = files.Read(path, maxBytes);
    const bool unchanged = now.status == ReadStatus::kRead
                               ? SameContent(expected, now.identity)
                               : !expected.exists && !now.identity.exists;
    if (!unchanged) {
        result.status = ReplaceStatus::kChanged;
        result.current = std::move(now);
        return result;
    }
    if (!file->Commit()) {
        result.error = file->LastError();
        result.status = ReplaceStatus::kCannotMove;
        return result;
    }
    result.status = ReplaceStatus::kReplaced;
    result.written = files.Stat(path);
    result.written.hash = ContentHash(bytes);
    result.written.size = bytes.size();
    return result;
}

} // namespace vantrel
