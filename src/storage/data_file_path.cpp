#include "storage/data_file_path.h"

namespace vantrel {
namespace {

constexpr std::size_t kPathCapacity = 260;

char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
}

} // namespace

std::u16string NormalizedExtension(std::u16string_view path) {
    const std::size_t dot = path.rfind(u'.');
    if (path.empty() || dot == std::u16string_view::npos) {
        return std::u16string(path);
    }
    // Win32 takes "/" as a folder separator as well as "\".
    const std::size_t slash = path.find_last_of(u"\\/");
    const std::size_t folderLength = slash == std::u16string_view::npos ? 0 : slash;
    if (dot <= folderLength || dot + 4 > kPathCapacity - 1) {
        return std::u16string(path);
    }
    return std::u16string(path.substr(0, dot)) + u".vrl";
}

bool IsMorvikPath(std::u16string_view path) {
    if (path.size() < 4) {
        return false;
    }
    const std::u16string_view tail = path.substr(path.size() - 4);
    const char16_t* expected = u".mvk";
    for (std::size_t i = 0; i < 4; ++i) {
        if (LowerAscii(tail[i]) != expected[i]) {
            return false;
        }
    }
    return true;
}

} // namespace vantrel
