// Backtracking matcher. The stack of choices to come back to lives on the
// heap and is bounded, and every step is counted against the budget, so a
// long subject costs memory and time in proportion, never call-stack depth.
#include <algorithm>
#include <cstdint>

#include "util/regex_case.h"
#include "util/regex_program.h"

namespace velmo::regex {
namespace {

constexpr std::size_t unset = SIZE_MAX;

bool is_word_character(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         c == u'_';
}

bool is_line_break(char16_t c) { return c == u'\n' || c == u'\r'; }

// Steps past one unit when it matched.
bool consume(bool matched, std::size_t& pos) {
  if (matched) ++pos;
  return matched;
}

bool in_ranges(const CharClass& set, char16_t c) {
  for (const CharRange& range : set.ranges) {
    if (c >= range.first && c <= range.last) return true;
  }
  return false;
}

struct Choice {
  enum class Kind : unsigned char { branch, restore_slot, restore_register };
  Kind kind;
  int target;         // instruction, slot or register
  std::size_t value;  // position, or the value to restore
};

enum class Outcome { match, no_match, exhausted };

class Executor {
 public:
  Executor(const Program& program, const Options& options, std::u16string_view subject,
           Budget& budget)
      : program_(program), options_(options), subject_(subject), budget_(budget) {}

  Outcome run(int pc, std::size_t pos, std::vector<std::size_t>& slots,
              std::vector<std::size_t>& registers, std::size_t& end) {
    std::vector<Choice> choices;
    const Outcome outcome = run_with(choices, pc, pos, slots, registers, end);
    live_choices_ -= choices.size();
    return outcome;
  }

 private:
  Outcome run_with(std::vector<Choice>& choices, int pc, std::size_t pos,
                   std::vector<std::size_t>& slots, std::vector<std::size_t>& registers,
                   std::size_t& end) {
    for (;;) {
      if (budget_.steps_left == 0 || live_choices_ > budget_.stack_limit) return Outcome::exhausted;
      --budget_.steps_left;
      const Instruction& instruction = program_.code[static_cast<std::size_t>(pc)];
      bool ok = true;
      switch (instruction.op) {
        case Op::match:
          end = pos;
          return Outcome::match;
        case Op::split:
          push(choices, {Choice::Kind::branch, instruction.alternative, pos});
          pc = instruction.next;
          continue;
        case Op::jump:
          pc = instruction.next;
          continue;
        case Op::save:
          push(choices, {Choice::Kind::restore_slot, instruction.index, slots[slot(instruction)]});
          slots[slot(instruction)] = pos;
          break;
        case Op::mark_position:
          push(choices,
               {Choice::Kind::restore_register, instruction.index, registers[slot(instruction)]});
          registers[slot(instruction)] = pos;
          break;
        case Op::require_progress:
          ok = registers[slot(instruction)] != pos;
          break;
        case Op::lookahead: {
          const Outcome outcome = look_ahead(choices, instruction, pc, pos, slots, registers);
          if (outcome == Outcome::exhausted) return outcome;
          if (outcome == Outcome::match) {
            pc = instruction.next;
            continue;
          }
          ok = false;
          break;
        }
        case Op::backreference:
          ok = match_backreference(instruction.index, slots, pos);
          break;
        default:
          ok = match_one(instruction, pos);
          break;
      }
      if (ok) {
        ++pc;
        continue;
      }
      if (!backtrack(choices, pc, pos, slots, registers)) return Outcome::no_match;
    }
  }

  static std::size_t slot(const Instruction& instruction) {
    return static_cast<std::size_t>(instruction.index);
  }

  void push(std::vector<Choice>& choices, Choice choice) {
    choices.push_back(choice);
    ++live_choices_;
  }

  // Undoes changes back to the latest branch and resumes there.
  bool backtrack(std::vector<Choice>& choices, int& pc, std::size_t& pos,
                 std::vector<std::size_t>& slots, std::vector<std::size_t>& registers) {
    while (!choices.empty()) {
      const Choice choice = choices.back();
      choices.pop_back();
      --live_choices_;
      const auto target = static_cast<std::size_t>(choice.target);
      switch (choice.kind) {
        case Choice::Kind::restore_slot:
          slots[target] = choice.value;
          break;
        case Choice::Kind::restore_register:
          registers[target] = choice.value;
          break;
        case Choice::Kind::branch:
          pc = choice.target;
          pos = choice.value;
          return true;
      }
    }
    return false;
  }

  // Runs the lookahead's sub-program at `pos`; its result is final (no
  // backtracking into it). A positive lookahead keeps the groups it set.
  Outcome look_ahead(std::vector<Choice>& choices, const Instruction& instruction, int pc,
                     std::size_t pos, std::vector<std::size_t>& slots,
                     std::vector<std::size_t>& registers) {
    std::vector<std::size_t> inner_slots = slots;
    std::vector<std::size_t> inner_registers = registers;
    std::size_t inner_end = 0;
    const Outcome inner = run(pc + 1, pos, inner_slots, inner_registers, inner_end);
    if (inner == Outcome::exhausted) return inner;
    const bool negative = instruction.index == 1;
    if (negative) return inner == Outcome::match ? Outcome::no_match : Outcome::match;
    if (inner != Outcome::match) return inner;
    for (std::size_t i = 0; i < slots.size(); ++i) {
      if (slots[i] == inner_slots[i]) continue;
      push(choices, {Choice::Kind::restore_slot, static_cast<int>(i), slots[i]});
      slots[i] = inner_slots[i];
    }
    return Outcome::match;
  }

  bool match_one(const Instruction& instruction, std::size_t& pos) const {
    const bool at_end = pos >= subject_.size();
    switch (instruction.op) {
      case Op::character:
        return consume(!at_end && same_character(subject_[pos], instruction.character), pos);
      case Op::any:
        return consume(!at_end && subject_[pos] != u'\n', pos);
      case Op::char_class:
        return consume(!at_end && in_class(program_.classes[slot(instruction)], subject_[pos]),
                       pos);
      case Op::line_start:
        return pos == 0 || (options_.multiline && is_line_break(subject_[pos - 1]));
      case Op::line_end:
        return at_end || (options_.multiline && is_line_break(subject_[pos]));
      case Op::word_boundary:
        return word_before(pos) != word_at(pos);
      case Op::not_word_boundary:
        return word_before(pos) == word_at(pos);
      default:
        return false;
    }
  }

  bool same_character(char16_t a, char16_t b) const {
    return a == b || (options_.ignore_case && lower_case(a) == lower_case(b));
  }

  bool in_class(const CharClass& set, char16_t c) const {
    bool found = in_ranges(set, c);
    if (!found && options_.ignore_case) {
      found = in_ranges(set, lower_case(c)) || in_ranges(set, upper_case(c));
    }
    return found != set.negated;
  }

  bool word_before(std::size_t pos) const {
    return pos > 0 && is_word_character(subject_[pos - 1]);
  }
  bool word_at(std::size_t pos) const {
    return pos < subject_.size() && is_word_character(subject_[pos]);
  }

  // A group that has not matched matches the empty text.
  bool match_backreference(int group, const std::vector<std::size_t>& slots,
                           std::size_t& pos) const {
    const std::size_t begin = slots[2 * static_cast<std::size_t>(group)];
    const std::size_t end = slots[2 * static_cast<std::size_t>(group) + 1];
    if (begin == unset || end == unset || end < begin) return true;
    const std::size_t length = end - begin;
    if (subject_.size() - pos < length) return false;
    for (std::size_t i = 0; i < length; ++i) {
      if (!same_character(subject_[pos + i], subject_[begin + i])) return false;
    }
    pos += length;
    return true;
  }

  const Program& program_;
  const Options& options_;
  std::u16string_view subject_;
  Budget& budget_;
  std::size_t live_choices_ = 0;
};

Captures captures_from(const std::vector<std::size_t>& slots, std::size_t start, std::size_t end) {
  Captures captures(slots.size() / 2);
  captures[0] = Span{start, end};
  for (std::size_t group = 1; group < captures.size(); ++group) {
    const std::size_t begin = slots[2 * group];
    const std::size_t finish = slots[2 * group + 1];
    if (begin != unset && finish != unset && begin <= finish) captures[group] = Span{begin, finish};
  }
  return captures;
}

// Where a match may start: a pattern that begins with a fixed character
// skips the places that cannot match.
std::size_t next_start(const Program& program, const Options& options, std::u16string_view subject,
                       std::size_t from) {
  const Instruction& first = program.code.front();
  if (first.op != Op::character || options.ignore_case) return from;
  const std::size_t found = subject.find(first.character, from);
  return found == std::u16string_view::npos ? subject.size() + 1 : found;
}

}  // namespace

Budget budget_for(std::size_t subject_length) {
  constexpr std::size_t base_steps = 4000000;
  constexpr std::size_t steps_per_unit = 200;
  const std::size_t most = SIZE_MAX / 2 / steps_per_unit;
  return {base_steps + std::min(subject_length, most) * steps_per_unit, 4000000};
}

SearchResult search(const Program& program, const Options& options, std::u16string_view subject,
                    std::size_t from, Budget& budget, Captures& captures) {
  Executor executor(program, options, subject, budget);
  const std::size_t slot_count = 2 * (static_cast<std::size_t>(program.group_count) + 1);
  std::vector<std::size_t> slots;
  std::vector<std::size_t> registers;
  for (std::size_t start = next_start(program, options, subject, from); start <= subject.size();
       start = next_start(program, options, subject, start + 1)) {
    slots.assign(slot_count, unset);
    registers.assign(static_cast<std::size_t>(program.register_count), unset);
    std::size_t end = 0;
    const Outcome outcome = executor.run(0, start, slots, registers, end);
    if (outcome == Outcome::exhausted) return SearchResult::budget_exhausted;
    if (outcome == Outcome::match) {
      captures = captures_from(slots, start, end);
      return SearchResult::found;
    }
    if (budget.steps_left == 0) return SearchResult::budget_exhausted;
    --budget.steps_left;
  }
  return SearchResult::not_found;
}

}  // namespace velmo::regex
