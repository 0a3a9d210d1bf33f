#include "updater/window/release_notes_view_win32.h"

namespace velmo {

// The notes need the web request; until it exists the button does nothing.
void on_notes_button_clicked() {}

}  // namespace velmo
