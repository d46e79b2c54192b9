#pragma once

#include "storage/shift_jis_codec.h"

namespace vantrel {

// The code-page seam bound to code page 932, with '?' for what it lacks.
class Win32Codec : public ShiftJisCodec {
  public:
    std::string Encode(std::u16string_view text, std::size_t maxBytes) const override;
    std::u16string Decode(std::string_view bytes, std::size_t maxUnits) const override;
};

} // namespace vantrel
