// RAII owners for the Win32 handles the programs hold: GDI objects, device contexts,
// global memory, metafiles, libraries and kernel handles.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

// Owns one handle of type H; Traits::Close releases it, Traits::Invalid() is the empty value.
template <typename H, typename Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    H Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(H handle = Traits::Invalid()) {
        H old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    H handle_ = Traits::Invalid();
};

// The traits of a handle whose empty value is null, released by `close`.
template <typename H, auto close> struct NullHandleTraits {
    static H Invalid() { return nullptr; }
    static void Close(H h) { close(h); }
};
// The traits of a kernel handle whose empty value is INVALID_HANDLE_VALUE, released by `close`.
template <auto close> struct InvalidValueHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { close(h); }
};

// An owner of a null-empty handle of type H released by `close`.
template <typename H, auto close>
using UniqueNullHandle = UniqueHandle<H, NullHandleTraits<H, close>>;

using UniqueGdiObject = UniqueNullHandle<HGDIOBJ, DeleteObject>;
using UniqueBitmap = UniqueNullHandle<HBITMAP, DeleteObject>;
using UniquePalette = UniqueNullHandle<HPALETTE, DeleteObject>;
using UniqueBrush = UniqueNullHandle<HBRUSH, DeleteObject>;
using UniqueMemoryDc = UniqueNullHandle<HDC, DeleteDC>;
using UniqueGlobal = UniqueNullHandle<HGLOBAL, GlobalFree>;
using UniqueMetafile = UniqueNullHandle<HMETAFILE, DeleteMetaFile>;
using UniqueLibrary = UniqueNullHandle<HMODULE, FreeLibrary>;
using UniqueKernelHandle = UniqueNullHandle<HANDLE, CloseHandle>;
using UniqueFileHandle = UniqueHandle<HANDLE, InvalidValueHandleTraits<CloseHandle>>;
using UniqueFind = UniqueHandle<HANDLE, InvalidValueHandleTraits<FindClose>>;

// A window's device context, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint pair for a paint handler.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_ = nullptr;
    PAINTSTRUCT paint_{};
};

// Selects an object into a DC for a scope and puts the old one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace fw
