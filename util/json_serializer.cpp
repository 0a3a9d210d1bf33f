#include "util/json_serializer.h"

#include <cmath>

#include "util/json_number_text.h"

namespace velmo {
namespace {

// The characters that json2 escapes: quote, backslash, the C0 and C1
// controls and a set of invisible or line-breaking characters.
bool needs_escape(char16_t unit) {
  return unit == u'"' || unit == u'\\' || unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) ||
         unit == 0x00AD || (unit >= 0x0600 && unit <= 0x0604) || unit == 0x070F || unit == 0x17B4 ||
         unit == 0x17B5 || (unit >= 0x200C && unit <= 0x200F) ||
         (unit >= 0x2028 && unit <= 0x202F) || (unit >= 0x2060 && unit <= 0x206F) ||
         unit == 0xFEFF || unit >= 0xFFF0;
}

void append_escape(std::u16string& out, char16_t unit) {
  switch (unit) {
    case u'\b':
      out += u"\\b";
      return;
    case u'\t':
      out += u"\\t";
      return;
    case u'\n':
      out += u"\\n";
      return;
    case u'\f':
      out += u"\\f";
      return;
    case u'\r':
      out += u"\\r";
      return;
    case u'"':
      out += u"\\\"";
      return;
    case u'\\':
      out += u"\\\\";
      return;
    default:
      break;
  }
  static constexpr char16_t hex[] = u"0123456789abcdef";
  out += u"\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(hex[(unit >> shift) & 0xF]);
}

void append_quoted(std::u16string& out, std::u16string_view text) {
  out.push_back(u'"');
  size_t run_start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!needs_escape(text[i])) continue;
    out.append(text.substr(run_start, i - run_start));
    append_escape(out, text[i]);
    run_start = i + 1;
  }
  out.append(text.substr(run_start));
  out.push_back(u'"');
}

void append_number(std::u16string& out, double number) {
  if (!std::isfinite(number)) {
    out += u"null";
    return;
  }
  const std::string text = number_to_js_text(number);
  out.append(text.begin(), text.end());
}

bool append_value(std::u16string& out, const JsonValue& value);

void append_object(std::u16string& out, const JsonObject& object) {
  out.push_back(u'{');
  bool first = true;
  for (const JsonMember& member : object.members()) {
    const size_t rollback = out.size();
    if (!first) out.push_back(u',');
    append_quoted(out, member.name);
    out.push_back(u':');
    if (append_value(out, member.value)) {
      first = false;
    } else {
      out.resize(rollback);
    }
  }
  out.push_back(u'}');
}

void append_array(std::u16string& out, const JsonArray& array) {
  out.push_back(u'[');
  for (size_t i = 0; i < array.elements.size(); ++i) {
    if (i > 0) out.push_back(u',');
    if (!append_value(out, array.elements[i])) out += u"null";
  }
  out.push_back(u']');
}

// False, with nothing written, for a value that JSON.stringify skips.
bool append_value(std::u16string& out, const JsonValue& value) {
  switch (value.type()) {
    case JsonValue::Type::undefined:
    case JsonValue::Type::hole:
      return false;
    case JsonValue::Type::null:
      out += u"null";
      return true;
    case JsonValue::Type::boolean:
      out += value.as_boolean() ? u"true" : u"false";
      return true;
    case JsonValue::Type::number:
      append_number(out, value.as_number());
      return true;
    case JsonValue::Type::string:
      append_quoted(out, value.as_string());
      return true;
    case JsonValue::Type::object:
      append_object(out, value.as_object());
      return true;
    case JsonValue::Type::array:
      append_array(out, value.as_array());
      return true;
  }
  return false;
}

}  // namespace

std::optional<std::u16string> stringify_json(const JsonValue& value) {
  std::u16string out;
  if (!append_value(out, value)) return std::nullopt;
  return out;
}

}  // namespace velmo
