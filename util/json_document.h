#pragma once
// One JSON value, the root, read and written by path (list[0].url). The
// document gives the results that a JScript engine holding the root in a
// global variable would give for its code templates, but it runs no script:
// the texts it is given are read as literals, and a text that is anything
// else behaves as a script error (see util/json_literal_reader.h).
//
// Texts are GBK; they cross into the document as UTF-16 (code page 936) and
// come back converted, ending at their first NUL. Numbers are doubles and
// are written as JScript writes them.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// The kind codes that type_of returns and reset_root takes.
enum class JsonKind : int {
  none = 0,  // missing or null
  number = 2,
  object = 4,  // also every kind not listed (a truth value, for one)
  array = 5,
  string = 6,
};

struct JsonEngine;

class JsonDocument {
 public:
  // The root is an empty object.
  JsonDocument();
  ~JsonDocument();
  JsonDocument(JsonDocument&&) noexcept;
  JsonDocument& operator=(JsonDocument&&) noexcept;
  JsonDocument(const JsonDocument&) = delete;
  JsonDocument& operator=(const JsonDocument&) = delete;

  // A second document on the same root: changes through either show in both.
  JsonDocument copy() const;

  // A fresh root, an empty object. Always succeeds.
  bool init_engine();

  // The text read as eval reads a literal. An object, an array or null: true,
  // and it becomes the root. A number, a truth value or the empty text:
  // false, the root holds that value and raw_text the text. A string is
  // read again as a program, and its content decides. A text that is not a
  // literal: true, and the root is an empty object.
  bool parse(std::string_view text);

  // JSON text of the value at the path; raw_text when there is none.
  std::string get_json(std::string_view path = {}) const;
  // The root becomes an empty object.
  void clear();
  // as_json false: the value is the body of a single-quoted string literal
  // (backslash escapes apply; a quote in it makes the call do nothing).
  // as_json true: the value is read as by parse ("{}" for an empty value).
  void set_value(std::string_view path, std::string_view value, bool as_json = false);
  // A new document made by parsing the JSON text of the value at the path.
  JsonDocument get_object(std::string_view path = {}) const;
  // The value read as by parse; an empty value sets undefined.
  void set_expression(std::string_view path, std::string_view value);
  void set_number(std::string_view path, double number);
  double get_number(std::string_view path = {}) const;
  bool get_bool(std::string_view path = {}) const;
  // A string as it is; a number as its decimal text, except 0, which gives
  // the empty text; true gives "-1"; anything else the empty text. as_json
  // true: the JSON text, without the raw_text fallback of get_json.
  std::string get_text(std::string_view path = {}, bool as_json = false) const;
  // Members that a for-in loop visits, less the two that every object has;
  // 0 for a missing or null value.
  int member_count(std::string_view path = {}) const;
  // The value at the path becomes an empty array unless it is one; then the
  // value is pushed: as a string literal's body (raw false) or read as a
  // literal (raw true; an empty value pushes nothing).
  void append(std::string_view path, std::string_view value, bool raw = false);
  // Removes the root array's element at the index (from the end when negative).
  void remove_at(int index);
  // none or object: an empty object; array: an empty array; others: nothing.
  void reset_root(JsonKind kind);
  // The names that a for-in loop visits, "toJSONString" and "parseJSON" included.
  void member_names(std::vector<std::string>& names, std::string_view path = {}) const;
  JsonKind type_of(std::string_view path = {}) const;

  // ['list'][0]['url'] for list[0].url; the empty text for a blank path.
  static std::string path_to_accessor(std::string_view path);
  static std::string segment_to_accessor(std::string_view segment);
  static bool is_integer_text(std::string_view text);

  // The last text that parse could not turn into an object.
  const std::string& raw_text() const { return raw_text_; }

 private:
  explicit JsonDocument(std::shared_ptr<JsonEngine> engine, std::string raw_text);

  std::shared_ptr<JsonEngine> engine_;
  std::string raw_text_;
};

}  // namespace velmo
