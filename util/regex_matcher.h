#pragma once
// RegexMatcher: one regular expression over one subject text, keeping the
// matches for the caller to count and read, or to rewrite the subject with.
// The pattern language is that of the Windows "VBScript.RegExp" object
// (util/regex_program.h). Texts are GBK; the expression runs over their
// UTF-16 form, so a double-byte character is one character to the pattern.
// Match and group indexes count from 1.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace velmo {

class RegexMatcher {
 public:
  RegexMatcher();
  ~RegexMatcher();
  // A copy shares the expression and the matches and copies the subject.
  RegexMatcher(const RegexMatcher& other);
  RegexMatcher& operator=(const RegexMatcher& other);

  // Runs `pattern` over `subject`, replacing what an earlier call kept.
  // With quote_placeholder, every "#引号" in the pattern stands for a double
  // quote. False when the pattern is not valid, or when the subject would
  // take more work than an execute is allowed (util/regex_program.h's
  // budget); true otherwise, even when nothing matched.
  bool execute(std::string_view pattern, std::string_view subject, bool case_sensitive = false,
               bool multiline = true, bool global = true, bool quote_placeholder = false);

  // The pattern of the last execute (after the placeholder was replaced);
  // empty before the first.
  std::string get_pattern() const;

  // The subject with every match (the first without `global`) replaced by
  // `replacement`, in which $$, $&, $`, $' and $1 to $99 are understood.
  // Empty when the last execute failed.
  std::string replace(std::string_view replacement) const;

  int match_count() const;

  // The text of match n, or empty. `position` receives the match's byte
  // position counted from 0, found by searching the subject for the text
  // from one byte before its character position; -2 when not found.
  std::string get_match(int n, std::int64_t* position = nullptr) const;

  // Group g of match n; empty when either does not exist or the group took
  // part in no match. `position` as for get_match, searching from the match.
  std::string get_submatch(int n, int g, std::int64_t* position = nullptr) const;

  // The groups of the first match; 0 when nothing matched.
  int submatch_count() const;

 private:
  struct Expression;
  struct MatchList;

  std::shared_ptr<const Expression> regexp_;
  std::shared_ptr<const MatchList> matches_;
  std::string subject_;
};

}  // namespace velmo
