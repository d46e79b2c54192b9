// Every text the item shows must draw as itself, not as empty boxes: each
// character has a glyph in the face Wine actually selects for the menus,
// message boxes and captions (NONCLIENTMETRICS), for the module's dialogs
// (their templates' font) and for the list (the window's default font and
// the face the host gives the item). GetGlyphIndicesW does no font linking,
// so a face without Japanese glyphs fails here as it shows on the screen.

#include "text/builtin_texts.h"
#include "win32/item_harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace vantrel::testing;

struct Face {
    std::string what;
    LOGFONTW font;
};

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring Decoded(const std::string& bytes, UINT codePage) {
    const int n =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

void AddMenuTexts(HMENU menu, std::vector<std::wstring>& texts) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.emplace_back(text);
        if (HMENU sub = GetSubMenu(menu, i)) {
            AddMenuTexts(sub, texts);
        }
    }
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class Glyphs : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
        module_ = LoadLibraryW(L"vantrel.dll");
        ASSERT_NE(module_, nullptr);
        owner_ = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                               nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        FreeLibrary(module_);
    }

    // Characters of `texts` without a glyph in `face`, as "face: text" lines.
    static std::string Missing(const Face& face, const std::vector<std::wstring>& texts) {
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = CreateFontIndirectW(&face.font);
        HGDIOBJ previous = SelectObject(dc, font);
        wchar_t selected[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, selected);
        std::set<std::wstring> reported;
        std::ostringstream out;
        constexpr std::size_t kShown = 5; // a few per face say enough
        for (const std::wstring& text : texts) {
            std::wstring shown;
            for (const wchar_t c : text) {
                if (c >= L' ' && c != L'&') { // a mnemonic's marker is not drawn
                    shown.push_back(c);
                }
            }
            if (shown.empty()) {
                continue;
            }
            std::vector<WORD> glyphs(shown.size());
            GetGlyphIndicesW(dc, shown.c_str(), static_cast<int>(shown.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS);
            std::wstring absent;
            for (std::size_t i = 0; i < shown.size(); ++i) {
                if (glyphs[i] == 0xFFFF) {
                    absent.push_back(shown[i]);
                }
            }
            if (!absent.empty() && reported.insert(text).second && reported.size() <= kShown) {
                out << face.what << " (" << Utf8(face.font.lfFaceName) << " -> " << Utf8(selected)
                    << "): no glyph for \"" << Utf8(absent) << "\" in \"" << Utf8(shown) << "\"\n";
            }
        }
        if (reported.size() > kShown) {
            out << face.what << ": and " << reported.size() - kShown << " more texts\n";
        }
        SelectObject(dc, previous);
        DeleteObject(font);
        DeleteDC(dc);
        return out.str();
    }

    // The module's string table (menu, message-box and list texts), its
    // menus, and the labels and fonts of its dialogs as Wine creates them.
    void CollectModule(std::vector<std::wstring>& texts, std::vector<Face>& faces) {
        for (const vantrel::TextEntry& entry : vantrel::BuiltinTextEntries()) {
            const std::u16string_view text = entry.text;
            texts.emplace_back(text.begin(), text.end());
        }
        EnumResourceNamesW(
            module_, MAKEINTRESOURCEW(4) /* RT_MENU */,
            [](HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                if (HMENU menu = LoadMenuW(module, name)) {
                    AddMenuTexts(menu, *reinterpret_cast<std::vector<std::wstring>*>(param));
                    DestroyMenu(menu);
                }
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&texts));
        std::vector<LPCWSTR> dialogs;
        EnumResourceNamesW(
            module_, MAKEINTRESOURCEW(5) /* RT_DIALOG */,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                reinterpret_cast<std::vector<LPCWSTR>*>(param)->push_back(name); // ids only
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&dialogs));
        ASSERT_FALSE(dialogs.empty());
        for (LPCWSTR name : dialogs) {
            HWND dialog = CreateDialogParamW(module_, name, owner_, QuietDialog, 0);
            ASSERT_NE(dialog, nullptr) << "dialog " << reinterpret_cast<std::uintptr_t>(name);
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            faces.push_back(
                {"dialog " + std::to_string(reinterpret_cast<std::uintptr_t>(name)), font});
            EnumChildWindows(
                dialog,
                [](HWND child, LPARAM param) -> BOOL {
                    wchar_t text[256] = {};
                    GetWindowTextW(child, text, 256);
                    reinterpret_cast<std::vector<std::wstring>*>(param)->emplace_back(text);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&texts));
            DestroyWindow(dialog);
        }
    }

    HMODULE module_ = nullptr;
    HWND owner_ = nullptr;
};

TEST_F(Glyphs, EveryTextTheItemShowsHasItsGlyphsInTheFacesWineSelects) {
    std::vector<std::wstring> texts;
    std::vector<Face> faces;
    CollectModule(texts, faces);
    if (HasFatalFailure()) {
        return;
    }
    // The host's own menu and the replacement Outlook's forms and messages.
    for (const wchar_t* text :
         {L"設定", L"予定", L"タスク", L"日付は YYYY-MM-DD HH:MM の形で入力してください"}) {
        texts.emplace_back(text);
    }
    // The list: the sample's titles and tags (Shift_JIS) and the store's (UTF-8).
    const std::wstring examples = BinFolder() + L"\\..\\..\\..\\examples\\";
    for (const std::wstring& file :
         {Decoded(FileBytes(examples + L"sample.vrl"), 932),
          Decoded(FileBytes(examples + L"outlook-store.txt"), CP_UTF8)}) {
        std::wistringstream lines(file);
        for (std::wstring line; std::getline(lines, line);) {
            texts.push_back(line);
        }
    }
    ASSERT_GT(texts.size(), 300u);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    faces.push_back({"menu", metrics.lfMenuFont});
    faces.push_back({"message box", metrics.lfMessageFont});
    faces.push_back({"caption", metrics.lfCaptionFont});
    faces.push_back({"small caption", metrics.lfSmCaptionFont});
    faces.push_back({"status", metrics.lfStatusFont});
    // The list's default: the font a window's DC starts with, which the
    // item takes as the device's; and the face the host names for it.
    LOGFONTW system{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    faces.push_back({"window default", system});
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    faces.push_back({"default GUI", gui});
    LOGFONTW list{};
    list.lfHeight = -12;
    list.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy(list.lfFaceName, L"IPAGothic");
    faces.push_back({"list", list});

    std::string missing;
    for (const Face& face : faces) {
        missing += Missing(face, texts);
    }
    EXPECT_TRUE(missing.empty()) << missing;
}

} // namespace
