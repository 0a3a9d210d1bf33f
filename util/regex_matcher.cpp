#include "util/regex_matcher.h"

#include <optional>

#include "util/code_page.h"
#include "util/gbk_text.h"
#include "util/regex_program.h"
#include "util/regex_replacement.h"

namespace velmo {
namespace {

constexpr std::string_view quote_placeholder_text = "#\xD2\xFD\xBA\xC5";  // "#引号" in GBK

std::string to_gbk(std::u16string_view wide) { return wide_to_bytes(wide, code_page_gbk); }

}  // namespace

struct RegexMatcher::Expression {
  std::string pattern;
  regex::Options options;
  bool global = true;
  std::optional<regex::Program> program;
};

struct RegexMatcher::MatchList {
  std::u16string subject;
  std::vector<regex::Captures> matches;
};

namespace {

// Every match, as a global search finds them: after an empty match the
// next search starts one character further. Null when the budget ran out.
template <typename MatchList, typename Expression>
std::shared_ptr<MatchList> find_all(const Expression& expression, std::u16string subject) {
  auto list = std::make_shared<MatchList>();
  list->subject = std::move(subject);
  const std::u16string_view text = list->subject;
  regex::Budget budget = regex::budget_for(text.size());
  for (std::size_t from = 0; from <= text.size();) {
    regex::Captures captures;
    const regex::SearchResult result =
        regex::search(*expression.program, expression.options, text, from, budget, captures);
    if (result == regex::SearchResult::budget_exhausted) return nullptr;
    if (result == regex::SearchResult::not_found) break;
    const regex::Span whole = *captures[0];
    list->matches.push_back(std::move(captures));
    if (!expression.global) break;
    from = whole.end == whole.begin ? whole.end + 1 : whole.end;
  }
  return list;
}

std::int64_t byte_position(std::string_view subject, std::string_view text,
                           std::size_t first_index) {
  const std::size_t start = first_index > 0 ? first_index - 1 : 0;
  const std::size_t found = start <= subject.size() ? subject.find(text, start) : std::string::npos;
  return found == std::string::npos ? -2 : static_cast<std::int64_t>(found);
}

}  // namespace

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher& other) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher& other) = default;

bool RegexMatcher::execute(std::string_view pattern, std::string_view subject, bool case_sensitive,
                           bool multiline, bool global, bool quote_placeholder) {
  regexp_.reset();
  matches_.reset();
  pattern = text_before_nul(pattern);
  const std::string used = quote_placeholder
                               ? replace_all_characters(pattern, quote_placeholder_text, "\"")
                               : std::string(pattern);
  auto expression = std::make_shared<Expression>();
  const std::u16string wide_pattern = bytes_to_wide(used, code_page_gbk);
  expression->pattern = to_gbk(wide_pattern);
  expression->options = {!case_sensitive, multiline};
  expression->global = global;
  expression->program = regex::compile(wide_pattern);
  regexp_ = expression;
  subject_ = std::string(text_before_nul(subject));
  if (!expression->program) return false;
  matches_ = find_all<MatchList>(*expression, bytes_to_wide(subject_, code_page_gbk));
  return matches_ != nullptr;
}

std::string RegexMatcher::get_pattern() const { return regexp_ ? regexp_->pattern : std::string(); }

std::string RegexMatcher::replace(std::string_view replacement) const {
  if (!matches_) return {};
  const std::u16string wide = bytes_to_wide(text_before_nul(replacement), code_page_gbk);
  return to_gbk(regex::replace_matches(matches_->subject, matches_->matches, wide));
}

int RegexMatcher::match_count() const {
  return matches_ ? static_cast<int>(matches_->matches.size()) : 0;
}

std::string RegexMatcher::get_match(int n, std::int64_t* position) const {
  return get_submatch(n, 0, position);
}

std::string RegexMatcher::get_submatch(int n, int g, std::int64_t* position) const {
  if (position) *position = -2;
  if (!matches_ || n < 1 || n > match_count() || g < 0) return {};
  const regex::Captures& captures = matches_->matches[static_cast<std::size_t>(n - 1)];
  if (static_cast<std::size_t>(g) >= captures.size()) return {};
  const std::optional<regex::Span>& span = captures[static_cast<std::size_t>(g)];
  const std::u16string_view subject = matches_->subject;
  const std::string text =
      span ? to_gbk(subject.substr(span->begin, span->end - span->begin)) : std::string();
  if (position) *position = byte_position(subject_, text, captures[0]->begin);
  return text;
}

int RegexMatcher::submatch_count() const {
  if (!matches_ || matches_->matches.empty()) return 0;
  return static_cast<int>(matches_->matches.front().size()) - 1;
}

}  // namespace velmo
