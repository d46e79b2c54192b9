#pragma once

#include "settings/fixed_text.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vantrel {

using PathText = FixedText<260>;    // OpenFile and the four category texts
using FaceNameText = FixedText<32>; // FontName, ExFontName

inline constexpr std::u16string_view kSettingsKey = u"\\Software\\Orvane\\Vantrel";
inline constexpr std::u16string_view kDefaultDataFile = u"\\My Documents\\vantrel.vrl";

// What a field of the record holds, as an integer or a text.
using HeldSetting = std::variant<std::int32_t, std::u16string>;

// A value the registry holds in a form its field cannot take (another type
// or size). The field keeps what it held, and the stored value is not
// written over while the field still holds `heldAtLoad`: only a value the
// user sets replaces it.
struct UnreadValue {
    std::u16string_view name; // from the table of values, which lives for the process
    HeldSetting heldAtLoad;

    friend bool operator==(const UnreadValue&, const UnreadValue&) = default;
};

// The whole configuration, every value named as in the registry and set to
// its compiled-in default. Colours are 0x00BBGGRR.
struct Settings {
    PathText OpenFile;
    std::int32_t DataLine = 1;
    std::int32_t ViewLine = 4;
    std::int32_t DrawCheck = 1;
    std::int32_t CheckDate = 1;
    std::int32_t StartView = 11;
    std::int32_t StartFilter = 4;
    std::int32_t SaveFilter = 0;
    std::u16string FilterTag;
    std::int32_t AutoUpdate = 1;
    std::int32_t WidthDate = 55;
    std::int32_t WidthDayCount = 55;
    std::int32_t WidthMemo = 0;
    std::int32_t ShortView = 0;
    std::int32_t WidthSep = 2;
    std::int32_t PosMemo = 3;
    std::int32_t PosDate = 2;
    std::int32_t PosDayCount = 1;
    FaceNameText FontName;
    std::int32_t CharSet = 0;
    std::int32_t FontSize = 0;
    std::int32_t LineSpace = 2;
    std::int32_t DrawWDay = 1;
    std::int32_t DrawIcon = 1;
    std::int32_t DrawSpan = 0;
    std::int32_t DrawTomorrow = 1;
    std::int32_t MaxMinutes = 180;
    std::int32_t ResetTime = 3;
    std::int32_t ExFocus = 1;
    std::int32_t ExFocusTime = 4;
    FaceNameText ExFontName;
    std::int32_t ExCharSet = 0;
    std::int32_t ExFontSize = 0;
    std::int32_t Future = 0;
    std::int32_t StartWeek = 1;
    std::int32_t DSpan1 = -365;
    std::int32_t DSpan2 = -7;
    std::int32_t DSpan3s = -1;
    std::int32_t DSpan3e = 1;
    std::int32_t DSpan4 = 8;
    std::int32_t DSpan5 = 366;
    std::int32_t DSpanFs = -1;
    std::int32_t DSpanFe = 1;
    std::int32_t DSpanTs = 1;
    std::int32_t OverMinutes = 2099997120;
    std::int32_t DrawToday = 1;
    std::int32_t DrawAnniv = 1;
    std::int32_t DrawToDo = 1;
    std::int32_t DrawPosBar = 1;
    std::int32_t DrawPosBarBk = 0;
    std::int32_t FocusTx = 0;
    std::int32_t FocusBk = 0;
    std::int32_t CrTodayTx = 0x6464FF;
    std::int32_t CrAnnivTx = 0x6464FF;
    std::int32_t CrToDoOverTx = 0x8000FF;
    std::int32_t CrToDoTx = 0x6464FF;
    std::int32_t CrPin = 0x6464FF;
    std::int32_t CrPosBarTx = 0x00FF7F;
    std::int32_t CrPosBarBk = 0x391400;
    std::int32_t CrFocusTx = 0x391400;
    std::int32_t CrFocusBk = 0x00FF7F;
    std::int32_t CrDataTx0 = 0xC8C8C8;
    std::int32_t CrDataTx1 = 0xD4FFC3;
    std::int32_t CrDataTx2 = 0xC3EBFF;
    std::int32_t CrDataTx3 = 0xC4C3FF;
    std::int32_t CrDataTx4 = 0xF7C3FF;
    std::int32_t CrDataTx5 = 0xFFD7C3;
    std::int32_t ExTapHold = 3;
    std::int32_t ExTap = -1;
    std::int32_t ExAction = 7;
    std::int32_t ExUp = 16;
    std::int32_t ExDown = 17;
    std::int32_t ExLeft = 18;
    std::int32_t ExRight = 19;
    std::int32_t DelWarn = 1;
    std::int32_t CheckWarn = 1;
    std::int32_t CheckSort = 1;
    std::int32_t CheckTime = 1;
    std::int32_t CheckStrikeOut = 0;
    std::int32_t ViewHoliday = 1;
    PathText ApptHoliday{u"\u795D\u65E5"}; // 祝日
    std::int32_t ApptVRL = 0;
    PathText ApptVRLCat{u"VRL"};
    std::int32_t BusyStatus = 14;
    std::int32_t ApptSens = 15;
    std::int32_t TaskNoVRL = 0;
    PathText TaskNoVRLCat;
    std::int32_t TaskVRL = 0;
    PathText TaskVRLCat{u"VRL"};
    std::int32_t Importance = 7;
    std::int32_t TaskSens = 15;

    // Not a registry value: set by LoadSettings, at most one per value.
    std::vector<UnreadValue> unreadValues;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace vantrel
