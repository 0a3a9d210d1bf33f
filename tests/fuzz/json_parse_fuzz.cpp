// JsonDocument over any reply text: parse, then the reads the updater makes
// and reads by the paths the reply itself names. Never a crash or a hang, and
// JSON text written by get_json reads back to itself once it has been
// through the code page once.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "util/json_document.h"

namespace {

void read_member(const velmo::JsonDocument& document, const std::string& name) {
  document.get_text(name);
  document.get_json(name);
  document.get_number(name);
  document.get_bool(name);
  document.type_of(name);
  document.member_count(name);
  document.get_text(name + "[0]");
  document.get_text(name + "[0].url");
  std::vector<std::string> inner;
  document.member_names(inner, name);
}

void read_like_the_updater(const velmo::JsonDocument& document) {
  document.get_object("state").get_json();
  document.get_text("msg");
  const int count = document.member_count("list");
  for (int i = 0; i < count && i < 64; ++i) {
    const std::string element = "list[" + std::to_string(i) + "].";
    document.get_text(element + "pathName");
    document.get_text(element + "url");
    document.get_text(element + "md5");
  }
}

std::string json_after_parse(const std::string& text) {
  velmo::JsonDocument document;
  document.parse(text);
  return document.get_json();
}

void expect_stable_json(const velmo::JsonDocument& document) {
  if (document.raw_text() == document.get_json()) return;  // no JSON text of its own
  const std::string once = json_after_parse(document.get_json());
  if (json_after_parse(once) != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string reply(reinterpret_cast<const char*>(data), size);
  velmo::JsonDocument document;
  const bool parsed = document.parse(reply);
  read_like_the_updater(document);
  std::vector<std::string> names;
  document.member_names(names);
  if (parsed && document.get_json().empty()) std::abort();
  for (size_t i = 0; i < names.size() && i < 16; ++i) read_member(document, names[i]);
  expect_stable_json(document);
  velmo::JsonDocument copy = document.copy();
  copy.append("list", "x");
  copy.set_expression("added", reply);
  copy.remove_at(0);
  copy.get_json();
  return 0;
}
