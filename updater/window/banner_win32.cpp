#include "updater/window/banner_win32.h"

#include <objidl.h>
// objidl.h before gdiplus
#include <gdiplus.h>

namespace velmo {
namespace {

// Copies the resource into movable global memory: GDI+ reads the image
// through an IStream over it.
IStream* resource_stream(HINSTANCE instance, int resource_id) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resource_id), MAKEINTRESOURCEA(10));
  if (!found) return nullptr;
  const DWORD size = SizeofResource(instance, found);
  HGLOBAL loaded = LoadResource(instance, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return nullptr;
  memcpy(GlobalLock(copy), data, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(copy, TRUE, &stream) != S_OK) {
    GlobalFree(copy);
    return nullptr;
  }
  return stream;
}

}  // namespace

Banner::~Banner() {
  if (bitmap_) DeleteObject(bitmap_);
}

bool Banner::load(HINSTANCE instance, int resource_id, COLORREF background) {
  IStream* stream = resource_stream(instance, resource_id);
  if (!stream) return false;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  bool loaded = false;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &image) == Gdiplus::Ok) {
      UINT width = 0, height = 0;
      Gdiplus::DllExports::GdipGetImageWidth(image, &width);
      Gdiplus::DllExports::GdipGetImageHeight(image, &height);
      const Gdiplus::ARGB argb = 0xFF000000u | (GetRValue(background) << 16) |
                                 (GetGValue(background) << 8) | GetBValue(background);
      HBITMAP bitmap = nullptr;
      if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(image, &bitmap, argb) == Gdiplus::Ok) {
        bitmap_ = bitmap;
        width_ = static_cast<int>(width);
        height_ = static_cast<int>(height);
        loaded = true;
      }
      Gdiplus::DllExports::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
  }
  stream->Release();
  return loaded;
}

void Banner::paint(const DRAWITEMSTRUCT& item) const {
  if (!bitmap_) return;
  HDC source = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(source, bitmap_);
  SetStretchBltMode(item.hDC, HALFTONE);
  SetBrushOrgEx(item.hDC, 0, 0, nullptr);
  const RECT& box = item.rcItem;
  StretchBlt(item.hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, source, 0, 0,
             width_, height_, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace velmo
