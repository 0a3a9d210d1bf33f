#include "util/json_lookup.h"

#include <cmath>
#include <iterator>

#include "util/json_literal_reader.h"

namespace velmo {
namespace {

constexpr std::u16string_view prelude_names[] = {u"toJSONString", u"parseJSON"};

const JsonValue& undefined_value() {
  static const JsonValue undefined;
  return undefined;
}

JsonLookup found_or_undefined(const JsonValue* value) {
  return JsonLookup::of(value ? *value : undefined_value());
}

JsonLookup array_member(const JsonArray& array, std::u16string_view name) {
  if (const std::optional<uint32_t> index = array_index(name)) {
    if (*index < array.elements.size()) return JsonLookup::of(array.elements[*index]);
    return JsonLookup::of(undefined_value());
  }
  if (name == u"length") return JsonLookup::of_number(static_cast<double>(array.elements.size()));
  return found_or_undefined(array.named.find(name));
}

// The base has members to read (it is not undefined, null or a hole).
JsonLookup member_of(const JsonValue& base, std::u16string_view name) {
  switch (base.type()) {
    case JsonValue::Type::object:
      return found_or_undefined(base.as_object().find(name));
    case JsonValue::Type::array:
      return array_member(base.as_array(), name);
    case JsonValue::Type::string:
      // JScript strings have no index members, only their length.
      if (name == u"length") {
        return JsonLookup::of_number(static_cast<double>(base.as_string().size()));
      }
      return JsonLookup::of(undefined_value());
    default:
      return JsonLookup::of(undefined_value());
  }
}

bool grow_with_holes(std::vector<JsonValue>& elements, size_t size) {
  if (size - elements.size() > max_array_growth) return false;
  elements.reserve(size);
  while (elements.size() < size) elements.push_back(JsonValue::hole());
  return true;
}

bool set_array_length(JsonArray& array, const JsonValue& length) {
  if (length.type() != JsonValue::Type::number) return false;
  const double wanted = length.as_number();
  if (!(wanted >= 0 && wanted <= 4294967295.0) || std::floor(wanted) != wanted) return false;
  const auto size = static_cast<size_t>(wanted);
  if (size <= array.elements.size()) {
    array.elements.resize(size);
    return true;
  }
  return grow_with_holes(array.elements, size);
}

bool assign_array_member(JsonArray& array, std::u16string_view name, JsonValue value) {
  if (const std::optional<uint32_t> index = array_index(name)) {
    if (*index >= array.elements.size() && !grow_with_holes(array.elements, size_t{*index} + 1)) {
      return false;
    }
    array.elements[*index] = std::move(value);
    return true;
  }
  if (name == u"length") return set_array_length(array, value);
  array.named.set(name, std::move(value));
  return true;
}

size_t hidden_prelude_names(const JsonObject& own) {
  size_t hidden = 0;
  for (std::u16string_view name : prelude_names) hidden += own.find(name) ? 1 : 0;
  return hidden;
}

void append_prelude_names(std::vector<std::u16string>& names, const JsonObject* own) {
  for (std::u16string_view name : prelude_names) {
    if (!own || !own->find(name)) names.emplace_back(name);
  }
}

void append_member_names(std::vector<std::u16string>& names, const JsonObject& object) {
  for (const JsonMember& member : object.members()) names.push_back(member.name);
}

}  // namespace

JsonLookup JsonLookup::error() {
  JsonLookup lookup;
  lookup.failed_ = true;
  return lookup;
}

JsonLookup JsonLookup::of(const JsonValue& value) {
  JsonLookup lookup;
  lookup.reference_ = &value;
  return lookup;
}

JsonLookup JsonLookup::of_number(double number) {
  JsonLookup lookup;
  lookup.made_ = JsonValue::number(number);
  return lookup;
}

JsonLookup look_up(const JsonValue& root, const std::vector<std::u16string>& names, size_t count) {
  JsonLookup cursor = JsonLookup::of(root);
  for (size_t i = 0; i < count; ++i) {
    if (cursor.value().has_no_members()) return JsonLookup::error();
    JsonLookup next = member_of(cursor.value(), names[i]);
    cursor = std::move(next);
  }
  return cursor;
}

bool assign(JsonValue& root, const std::vector<std::u16string>& names, JsonValue value) {
  if (names.size() + nesting_height(value) > max_literal_nesting) return false;
  if (names.empty()) {
    root = std::move(value);
    return true;
  }
  const JsonLookup container = look_up(root, names, names.size() - 1);
  if (container.failed() || container.value().has_no_members()) return false;
  // An object or array found here lies inside `root`, which is not const;
  // values made up on the way are lengths, that is numbers.
  auto& target = const_cast<JsonValue&>(container.value());
  switch (target.type()) {
    case JsonValue::Type::object:
      target.as_object().set(names.back(), std::move(value));
      return true;
    case JsonValue::Type::array:
      return assign_array_member(target.as_array(), names.back(), std::move(value));
    default:
      return true;  // a member of a string, number or truth value is set on a copy and lost
  }
}

std::optional<std::vector<std::u16string>> for_in_names(const JsonValue& value) {
  if (value.has_no_members()) return std::nullopt;
  std::vector<std::u16string> names;
  const JsonObject* own = nullptr;
  if (value.type() == JsonValue::Type::object) {
    own = &value.as_object();
    append_member_names(names, *own);
  } else if (value.type() == JsonValue::Type::array) {
    const JsonArray& array = value.as_array();
    for (size_t i = 0; i < array.elements.size(); ++i) {
      if (array.elements[i].type() == JsonValue::Type::hole) continue;
      const std::string index = std::to_string(i);
      names.emplace_back(index.begin(), index.end());
    }
    own = &array.named;
    append_member_names(names, *own);
  }
  append_prelude_names(names, own);
  return names;
}

std::optional<size_t> for_in_count(const JsonValue& value) {
  if (value.has_no_members()) return std::nullopt;
  const size_t prelude = std::size(prelude_names);
  if (value.type() == JsonValue::Type::object) {
    const JsonObject& own = value.as_object();
    return own.size() + prelude - hidden_prelude_names(own);
  }
  if (value.type() == JsonValue::Type::array) {
    const JsonArray& array = value.as_array();
    size_t visited = array.named.size() + prelude - hidden_prelude_names(array.named);
    for (const JsonValue& element : array.elements) {
      visited += element.type() == JsonValue::Type::hole ? 0 : 1;
    }
    return visited;
  }
  return prelude;
}

}  // namespace velmo
