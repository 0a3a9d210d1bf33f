// Turns the parsed pattern into the program that regex_executor.cpp runs.
#include "util/regex_syntax.h"

namespace velmo::regex {
namespace {

// Counted repeats are unrolled; a pattern whose program would exceed this
// is refused like an invalid one.
constexpr size_t max_instructions = 200000;

bool can_match_empty(const Node& node) {
  switch (node.kind) {
    case Node::Kind::character:
    case Node::Kind::any:
    case Node::Kind::char_class:
      return false;
    case Node::Kind::sequence:
      for (const Node& child : node.children) {
        if (!can_match_empty(child)) return false;
      }
      return true;
    case Node::Kind::alternation:
      for (const Node& child : node.children) {
        if (can_match_empty(child)) return true;
      }
      return false;
    case Node::Kind::group:
      return can_match_empty(node.children.front());
    case Node::Kind::repeat:
      return node.min == 0 || can_match_empty(node.children.front());
    default:
      return true;  // assertions, lookaheads, backreferences, empty
  }
}

class Compiler {
 public:
  explicit Compiler(Program& program) : program_(program) {}

  bool finish() { return add({Op::match}); }

  bool emit(const Node& node) {
    if (program_.code.size() > max_instructions) return false;
    switch (node.kind) {
      case Node::Kind::empty:
        return true;
      case Node::Kind::character:
        return add({Op::character, node.character});
      case Node::Kind::any:
        return add({Op::any});
      case Node::Kind::char_class:
        return add({Op::char_class, 0, node.index});
      case Node::Kind::line_start:
        return add({Op::line_start});
      case Node::Kind::line_end:
        return add({Op::line_end});
      case Node::Kind::word_boundary:
        return add({Op::word_boundary});
      case Node::Kind::not_word_boundary:
        return add({Op::not_word_boundary});
      case Node::Kind::backreference:
        return add({Op::backreference, 0, node.index});
      case Node::Kind::sequence:
        return emit_sequence(node);
      case Node::Kind::alternation:
        return emit_alternation(node);
      case Node::Kind::group:
        return emit_group(node);
      case Node::Kind::lookahead:
        return emit_lookahead(node);
      case Node::Kind::repeat:
        return emit_repeat(node);
    }
    return false;
  }

 private:
  int here() const { return static_cast<int>(program_.code.size()); }
  bool add(Instruction instruction) {
    program_.code.push_back(instruction);
    return program_.code.size() <= max_instructions;
  }

  bool emit_sequence(const Node& node) {
    for (const Node& child : node.children) {
      if (!emit(child)) return false;
    }
    return true;
  }

  // split L1, L2; L1: first; jump end; L2: split ... the last alternative.
  bool emit_alternation(const Node& node) {
    std::vector<int> jumps;
    for (size_t i = 0; i < node.children.size(); ++i) {
      const bool last = i + 1 == node.children.size();
      const int split = here();
      if (!last && !add({Op::split})) return false;
      if (!last) program_.code[split].next = here();
      if (!emit(node.children[i])) return false;
      if (last) break;
      jumps.push_back(here());
      if (!add({Op::jump})) return false;
      program_.code[split].alternative = here();
    }
    for (const int jump : jumps) program_.code[jump].next = here();
    return true;
  }

  bool emit_group(const Node& node) {
    return add({Op::save, 0, 2 * node.index}) && emit(node.children.front()) &&
           add({Op::save, 0, 2 * node.index + 1});
  }

  bool emit_lookahead(const Node& node) {
    const int start = here();
    if (!add({Op::lookahead, 0, node.index}) || !emit(node.children.front()) || !add({Op::match})) {
      return false;
    }
    program_.code[start].next = here();
    return true;
  }

  bool emit_repeat(const Node& node) {
    const Node& body = node.children.front();
    for (int i = 0; i < node.min; ++i) {
      if (!emit(body)) return false;
    }
    if (node.max == unbounded) return emit_star(node);
    std::vector<int> exits;
    for (int i = node.min; i < node.max; ++i) {
      exits.push_back(here());
      if (!add({Op::split}) || !emit_checked_body(node)) return false;
    }
    for (const int split : exits) point_split(split, split + 1, here(), node.greedy);
    return true;
  }

  // L: split body, end; body; jump L. An iteration that matches nothing
  // fails, so that a loop over an empty match ends.
  bool emit_star(const Node& node) {
    const int loop = here();
    if (!add({Op::split}) || !emit_checked_body(node) || !add({Op::jump})) return false;
    program_.code.back().next = loop;
    point_split(loop, loop + 1, here(), node.greedy);
    return true;
  }

  bool emit_checked_body(const Node& node) {
    const Node& body = node.children.front();
    if (!can_match_empty(body)) return emit(body);
    const int reg = program_.register_count++;
    return add({Op::mark_position, 0, reg}) && emit(body) && add({Op::require_progress, 0, reg});
  }

  // Sets a split's two targets: a greedy one prefers the body, a lazy one the exit.
  void point_split(int split, int body, int exit, bool greedy) {
    Instruction& instruction = program_.code[split];
    instruction.next = greedy ? body : exit;
    instruction.alternative = greedy ? exit : body;
  }

  Program& program_;
};

}  // namespace

std::optional<Program> compile(std::u16string_view pattern) {
  std::optional<Syntax> syntax = parse(pattern);
  if (!syntax) return std::nullopt;
  Program program;
  program.classes = std::move(syntax->classes);
  program.group_count = syntax->group_count;
  Compiler compiler(program);
  if (!compiler.emit(syntax->root) || !compiler.finish()) return std::nullopt;
  return program;
}

}  // namespace velmo::regex
