#include "updater/startup/command_line.h"

namespace velmo {
namespace {

bool is_blank(char byte) { return static_cast<unsigned char>(byte) < '!'; }
bool is_lead_byte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Reads one item starting at `position` (which is not a blank) and returns it;
// `position` ends after the item.
std::string read_item(std::string_view line, size_t& position) {
  std::string item;
  if (line[position] == '"') {
    ++position;
    while (position < line.size() && line[position] != '"') {
      if (is_lead_byte(line[position]) && position + 1 < line.size()) item += line[position++];
      item += line[position++];
    }
    if (position < line.size()) ++position;  // the closing quote
    return item;
  }
  while (position < line.size() && !is_blank(line[position])) {
    if (is_lead_byte(line[position]) && position + 1 < line.size()) item += line[position++];
    item += line[position++];
  }
  return item;
}

void skip_blanks(std::string_view line, size_t& position) {
  while (position < line.size() && is_blank(line[position])) ++position;
}

}  // namespace

std::vector<std::string> split_command_line(std::string_view command_line) {
  std::vector<std::string> arguments;
  size_t position = 0;
  skip_blanks(command_line, position);
  if (position < command_line.size()) read_item(command_line, position);  // the program
  for (;;) {
    skip_blanks(command_line, position);
    if (position >= command_line.size()) break;
    arguments.push_back(read_item(command_line, position));
  }
  return arguments;
}

}  // namespace velmo
