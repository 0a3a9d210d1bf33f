#include "util/json_document.h"

#include <algorithm>
#include <optional>

#include "util/json_host_conversion.h"
#include "util/json_literal_reader.h"
#include "util/json_lookup.h"
#include "util/json_number_text.h"
#include "util/json_path.h"
#include "util/json_serializer.h"
#include "util/json_text_boundary.h"
#include "util/json_value.h"

namespace velmo {

// What the documents that share one root share.
struct JsonEngine {
  JsonValue root = JsonValue::object();
};

namespace {

using Names = std::vector<std::u16string>;

std::optional<Names> names_of(std::string_view path) {
  return path_member_names(gbk_to_engine(path));
}

JsonLookup read_path(const JsonEngine* engine, std::string_view path) {
  if (!engine) return JsonLookup::error();
  const std::optional<Names> names = names_of(path);
  if (!names) return JsonLookup::error();
  return look_up(engine->root, *names);
}

// The JSON text of the value, or the empty text where there is none.
std::string json_text(const JsonLookup& lookup) {
  if (lookup.failed()) return {};
  const std::optional<std::u16string> json = stringify_json(lookup.value());
  return json ? engine_to_gbk(*json) : std::string();
}

// A caller's value given as the body of a single-quoted string literal.
std::optional<JsonValue> quoted_value(std::string_view body) {
  std::optional<std::u16string> text = read_quoted_text(gbk_to_engine(body), u'\'');
  if (!text) return std::nullopt;
  return JsonValue::string(std::move(*text));
}

// A failed evaluation or assignment leaves the root as it was.
void assign_at(JsonEngine* engine, std::string_view path, std::optional<JsonValue> value) {
  if (!engine || !value) return;
  const std::optional<Names> names = names_of(path);
  if (names) assign(engine->root, *names, std::move(*value));
}

bool is_kept_by_parse(JsonValue::Type type) {
  return type == JsonValue::Type::object || type == JsonValue::Type::array ||
         type == JsonValue::Type::null;
}

}  // namespace

JsonDocument::JsonDocument() { init_engine(); }
JsonDocument::JsonDocument(std::shared_ptr<JsonEngine> engine, std::string raw_text)
    : engine_(std::move(engine)), raw_text_(std::move(raw_text)) {}
JsonDocument::~JsonDocument() = default;
JsonDocument::JsonDocument(JsonDocument&&) noexcept = default;
JsonDocument& JsonDocument::operator=(JsonDocument&&) noexcept = default;

JsonDocument JsonDocument::copy() const { return JsonDocument(engine_, raw_text_); }

bool JsonDocument::init_engine() {
  engine_ = std::make_shared<JsonEngine>();
  return true;
}

bool JsonDocument::parse(std::string_view text) {
  init_engine();
  // A text that is not a literal leaves the empty object of the fresh root,
  // where the engine's code would have failed.
  if (std::optional<JsonValue> value = evaluate_eval_call(gbk_to_engine(text))) {
    engine_->root = std::move(*value);
  }
  if (is_kept_by_parse(engine_->root.type())) return true;
  raw_text_ = std::string(text.substr(0, text.find('\0')));
  return false;
}

std::string JsonDocument::get_json(std::string_view path) const {
  std::string json = json_text(read_path(engine_.get(), path));
  return json.empty() ? raw_text_ : json;
}

void JsonDocument::clear() {
  if (engine_) engine_->root = JsonValue::object();
}

void JsonDocument::set_value(std::string_view path, std::string_view value, bool as_json) {
  if (!as_json) {
    assign_at(engine_.get(), path, quoted_value(value));
    return;
  }
  std::u16string source = gbk_to_engine(value);
  if (source.empty()) source = u"{}";
  assign_at(engine_.get(), path, evaluate_eval_call(source));
}

void JsonDocument::set_expression(std::string_view path, std::string_view value) {
  assign_at(engine_.get(), path, evaluate_eval_call(gbk_to_engine(value)));
}

void JsonDocument::set_number(std::string_view path, double number) {
  // The number goes in as its decimal text, which writes -0 as 0.
  assign_at(engine_.get(), path, JsonValue::number(number == 0 ? 0.0 : number));
}

JsonDocument JsonDocument::get_object(std::string_view path) const {
  JsonDocument document;
  document.parse(json_text(read_path(engine_.get(), path)));
  return document;
}

double JsonDocument::get_number(std::string_view path) const {
  const JsonLookup lookup = read_path(engine_.get(), path);
  return lookup.failed() ? 0 : host_number(lookup.value());
}

bool JsonDocument::get_bool(std::string_view path) const {
  const JsonLookup lookup = read_path(engine_.get(), path);
  return !lookup.failed() && host_truth(lookup.value());
}

std::string JsonDocument::get_text(std::string_view path, bool as_json) const {
  const JsonLookup lookup = read_path(engine_.get(), path);
  if (as_json) return json_text(lookup);
  if (lookup.failed()) return {};
  std::string text = engine_to_gbk(host_text(lookup.value()));
  if (!text.empty()) return text;
  // The host reads a value that is not a string as a number instead.
  text = number_to_js_text(host_number(lookup.value()));
  return text == "0" ? std::string() : text;
}

int JsonDocument::member_count(std::string_view path) const {
  const JsonLookup lookup = read_path(engine_.get(), path);
  if (lookup.failed()) return 0;
  const std::optional<size_t> visited = for_in_count(lookup.value());
  // The loop also visits the two members that the prelude gives every object.
  return visited ? static_cast<int>(*visited) - 2 : 0;
}

void JsonDocument::append(std::string_view path, std::string_view value, bool raw) {
  if (!engine_) return;
  std::optional<Names> names = names_of(path);
  std::optional<JsonValue> pushed;
  bool push_nothing = false;
  if (raw) {
    std::optional<ArgumentLiteral> literal = read_argument_literal(gbk_to_engine(value));
    if (!literal) return;
    push_nothing = literal->empty;
    pushed = std::move(literal->value);
  } else {
    pushed = quoted_value(value);
  }
  if (!names || !pushed) return;
  const JsonLookup target = look_up(engine_->root, *names);
  if (target.failed()) return;
  if (target.value().type() != JsonValue::Type::array &&
      !assign(engine_->root, *names, JsonValue::array())) {
    return;
  }
  // The array may not have stuck (a member of a string is lost): then the
  // push fails, as push of undefined would.
  const JsonLookup array = look_up(engine_->root, *names);
  if (array.failed() || array.value().type() != JsonValue::Type::array || push_nothing) return;
  const std::string index = std::to_string(array.value().as_array().elements.size());
  names->emplace_back(index.begin(), index.end());
  assign(engine_->root, *names, std::move(*pushed));
}

// As Array.prototype.splice(index, 1) counts its start.
void JsonDocument::remove_at(int index) {
  if (!engine_ || engine_->root.type() != JsonValue::Type::array) return;
  std::vector<JsonValue>& elements = engine_->root.as_array().elements;
  const auto length = static_cast<long long>(elements.size());
  const long long start =
      index < 0 ? std::max(length + index, 0LL) : std::min<long long>(index, length);
  if (start < length) elements.erase(elements.begin() + start);
}

void JsonDocument::reset_root(JsonKind kind) {
  if (!engine_) return;
  if (kind == JsonKind::none || kind == JsonKind::object) engine_->root = JsonValue::object();
  if (kind == JsonKind::array) engine_->root = JsonValue::array();
}

void JsonDocument::member_names(std::vector<std::string>& names, std::string_view path) const {
  names.clear();
  const JsonLookup lookup = read_path(engine_.get(), path);
  if (lookup.failed()) return;
  const std::optional<Names> visited = for_in_names(lookup.value());
  if (!visited) return;
  for (const std::u16string& name : *visited) names.push_back(engine_to_gbk(name));
}

JsonKind JsonDocument::type_of(std::string_view path) const {
  const JsonLookup lookup = read_path(engine_.get(), path);
  if (lookup.failed()) return JsonKind::none;
  switch (lookup.value().type()) {
    case JsonValue::Type::undefined:
    case JsonValue::Type::null:
    case JsonValue::Type::hole:
      return JsonKind::none;
    case JsonValue::Type::number:
      return JsonKind::number;
    case JsonValue::Type::array:
      return JsonKind::array;
    case JsonValue::Type::string:
      return JsonKind::string;
    default:
      return JsonKind::object;
  }
}

std::string JsonDocument::path_to_accessor(std::string_view path) {
  std::u16string accessor;
  for (const std::u16string& segment : path_segments(gbk_to_engine(path))) {
    accessor += segment_accessor(segment);
  }
  return engine_to_gbk(accessor);
}

std::string JsonDocument::segment_to_accessor(std::string_view segment) {
  return engine_to_gbk(segment_accessor(gbk_to_engine(segment)));
}

bool JsonDocument::is_integer_text(std::string_view text) {
  return velmo::is_integer_text(gbk_to_engine(text));
}

}  // namespace velmo
