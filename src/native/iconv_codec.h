#pragma once

#include "storage/shift_jis_codec.h"

namespace vantrel {

// Native binding of the code-page seam: glibc iconv, "CP932" (the Windows
// flavour of Shift_JIS, so 0x5C stays a backslash).
class IconvCodec : public ShiftJisCodec {
  public:
    IconvCodec();
    ~IconvCodec() override;
    IconvCodec(const IconvCodec&) = delete;
    IconvCodec& operator=(const IconvCodec&) = delete;

    // False when this iconv has no CP932; only ASCII converts then.
    bool Available() const;

    std::string Encode(std::u16string_view text, std::size_t maxBytes) const override;
    std::u16string Decode(std::string_view bytes, std::size_t maxUnits) const override;

  private:
    void* toShiftJis_;
    void* fromShiftJis_;
    mutable std::string encodeScratch_;
    mutable std::u16string decodeScratch_;
};

} // namespace vantrel
