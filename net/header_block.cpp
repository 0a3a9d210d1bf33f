#include "net/header_block.h"

#include "net/text_pieces.h"

namespace velmo {

std::vector<HeaderField> header_block_fields(std::string_view block) {
  std::vector<HeaderField> fields;
  for (const std::string& line : split_text(block, "\r\n")) {
    std::string name = trim_spaces(text_before(line, ":"));
    if (name.empty()) continue;
    std::string value = trim_spaces(replace_all(line, name + ":", ""));
    fields.push_back({std::move(name), std::move(value)});
  }
  return fields;
}

}  // namespace velmo
