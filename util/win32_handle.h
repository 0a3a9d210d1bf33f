#pragma once
// RAII ownership of Windows handles.
#include <windows.h>

#include <utility>

namespace velmo {

template <typename Handle, typename Traits>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  ~UniqueResource() { reset(); }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::invalid()); }
  void reset(Handle handle = Traits::invalid()) {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::invalid();
};

// Kernel handles: null and INVALID_HANDLE_VALUE both mean "none".
struct KernelHandleTraits {
  static HANDLE invalid() { return nullptr; }
  static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

struct FindHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};
using UniqueFindHandle = UniqueResource<HANDLE, FindHandleTraits>;

template <typename GdiObject>
struct GdiObjectTraits {
  static GdiObject invalid() { return nullptr; }
  static bool valid(GdiObject h) { return h != nullptr; }
  static void close(GdiObject h) { DeleteObject(h); }
};
using UniqueBitmap = UniqueResource<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueResource<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<HBRUSH, GdiObjectTraits<HBRUSH>>;

}  // namespace velmo
