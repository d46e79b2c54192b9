#pragma once

#include "storage/file_access.h"
#include "storage/file_replace.h"
#include "ui/prompt.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vantrel::testing {

// Files in memory. `unreadable` files exist but cannot be read; a write
// fails from the `failWriteAt`-th Write call on (1-based, 0 = never);
// `failCommit` makes the final move fail, `failFlush` the flush before it,
// `failCopy` every copy.
struct MemoryFiles : FileAccess {
    std::map<std::u16string, std::string> files;
    std::vector<std::u16string> unreadable;
    std::vector<std::u16string> tooLarge; // larger than any limit
    bool failCreate = false;
    bool failCommit = false;
    bool failFlush = false;
    bool failCopy = false;
    int failWriteAt = 0;
    int writes = 0;
    // Runs before every read, as another program writing just before it.
    std::function<void(const std::u16string&)> beforeRead;

    bool Unreadable(std::u16string_view path) const {
        for (const auto& u : unreadable) {
            if (u == path) {
                return true;
            }
        }
        return false;
    }
    FileContent Read(std::u16string_view path, std::size_t maxBytes) override {
        if (beforeRead) {
            beforeRead(std::u16string(path));
        }
        FileContent content;
        content.identity = Stat(path);
        const auto it = files.find(std::u16string(path));
        if (it == files.end() || Unreadable(path)) {
            content.status = ReadStatus::kCannotOpen;
            return content;
        }
        if (it->second.size() > maxBytes ||
            std::find(tooLarge.begin(), tooLarge.end(), path) != tooLarge.end()) {
            content.status = ReadStatus::kTooLarge;
            return content;
        }
        content.bytes = it->second;
        content.identity.hash = ContentHash(content.bytes);
        content.status = ReadStatus::kRead;
        return content;
    }
    FileIdentity Stat(std::u16string_view path) override {
        const auto it = files.find(std::u16string(path));
        if (it == files.end()) {
            return {};
        }
        FileIdentity identity;
        identity.exists = true;
        identity.size = it->second.size();
        identity.writeTime = static_cast<std::int64_t>(ContentHash(it->second) & 0xFFFF);
        return identity;
    }
    bool CreateNew(std::u16string_view path, std::string_view bytes,
                   std::uint32_t& error) override {
        if (failCopy || Exists(path)) {
            error = 32; // sharing violation
            return false;
        }
        files[std::u16string(path)] = bytes;
        return true;
    }
    void RemoveStaleTemporaries(std::u16string_view) override {}

    struct Replacement : FileReplacement {
        MemoryFiles& owner;
        std::u16string path;
        std::string content;
        std::uint32_t error = 0;
        Replacement(MemoryFiles& o, std::u16string p) : owner(o), path(std::move(p)) {}
        bool Write(std::string_view bytes) override {
            ++owner.writes;
            if (owner.failWriteAt != 0 && owner.writes >= owner.failWriteAt) {
                error = 112; // disk full
                return false;
            }
            content.append(bytes);
            return true;
        }
        bool Flush() override {
            if (owner.failFlush) {
                error = 29; // write fault
                return false;
            }
            return true;
        }
        bool Commit() override {
            if (owner.failCommit) {
                error = 32; // the target is held open
                return false;
            }
            owner.files[path] = content;
            return true;
        }
        std::uint32_t LastError() const override { return error; }
    };
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override {
        if (failCreate) {
            error = 5; // access denied
            return nullptr;
        }
        return std::make_unique<Replacement>(*this, std::u16string(path));
    }
};

// Records every message and answers the file dialogs from a queue (an
// empty answer cancels).
struct ScriptedPrompt : Prompt {
    struct Message {
        std::u16string text;
        std::u16string caption;
        unsigned style;
    };
    std::vector<Message> messages;
    std::deque<int> answers; // message answers in turn; kIdOk when none is left
    std::deque<std::u16string> fileAnswers;
    std::vector<std::u16string> startNames;
    std::vector<std::u16string> filters;

    int ShowMessage(std::u16string_view text, std::u16string_view caption,
                    unsigned style) override {
        messages.push_back({std::u16string(text), std::u16string(caption), style});
        if (answers.empty()) {
            return kIdOk;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::size_t Answer(std::u16string& path, std::u16string_view filter) {
        startNames.push_back(path);
        filters.emplace_back(filter);
        path = fileAnswers.empty() ? u"" : fileAnswers.front();
        if (!fileAnswers.empty()) {
            fileAnswers.pop_front();
        }
        return path.size();
    }
    std::size_t askOpenFileName(std::u16string& path, std::u16string_view filter) override {
        return Answer(path, filter);
    }
    std::size_t askSaveFileName(std::u16string& path, std::u16string_view filter) override {
        return Answer(path, filter);
    }
};

} // namespace vantrel::testing
