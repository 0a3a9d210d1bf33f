#pragma once
#include <windows.h>

namespace velmo {

// The banner PNG embedded as a resource, decoded once (GDI+) into a bitmap
// and painted scaled to fill its picture box.
class Banner {
 public:
  Banner() = default;
  ~Banner();
  Banner(const Banner&) = delete;
  Banner& operator=(const Banner&) = delete;

  // Decodes the resource; false when it is missing or cannot be decoded.
  bool load(HINSTANCE instance, int resource_id, COLORREF background);
  // Paints into the owner-drawn picture box.
  void paint(const DRAWITEMSTRUCT& item) const;

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace velmo
