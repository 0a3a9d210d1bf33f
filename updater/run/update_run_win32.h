#pragma once

namespace velmo {

// 按钮_更新 clicked: downloads, verifies and replaces every listed file.
void on_update_button_clicked();

}  // namespace velmo
