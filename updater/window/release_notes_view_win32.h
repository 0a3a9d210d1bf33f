#pragma once

namespace velmo {

// 按钮_查看 clicked: switches between the update list and the release notes.
void on_notes_button_clicked();

}  // namespace velmo
