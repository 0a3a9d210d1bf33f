#include "updater/window/row_images_win32.h"

#include "util/win32_handle.h"

namespace velmo {
namespace {

constexpr int image_size = 16;
constexpr COLORREF glyph_grey = RGB(128, 128, 128);

void draw_bars(HDC dc) {
  for (const int y : {4, 8, 12}) {
    MoveToEx(dc, 3, y, nullptr);
    LineTo(dc, 13, y);
  }
}

void draw_circle(HDC dc) {
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, 1, 1, 15, 15);
}

void draw_tick(HDC dc) {
  draw_circle(dc);
  const POINT tick[] = {{4, 8}, {7, 11}, {12, 5}};
  Polyline(dc, tick, 3);
}

void draw_cross(HDC dc) {
  draw_circle(dc);
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 11, 11);
  MoveToEx(dc, 10, 5, nullptr);
  LineTo(dc, 4, 11);
}

// One glyph on white in a 32-bit bitmap.
UniqueBitmap draw_glyph(HDC screen, void (*draw)(HDC)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image_size;
  info.bmiHeader.biHeight = -image_size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap.get());
  const RECT all{0, 0, image_size, image_size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HPEN pen = CreatePen(PS_SOLID, 2, glyph_grey);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  draw(dc);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
  SelectObject(dc, old_bitmap);
  DeleteDC(dc);
  // GDI leaves the alpha bytes at 0; the images are opaque.
  auto* pixels = static_cast<DWORD*>(bits);
  for (int i = 0; i < image_size * image_size; ++i) pixels[i] |= 0xFF000000u;
  return bitmap;
}

}  // namespace

HIMAGELIST create_row_images() {
  HIMAGELIST images = ImageList_Create(image_size, image_size, ILC_COLOR32 | ILC_MASK, 3, 0);
  if (!images) return nullptr;
  HDC screen = GetDC(nullptr);
  // An all-black mask: every pixel of the glyph, its white background too, is shown.
  const UniqueBitmap mask(CreateBitmap(image_size, image_size, 1, 1, nullptr));
  HDC mask_dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mask_dc, mask.get());
  PatBlt(mask_dc, 0, 0, image_size, image_size, BLACKNESS);
  SelectObject(mask_dc, old);
  DeleteDC(mask_dc);
  for (void (*draw)(HDC) : {draw_bars, draw_tick, draw_cross}) {
    const UniqueBitmap glyph = draw_glyph(screen, draw);
    ImageList_Add(images, glyph.get(), mask.get());
  }
  ReleaseDC(nullptr, screen);
  return images;
}

}  // namespace velmo
