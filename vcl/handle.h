// One owner for every kind of system handle the layer keeps: released in one place, never twice.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <utility>

template <typename T, auto Release, T Null = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != Null; }
  T release() { return std::exchange(handle_, Null); }
  void reset(T handle = Null) {
    if (handle_ != Null) Release(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = Null;
};

namespace handle_release {
inline void Window(HWND h) { DestroyWindow(h); }
inline void Font(HFONT h) { DeleteObject(h); }
inline void Bitmap(HBITMAP h) { DeleteObject(h); }
inline void Brush(HBRUSH h) { DeleteObject(h); }
inline void MemoryDC(HDC h) { DeleteDC(h); }
inline void Drop(HDROP h) { DragFinish(h); }
inline void File(std::FILE* f) { std::fclose(f); }
}  // namespace handle_release

using WindowHandle = UniqueHandle<HWND, handle_release::Window>;
using FontHandle = UniqueHandle<HFONT, handle_release::Font>;
using BitmapHandle = UniqueHandle<HBITMAP, handle_release::Bitmap>;
using BrushHandle = UniqueHandle<HBRUSH, handle_release::Brush>;
using MemoryDCHandle = UniqueHandle<HDC, handle_release::MemoryDC>;
// Wrap the drop handle of WM_DROPFILES in this: the drop is released however the handler ends.
using DropHandle = UniqueHandle<HDROP, handle_release::Drop>;
using FileHandle = UniqueHandle<std::FILE*, handle_release::File>;

// A window's DC from GetDC, given back to that window.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a DC for one scope, the previous one put back after.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
