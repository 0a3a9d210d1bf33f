#include "util/json_value.h"

#include <algorithm>

namespace velmo {
namespace {

// Objects up to this size are searched member by member.
constexpr size_t linear_search_limit = 8;

}  // namespace

JsonValue::JsonValue() : data_(Undefined{}) {}
JsonValue::JsonValue(Data data) : data_(std::move(data)) {}
JsonValue::JsonValue(JsonValue&&) noexcept = default;
JsonValue& JsonValue::operator=(JsonValue&&) noexcept = default;
JsonValue::~JsonValue() = default;

JsonValue JsonValue::null() { return JsonValue(Data(Null{})); }
JsonValue JsonValue::hole() { return JsonValue(Data(Hole{})); }
JsonValue JsonValue::boolean(bool value) { return JsonValue(Data(value)); }
JsonValue JsonValue::number(double value) { return JsonValue(Data(value)); }

JsonValue JsonValue::string(std::u16string value) {
  return JsonValue(Data(std::make_unique<std::u16string>(std::move(value))));
}

JsonValue JsonValue::object() { return JsonValue(Data(std::make_unique<JsonObject>())); }
JsonValue JsonValue::array() { return JsonValue(Data(std::make_unique<JsonArray>())); }

JsonValue::Type JsonValue::type() const { return static_cast<Type>(data_.index()); }

bool JsonValue::has_no_members() const {
  const Type kind = type();
  return kind == Type::undefined || kind == Type::null || kind == Type::hole;
}

std::optional<size_t> JsonObject::position(std::u16string_view name) const {
  if (!index_.empty()) {
    const auto found = index_.find(name);
    if (found == index_.end()) return std::nullopt;
    return found->second;
  }
  for (size_t i = 0; i < members_.size(); ++i) {
    if (members_[i].name == name) return i;
  }
  return std::nullopt;
}

const JsonValue* JsonObject::find(std::u16string_view name) const {
  const std::optional<size_t> at = position(name);
  return at ? &members_[*at].value : nullptr;
}

JsonValue* JsonObject::find(std::u16string_view name) {
  const std::optional<size_t> at = position(name);
  return at ? &members_[*at].value : nullptr;
}

void JsonObject::set(std::u16string_view name, JsonValue value) {
  if (const std::optional<size_t> at = position(name)) {
    members_[*at].value = std::move(value);
    return;
  }
  members_.push_back(JsonMember{std::u16string(name), std::move(value)});
  if (!index_.empty()) {
    index_.emplace(std::u16string(name), members_.size() - 1);
  } else if (members_.size() > linear_search_limit) {
    for (size_t i = 0; i < members_.size(); ++i) index_.emplace(members_[i].name, i);
  }
}

std::optional<uint32_t> array_index(std::u16string_view name) {
  if (name.empty() || name.size() > 10) return std::nullopt;
  if (name.size() > 1 && name[0] == u'0') return std::nullopt;
  uint64_t value = 0;
  for (char16_t unit : name) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(unit - u'0');
  }
  if (value >= 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(value);
}

size_t nesting_height(const JsonValue& value) {
  size_t child_height = 0;
  if (value.type() == JsonValue::Type::object) {
    for (const JsonMember& member : value.as_object().members()) {
      child_height = std::max(child_height, nesting_height(member.value));
    }
    return child_height + 1;
  }
  if (value.type() == JsonValue::Type::array) {
    const JsonArray& array = value.as_array();
    for (const JsonValue& element : array.elements) {
      child_height = std::max(child_height, nesting_height(element));
    }
    for (const JsonMember& member : array.named.members()) {
      child_height = std::max(child_height, nesting_height(member.value));
    }
    return child_height + 1;
  }
  return 0;
}

}  // namespace velmo
