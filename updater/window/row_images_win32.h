#pragma once
#include <windows.h>
// windows.h first
#include <commctrl.h>

namespace velmo {

enum RowImage : int { row_image_waiting = 0, row_image_done = 1, row_image_failed = 2 };

// The list's small images: 16 x 16, 32-bit colour with a mask, white
// background, grey outline glyphs: three bars (waiting), a tick in a circle
// (done), a cross in a circle (failed).
HIMAGELIST create_row_images();

}  // namespace velmo
