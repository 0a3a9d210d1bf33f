#include "util/regex_replacement.h"

namespace velmo::regex {
namespace {

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The group that "$" at `pos` names, and the characters its name takes;
// 0 characters when it names none.
std::size_t group_reference(std::u16string_view replacement, std::size_t pos,
                            std::size_t group_count, std::size_t& group) {
  if (pos + 1 >= replacement.size() || !is_digit(replacement[pos + 1])) return 0;
  const std::size_t one = replacement[pos + 1] - u'0';
  if (pos + 2 < replacement.size() && is_digit(replacement[pos + 2])) {
    const std::size_t two = one * 10 + (replacement[pos + 2] - u'0');
    if (two >= 1 && two <= group_count) {
      group = two;
      return 2;
    }
  }
  if (one >= 1 && one <= group_count) {
    group = one;
    return 1;
  }
  return 0;
}

std::u16string_view span_text(std::u16string_view subject, const std::optional<Span>& span) {
  return span ? subject.substr(span->begin, span->end - span->begin) : std::u16string_view();
}

void expand(std::u16string& out, std::u16string_view subject, const Captures& captures,
            std::u16string_view replacement) {
  const Span whole = *captures[0];
  for (std::size_t pos = 0; pos < replacement.size(); ++pos) {
    const char16_t c = replacement[pos];
    const char16_t next = pos + 1 < replacement.size() ? replacement[pos + 1] : 0;
    std::size_t group = 0;
    if (c != u'$') {
      out.push_back(c);
    } else if (next == u'$') {
      out.push_back(u'$');
      ++pos;
    } else if (next == u'&') {
      out.append(span_text(subject, whole));
      ++pos;
    } else if (next == u'`') {
      out.append(subject.substr(0, whole.begin));
      ++pos;
    } else if (next == u'\'') {
      out.append(subject.substr(whole.end));
      ++pos;
    } else if (const std::size_t used =
                   group_reference(replacement, pos, captures.size() - 1, group)) {
      out.append(span_text(subject, captures[group]));
      pos += used;
    } else {
      out.push_back(u'$');
    }
  }
}

}  // namespace

std::u16string replace_matches(std::u16string_view subject, const std::vector<Captures>& matches,
                               std::u16string_view replacement) {
  std::u16string out;
  std::size_t copied = 0;
  for (const Captures& captures : matches) {
    const Span whole = *captures[0];
    out.append(subject.substr(copied, whole.begin - copied));
    expand(out, subject, captures, replacement);
    copied = whole.end;
  }
  out.append(subject.substr(copied));
  return out;
}

}  // namespace velmo::regex
