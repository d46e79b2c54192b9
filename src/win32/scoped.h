#pragma once

// Scope guards for the Win32 resources the module and the host acquire: each
// is released once, when its owner's scope ends, on every path out. None is
// copyable; the owning handles and COM pointers move.

#include <windows.h>

#include <oleauto.h>

#include <string_view>
#include <utility>

namespace vantrel {

// A resource of handle type T released by Free, or empty (nullptr).
template <class T, class Free> class Owned {
  public:
    Owned() = default;
    explicit Owned(T handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    T release() { return std::exchange(handle_, nullptr); }
    void reset(T handle = nullptr) {
        if (handle_ != nullptr) {
            Free{}(handle_);
        }
        handle_ = handle;
    }

  private:
    T handle_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

// GDI objects this code created.
using Brush = Owned<HBRUSH, DeleteGdiObject>;
using Font = Owned<HFONT, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using Region = Owned<HRGN, DeleteGdiObject>;
using Icon = Owned<HICON, DestroyIconHandle>;

// A memory DC from CreateCompatibleDC.
class MemoryDc : public Owned<HDC, DeleteMemoryDc> {
  public:
    explicit MemoryDc(HDC compatible) : Owned(CreateCompatibleDC(compatible)) {}
};

// A window's DC: its client area (GetDC; for nullptr the screen) or the
// whole window with its frame (GetWindowDC).
enum class DcArea { kClient, kWholeWindow };
class WindowDc {
  public:
    explicit WindowDc(HWND window, DcArea area = DcArea::kClient)
        : window_(window), dc_(area == DcArea::kClient ? GetDC(window) : GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A WM_PAINT's BeginPaint / EndPaint.
class Painting {
  public:
    explicit Painting(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    ~Painting() { EndPaint(window_, &paint_); }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;
    HDC dc() const { return paint_.hdc; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// An object selected into a DC; the one it replaced is selected back.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selected() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A kernel handle; both nullptr and INVALID_HANDLE_VALUE mean none.
class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Closes now; false when CloseHandle failed (a write-back can fail there).
    bool Close() {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A COM interface pointer, released once; it moves, it is never copied.
template <class T> class Held {
  public:
    Held() = default;
    ~Held() { reset(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    Held(Held&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    Held& operator=(Held&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    void reset() {
        if (p_ != nullptr) {
            std::exchange(p_, nullptr)->Release();
        }
    }
    // For the out parameter of a call that hands over a reference.
    T** out() {
        reset();
        return &p_;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// Counts one modal box, dialog or sheet as showing for its lifetime; a null
// counter counts nothing. (The refresh query answers "no change" while the
// item's count is above zero.)
class ModalScope {
  public:
    explicit ModalScope(int* depth) : depth_(depth) {
        if (depth_ != nullptr) {
            ++*depth_;
        }
    }
    ~ModalScope() {
        if (depth_ != nullptr) {
            --*depth_;
        }
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    int* depth_;
};

// A BSTR this code allocated.
class Bstr {
  public:
    explicit Bstr(std::wstring_view text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return text_; }

  private:
    BSTR text_;
};

} // namespace vantrel
