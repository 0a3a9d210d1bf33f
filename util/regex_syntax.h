#pragma once
// The parsed form of a pattern, between regex_parser.cpp and
// regex_compiler.cpp.
#include <optional>
#include <string_view>
#include <vector>

#include "util/regex_program.h"

namespace velmo::regex {

// Patterns nested deeper than this are refused; it bounds every recursion
// over the parsed form.
inline constexpr int max_nesting = 200;
inline constexpr int unbounded = -1;

struct Node {
  enum class Kind {
    empty,
    character,
    any,
    char_class,
    sequence,
    alternation,
    group,  // capturing group `index`; non-capturing groups need no node
    repeat,
    line_start,
    line_end,
    word_boundary,
    not_word_boundary,
    lookahead,  // `index` 1 when negative
    backreference,
  };
  Kind kind = Kind::empty;
  char16_t character = 0;
  int index = 0;
  int min = 0;
  int max = 0;  // `unbounded` for no upper limit
  bool greedy = true;
  std::vector<Node> children;
};

struct Syntax {
  Node root;
  std::vector<CharClass> classes;
  int group_count = 0;
};

std::optional<Syntax> parse(std::u16string_view pattern);

}  // namespace velmo::regex
