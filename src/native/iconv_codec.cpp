#include "native/iconv_codec.h"

#include "storage/shift_jis_bytes.h"

#include <bit>
#include <cerrno>
#include <iconv.h>

namespace vantrel {
namespace {

static_assert(std::endian::native == std::endian::little, "char16_t text is read as UTF-16LE");

iconv_t Handle(void* h) {
    return static_cast<iconv_t>(h);
}

void* Open(const char* to, const char* from) {
    iconv_t h = iconv_open(to, from);
    return h == reinterpret_cast<iconv_t>(-1) ? nullptr : h;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

} // namespace

IconvCodec::IconvCodec()
    : toShiftJis_(Open("CP932", "UTF-16LE")), fromShiftJis_(Open("UTF-16LE", "CP932")) {}

IconvCodec::~IconvCodec() {
    if (toShiftJis_ != nullptr) {
        iconv_close(Handle(toShiftJis_));
    }
    if (fromShiftJis_ != nullptr) {
        iconv_close(Handle(fromShiftJis_));
    }
}

bool IconvCodec::Available() const {
    return toShiftJis_ != nullptr && fromShiftJis_ != nullptr;
}

std::string IconvCodec::Encode(std::u16string_view text, std::size_t maxBytes) const {
    if (IsAscii(text) || toShiftJis_ == nullptr) {
        std::string out;
        for (std::size_t i = 0; i < text.size() && out.size() < maxBytes; ++i) {
            out.push_back(text[i] < 0x80 ? static_cast<char>(text[i]) : '?');
        }
        return out;
    }
    // Convert into a scratch buffer and copy out only what was produced: the
    // strings end up in the Item lists, so they must not carry the slack.
    std::string& out = encodeScratch_;
    out.resize(maxBytes);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    std::size_t inLeft = text.size() * 2;
    char* put = out.data();
    std::size_t outLeft = maxBytes;
    iconv(Handle(toShiftJis_), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(Handle(toShiftJis_), &in, &inLeft, &put, &outLeft) != static_cast<size_t>(-1)) {
            break;
        }
        if (errno != EILSEQ && errno != EINVAL) {
            break; // E2BIG: the output is full at a character boundary
        }
        // Not in the code page (or a lone surrogate): one '?' for the
        // character, then go on.
        if (outLeft == 0) {
            break;
        }
        *put++ = '?';
        --outLeft;
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                    static_cast<unsigned char>(in[1]) << 8);
        std::size_t skip = 2;
        if (IsHighSurrogate(unit) && inLeft >= 4) {
            const char16_t next = static_cast<char16_t>(static_cast<unsigned char>(in[2]) |
                                                        static_cast<unsigned char>(in[3]) << 8);
            skip = IsLowSurrogate(next) ? 4 : 2;
        }
        in += skip;
        inLeft -= skip;
    }
    return std::string(out.data(), maxBytes - outLeft);
}

std::u16string IconvCodec::Decode(std::string_view bytes, std::size_t maxUnits) const {
    if (IsAscii(bytes) || fromShiftJis_ == nullptr) {
        std::u16string out;
        for (std::size_t i = 0; i < bytes.size() && out.size() < maxUnits; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            out.push_back(b < 0x80 ? b : u'?');
        }
        return out;
    }
    std::u16string& out = decodeScratch_;
    out.resize(maxUnits);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* put = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = maxUnits * 2;
    iconv(Handle(fromShiftJis_), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(Handle(fromShiftJis_), &in, &inLeft, &put, &outLeft) != static_cast<size_t>(-1)) {
            break;
        }
        if ((errno != EILSEQ && errno != EINVAL) || outLeft < 2) {
            break;
        }
        // An undefined byte or a lead byte cut off at the end of a field.
        *reinterpret_cast<char16_t*>(put) = u'?';
        put += 2;
        outLeft -= 2;
        const std::size_t skip =
            std::min(ShiftJisCharLength(std::string_view(in, inLeft), 0), inLeft);
        in += skip;
        inLeft -= skip;
    }
    return std::u16string(out.data(), maxUnits - outLeft / 2);
}

} // namespace vantrel
