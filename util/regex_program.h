#pragma once
// The regular-expression engine behind RegexMatcher: the pattern language of
// the Windows "VBScript.RegExp" object (ECMAScript syntax: alternation,
// capturing and non-capturing groups, lookahead, greedy and lazy quantifiers,
// classes, escapes, backreferences) over UTF-16 text. Matching backtracks
// with an explicit stack on the heap and a step budget, so that no subject,
// however long, can overflow the call stack or run without end.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::regex {

struct Options {
  bool ignore_case = false;
  bool multiline = false;
};

struct CharRange {
  char16_t first;
  char16_t last;
};

struct CharClass {
  std::vector<CharRange> ranges;
  bool negated = false;
};

enum class Op {
  character,          // `character`
  any,                // any unit but a line feed
  char_class,         // classes[index]
  split,              // try `next`, then `alternative`
  jump,               // go to `next`
  save,               // capture slot `index` = position
  line_start,         // ^
  line_end,           // $
  word_boundary,      // \b
  not_word_boundary,  // \B
  lookahead,          // sub-program at this + 1; `index` 1 when negative; then `next`
  backreference,      // group `index`
  mark_position,      // register `index` = position
  require_progress,   // fail unless position moved past register `index`
  match,
};

struct Instruction {
  Op op;
  char16_t character = 0;
  int index = 0;
  int next = 0;
  int alternative = 0;
};

struct Program {
  std::vector<Instruction> code;
  std::vector<CharClass> classes;
  int group_count = 0;  // capturing groups, not counting the whole match
  int register_count = 0;
};

// Null when the pattern is not valid (or too large to compile).
std::optional<Program> compile(std::u16string_view pattern);

struct Span {
  std::size_t begin;
  std::size_t end;
};

// A match: slot 0 is the whole match, slot g group g (empty when the group
// took part in no match).
using Captures = std::vector<std::optional<Span>>;

enum class SearchResult { found, not_found, budget_exhausted };

// The work allowed for one RegexMatcher::execute, shared by all its searches.
struct Budget {
  std::size_t steps_left;
  std::size_t stack_limit;
};

Budget budget_for(std::size_t subject_length);

// The first match that starts at `from` or later.
SearchResult search(const Program& program, const Options& options, std::u16string_view subject,
                    std::size_t from, Budget& budget, Captures& captures);

}  // namespace velmo::regex
