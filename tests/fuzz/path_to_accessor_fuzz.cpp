// Any path text: its accessor, and reads and writes through it on a small
// document. Never a crash or a hang; a blank path addresses the root, and
// an accessor made of bracketed integers reads the same member again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "util/json_document.h"

namespace {

const char reply[] = R"({"state":0,"msg":"m","list":[{"pathName":"p","url":"u","md5":"d"}],)"
                     R"("7":[1,[2]],"a.b":{"c":null}})";

bool holds_only(const std::string& text, const std::string& allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string accessor = velmo::JsonDocument::path_to_accessor(path);
  velmo::JsonDocument::segment_to_accessor(path);
  // Texts end at their first NUL.
  const std::string text_part = path.substr(0, path.find('\0'));
  const bool integer = velmo::JsonDocument::is_integer_text(path);
  if (integer && !holds_only(text_part, " -0123456789\xA1")) std::abort();
  if (holds_only(text_part, " ") && !accessor.empty()) std::abort();

  velmo::JsonDocument document;
  if (!document.parse(reply)) std::abort();
  const std::string text = document.get_text(path);
  document.get_json(path);
  document.member_count(path);
  document.type_of(path);
  std::vector<std::string> names;
  document.member_names(names, path);
  // Integer accessors such as [7][1][0] are paths of their own.
  if (!accessor.empty() && holds_only(accessor, "[]-0123456789") &&
      document.get_text(accessor) != text) {
    std::abort();
  }
  document.set_value(path, "v");
  document.append(path, path, true);
  document.set_number(path, 1);
  document.get_json();
  return 0;
}
