// Pattern parser. Leniencies follow the Windows object: an unknown escape
// stands for the escaped character, "{" that starts no quantifier and a lone
// "]" or "}" are literal, \1 is a backreference only when there are that many
// groups (else an octal escape or the digit itself).
#include <limits>

#include "util/regex_syntax.h"

namespace velmo::regex {
namespace {

constexpr int count_limit = 1000000;  // larger repeat counts saturate here

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_octal(char16_t c) { return c >= u'0' && c <= u'7'; }

int hex_value(char16_t c) {
  if (is_digit(c)) return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Capturing groups in the whole pattern, needed before the first \N is read.
int count_groups(std::u16string_view pattern) {
  int groups = 0;
  bool in_class = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'\\') {
      ++i;
    } else if (in_class) {
      in_class = c != u']';
    } else if (c == u'[') {
      in_class = true;
    } else if (c == u'(' && (i + 1 >= pattern.size() || pattern[i + 1] != u'?')) {
      ++groups;
    }
  }
  return groups;
}

void add_complement(std::vector<CharRange>& ranges, const std::vector<CharRange>& sorted) {
  char32_t next = 0;
  for (const CharRange& range : sorted) {
    if (range.first > next) ranges.push_back({char16_t(next), char16_t(range.first - 1)});
    next = char32_t(range.last) + 1;
  }
  if (next <= 0xFFFF) ranges.push_back({char16_t(next), 0xFFFF});
}

// \d, \w, \s and their negations, as ranges.
bool add_class_escape(std::vector<CharRange>& ranges, char16_t letter) {
  static const std::vector<CharRange> digits = {{u'0', u'9'}};
  static const std::vector<CharRange> word = {
      {u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
  static const std::vector<CharRange> space = {{u'\t', u'\r'}, {u' ', u' '}};
  const std::vector<CharRange>* set = nullptr;
  switch (letter | 0x20) {
    case u'd':
      set = &digits;
      break;
    case u'w':
      set = &word;
      break;
    case u's':
      set = &space;
      break;
    default:
      return false;
  }
  if (letter >= u'a') {
    ranges.insert(ranges.end(), set->begin(), set->end());
  } else {
    add_complement(ranges, *set);
  }
  return true;
}

char16_t control_escape(char16_t c) {
  switch (c) {
    case u'f':
      return 0x0C;
    case u'n':
      return 0x0A;
    case u'r':
      return 0x0D;
    case u't':
      return 0x09;
    case u'v':
      return 0x0B;
    default:
      return 0;
  }
}

Node leaf(Node::Kind kind, char16_t character = 0, int index = 0) {
  Node node;
  node.kind = kind;
  node.character = character;
  node.index = index;
  return node;
}

class Parser {
 public:
  explicit Parser(std::u16string_view pattern)
      : pattern_(pattern), total_groups_(count_groups(pattern)) {}

  std::optional<Syntax> run() {
    Syntax syntax;
    if (!parse_disjunction(syntax.root, 0) || pos_ != pattern_.size()) return std::nullopt;
    syntax.classes = std::move(classes_);
    syntax.group_count = groups_seen_;
    return syntax;
  }

 private:
  bool at_end() const { return pos_ >= pattern_.size(); }
  char16_t peek(size_t ahead = 0) const {
    return pos_ + ahead < pattern_.size() ? pattern_[pos_ + ahead] : 0;
  }

  bool parse_disjunction(Node& out, int depth) {
    if (depth > max_nesting) return false;
    Node first;
    if (!parse_alternative(first, depth)) return false;
    if (peek() != u'|' || at_end()) {
      out = std::move(first);
      return true;
    }
    out = leaf(Node::Kind::alternation);
    out.children.push_back(std::move(first));
    while (!at_end() && peek() == u'|') {
      ++pos_;
      Node next;
      if (!parse_alternative(next, depth)) return false;
      out.children.push_back(std::move(next));
    }
    return true;
  }

  bool parse_alternative(Node& out, int depth) {
    out = leaf(Node::Kind::sequence);
    while (!at_end() && peek() != u'|' && peek() != u')') {
      if (!parse_term(out, depth)) return false;
    }
    return true;
  }

  bool parse_term(Node& sequence, int depth) {
    Node atom;
    bool quantifiable = true;
    if (!parse_atom(atom, depth, quantifiable)) return false;
    int min = 0;
    int max = 0;
    const size_t before = pos_;
    if (read_quantifier(min, max)) {
      if (!quantifiable || (max != unbounded && min > max)) return false;
      Node repeat = leaf(Node::Kind::repeat);
      repeat.min = min;
      repeat.max = max;
      if (peek() == u'?' && !at_end()) {
        repeat.greedy = false;
        ++pos_;
      }
      repeat.children.push_back(std::move(atom));
      atom = std::move(repeat);
    } else {
      pos_ = before;
    }
    sequence.children.push_back(std::move(atom));
    return true;
  }

  // A quantifier at the current position; the position is left after it.
  bool read_quantifier(int& min, int& max) {
    if (at_end()) return false;
    switch (peek()) {
      case u'*':
        ++pos_;
        min = 0;
        max = unbounded;
        return true;
      case u'+':
        ++pos_;
        min = 1;
        max = unbounded;
        return true;
      case u'?':
        ++pos_;
        min = 0;
        max = 1;
        return true;
      case u'{':
        return read_braces(min, max);
      default:
        return false;
    }
  }

  bool read_braces(int& min, int& max) {
    size_t at = pos_ + 1;
    if (!read_number(at, min)) return false;
    max = min;
    if (at < pattern_.size() && pattern_[at] == u',') {
      ++at;
      max = unbounded;
      if (at < pattern_.size() && is_digit(pattern_[at]) && !read_number(at, max)) return false;
    }
    if (at >= pattern_.size() || pattern_[at] != u'}') return false;
    pos_ = at + 1;
    return true;
  }

  bool read_number(size_t& at, int& value) const {
    if (at >= pattern_.size() || !is_digit(pattern_[at])) return false;
    long number = 0;
    for (; at < pattern_.size() && is_digit(pattern_[at]); ++at) {
      number = std::min<long>(number * 10 + (pattern_[at] - u'0'), count_limit);
    }
    value = static_cast<int>(number);
    return true;
  }

  bool parse_atom(Node& out, int depth, bool& quantifiable) {
    const char16_t c = peek();
    switch (c) {
      case u'^':
        ++pos_;
        out = leaf(Node::Kind::line_start);
        quantifiable = false;
        return true;
      case u'$':
        ++pos_;
        out = leaf(Node::Kind::line_end);
        quantifiable = false;
        return true;
      case u'.':
        ++pos_;
        out = leaf(Node::Kind::any);
        return true;
      case u'(':
        return parse_group(out, depth);
      case u'[':
        return parse_class(out);
      case u'\\':
        return parse_escape(out, quantifiable);
      case u'*':
      case u'+':
      case u'?':
        return false;  // nothing to repeat
      case u'{': {
        int min = 0;
        int max = 0;
        const size_t before = pos_;
        if (read_quantifier(min, max)) return false;
        pos_ = before + 1;
        out = leaf(Node::Kind::character, c);
        return true;
      }
      default:
        ++pos_;
        out = leaf(Node::Kind::character, c);
        return true;
    }
  }

  bool parse_group(Node& out, int depth) {
    ++pos_;
    Node* body = &out;
    if (peek() == u'?') {
      const char16_t kind = peek(1);
      if (kind != u':' && kind != u'=' && kind != u'!') return false;
      pos_ += 2;
      if (kind != u':') {
        out = leaf(Node::Kind::lookahead, 0, kind == u'!' ? 1 : 0);
        out.children.emplace_back();
        body = &out.children.back();
      }
    } else {
      out = leaf(Node::Kind::group, 0, ++groups_seen_);
      out.children.emplace_back();
      body = &out.children.back();
    }
    if (!parse_disjunction(*body, depth + 1) || at_end() || peek() != u')') return false;
    ++pos_;
    return true;
  }

  bool parse_escape(Node& out, bool& quantifiable) {
    if (pos_ + 1 >= pattern_.size()) return false;  // a pattern may not end in "\"
    const char16_t c = pattern_[pos_ + 1];
    pos_ += 2;
    if (c == u'b' || c == u'B') {
      out = leaf(c == u'b' ? Node::Kind::word_boundary : Node::Kind::not_word_boundary);
      quantifiable = false;
      return true;
    }
    CharClass set;
    if (add_class_escape(set.ranges, c)) {
      out = leaf(Node::Kind::char_class, 0, add_class(std::move(set)));
      return true;
    }
    if (is_digit(c) && c != u'0') {
      const size_t digits_at = pos_ - 1;
      size_t at = digits_at;
      int number = 0;
      read_number(at, number);
      if (number <= total_groups_) {
        pos_ = at;
        out = leaf(Node::Kind::backreference, 0, number);
        return true;
      }
    }
    out = leaf(Node::Kind::character, read_character_escape(c));
    return true;
  }

  // The character that the escape "\c..." stands for; pos_ is just after c.
  char16_t read_character_escape(char16_t c) {
    if (const char16_t control = control_escape(c)) return control;
    if (c == u'x' || c == u'u') return read_hex_escape(c, c == u'x' ? 2 : 4);
    if (c == u'c') {
      const char16_t letter = peek();
      if (!at_end() && ((letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z'))) {
        ++pos_;
        return letter % 32;
      }
      --pos_;  // "\c" without a letter is a backslash; the "c" is read next
      return u'\\';
    }
    if (is_octal(c)) return read_octal_escape(c);
    return c;
  }

  char16_t read_hex_escape(char16_t letter, size_t digits) {
    if (pos_ + digits > pattern_.size()) return letter;
    int value = 0;
    for (size_t i = 0; i < digits; ++i) {
      const int digit = hex_value(pattern_[pos_ + i]);
      if (digit < 0) return letter;
      value = value * 16 + digit;
    }
    pos_ += digits;
    return static_cast<char16_t>(value);
  }

  char16_t read_octal_escape(char16_t first) {
    int value = first - u'0';
    const int most = first <= u'3' ? 2 : 1;
    for (int i = 0; i < most && !at_end() && is_octal(peek()); ++i)
      value = value * 8 + (pattern_[pos_++] - u'0');
    return static_cast<char16_t>(value);
  }

  bool parse_class(Node& out) {
    ++pos_;
    CharClass set;
    if (peek() == u'^' && !at_end()) {
      set.negated = true;
      ++pos_;
    }
    while (!at_end() && peek() != u']') {
      if (!parse_class_range(set.ranges)) return false;
    }
    if (at_end()) return false;
    ++pos_;
    out = leaf(Node::Kind::char_class, 0, add_class(std::move(set)));
    return true;
  }

  // One member of a class: a character, a range or a class escape.
  bool parse_class_range(std::vector<CharRange>& ranges) {
    std::optional<char16_t> first;
    if (!parse_class_atom(ranges, first)) return false;
    if (!first || peek() != u'-' || peek(1) == u']' || pos_ + 1 >= pattern_.size()) {
      if (first) ranges.push_back({*first, *first});
      return true;
    }
    ++pos_;  // the "-"
    std::optional<char16_t> last;
    std::vector<CharRange> escaped;
    if (!parse_class_atom(escaped, last)) return false;
    if (!last) {  // "a-\d": the "-" is literal
      ranges.push_back({*first, *first});
      ranges.push_back({u'-', u'-'});
      ranges.insert(ranges.end(), escaped.begin(), escaped.end());
      return true;
    }
    if (*first > *last) return false;
    ranges.push_back({*first, *last});
    return true;
  }

  // A class member: sets `character`, or adds a class escape's ranges.
  bool parse_class_atom(std::vector<CharRange>& ranges, std::optional<char16_t>& character) {
    const char16_t c = peek();
    ++pos_;
    if (c != u'\\') {
      character = c;
      return true;
    }
    if (at_end()) return false;
    const char16_t escaped = pattern_[pos_++];
    if (add_class_escape(ranges, escaped)) return true;
    character = escaped == u'b' ? char16_t{0x08} : read_character_escape(escaped);
    return true;
  }

  int add_class(CharClass set) {
    classes_.push_back(std::move(set));
    return static_cast<int>(classes_.size() - 1);
  }

  std::u16string_view pattern_;
  size_t pos_ = 0;
  int total_groups_ = 0;
  int groups_seen_ = 0;
  std::vector<CharClass> classes_;
};

}  // namespace

std::optional<Syntax> parse(std::u16string_view pattern) { return Parser(pattern).run(); }

}  // namespace velmo::regex
