#pragma once
// The values that a JSON document holds, modelled on what a JScript engine
// keeps for them: strings are UTF-16, numbers 64-bit doubles, objects keep
// their members in the order the names first appeared, and array slots that
// were elided or skipped over are holes, which no member loop visits.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmo {

class JsonObject;
struct JsonArray;

class JsonValue {
 public:
  enum class Type { undefined, null, boolean, number, string, object, array, hole };

  JsonValue();  // undefined
  JsonValue(JsonValue&&) noexcept;
  JsonValue& operator=(JsonValue&&) noexcept;
  ~JsonValue();

  static JsonValue null();
  static JsonValue hole();
  static JsonValue boolean(bool value);
  static JsonValue number(double value);
  static JsonValue string(std::u16string value);
  static JsonValue object();
  static JsonValue array();

  Type type() const;
  // Undefined, null and holes have no members: reading one of theirs is an error.
  bool has_no_members() const;

  bool as_boolean() const { return std::get<bool>(data_); }
  double as_number() const { return std::get<double>(data_); }
  const std::u16string& as_string() const { return *std::get<StringPtr>(data_); }
  const JsonObject& as_object() const { return *std::get<ObjectPtr>(data_); }
  JsonObject& as_object() { return *std::get<ObjectPtr>(data_); }
  const JsonArray& as_array() const { return *std::get<ArrayPtr>(data_); }
  JsonArray& as_array() { return *std::get<ArrayPtr>(data_); }

 private:
  struct Undefined {};
  struct Null {};
  struct Hole {};
  using StringPtr = std::unique_ptr<std::u16string>;
  using ObjectPtr = std::unique_ptr<JsonObject>;
  using ArrayPtr = std::unique_ptr<JsonArray>;
  // Alternatives in the order of Type.
  using Data = std::variant<Undefined, Null, bool, double, StringPtr, ObjectPtr, ArrayPtr, Hole>;

  explicit JsonValue(Data data);
  Data data_;
};

struct JsonMember {
  std::u16string name;
  JsonValue value;
};

class JsonObject {
 public:
  const JsonValue* find(std::u16string_view name) const;
  JsonValue* find(std::u16string_view name);
  // A new name goes to the end; an existing one keeps its place.
  void set(std::u16string_view name, JsonValue value);
  const std::vector<JsonMember>& members() const { return members_; }
  size_t size() const { return members_.size(); }

 private:
  std::optional<size_t> position(std::u16string_view name) const;

  std::vector<JsonMember> members_;
  // Built once an object has many members, so that reading a big object
  // member by member stays linear; a tree keeps the worst case logarithmic.
  std::map<std::u16string, size_t, std::less<>> index_;
};

struct JsonArray {
  std::vector<JsonValue> elements;  // a hole where a slot has no value
  JsonObject named;                 // members whose names are not array indexes
};

// The array index that a member name denotes: the canonical decimal text of
// an integer below 2^32 - 1, as ECMAScript defines it.
std::optional<uint32_t> array_index(std::u16string_view name);

// How many levels of objects and arrays a value nests: 0 for a scalar.
size_t nesting_height(const JsonValue& value);

}  // namespace velmo
