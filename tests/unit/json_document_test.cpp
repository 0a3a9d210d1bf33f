// The readers and writers of JsonDocument, with the reads that the release
// notes, the reply evaluation and the update list make.
#include "util/json_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace velmo {
namespace {

JsonDocument parsed(const std::string& text) {
  JsonDocument document;
  document.parse(text);
  return document;
}

// The state text as the reply evaluation and the release notes read it.
std::string state_text(const std::string& reply) {
  return parsed(reply).get_object("state").get_json();
}

TEST(JsonDocument, ReadsStateThroughGetObject) {
  struct Case {
    std::string reply;
    std::string state;
  };
  const Case cases[] = {
      {R"({"state":0,"msg":"abc"})", "0"},
      {R"({"state":"0"})", "0"},
      {R"({"state":" 0 "})", "0"},
      {R"({"state":1})", "1"},
      {R"({"msg":"abc"})", ""},
      {R"({"state":"ok"})", "{}"},
      {R"({"state":"\u6587"})", "{}"},
      {R"({"state":null})", "null"},
      {R"({"state":true})", "true"},
      {R"({"state":[0]})", "[0]"},
      {R"({"state":{"code":0}})", R"({"code":0})"},
      {R"({"state":"1+1"})", "{}"},  // an expression is not evaluated
      {R"js({"state":"alert(0)"})js", "{}"},
      {"plain words", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(state_text(c.reply), c.state) << "reply: " << c.reply;
}

TEST(JsonDocument, GetObjectSharesNothing) {
  JsonDocument document = parsed(R"({"state":{"a":1}})");
  JsonDocument state = document.get_object("state");
  state.set_number("a", 2);
  EXPECT_EQ(document.get_json("state"), R"({"a":1})");
  EXPECT_EQ(state.get_json(), R"({"a":2})");
}

TEST(JsonDocument, GetTextGivesStringsNumbersAndEmptyForTheRest) {
  struct Case {
    std::string reply;
    std::string path;
    std::string text;
  };
  const Case cases[] = {
      {R"({"msg":"abc"})", "msg", "abc"},
      {R"({"msg":""})", "msg", ""},
      {R"({"msg":"0"})", "msg", "0"},
      {R"({"msg":12345})", "msg", "12345"},
      {R"({"msg":0})", "msg", ""},
      {R"({"msg":-0.0})", "msg", ""},
      {R"({"msg":1.5})", "msg", "1.5"},
      {R"({"msg":-2e-7})", "msg", "-2e-7"},
      {R"({"msg":12345678901234567890})", "msg", "12345678901234567000"},
      {R"({"msg":1e21})", "msg", "1e+21"},
      {R"({"msg":true})", "msg", "-1"},
      {R"({"msg":false})", "msg", ""},
      {R"({"msg":null})", "msg", ""},
      {R"({"msg":{"a":1}})", "msg", ""},
      {R"({"msg":["a"]})", "msg", ""},
      {R"({})", "msg", ""},
      {R"({"list":[]})", "list[5].url", ""},
      {R"({"list":[1,2,3]})", "list.length", "3"},
      {R"({"msg":"abc"})", "msg.length", "3"},
      {R"({"msg":"abc"})", "msg[0]", ""},  // JScript strings have no index members
      {R"({"msg":"abc"})", "msg.x.y", ""},
      {R"({"a b":{" c":"d"}})", "a b. c", "d"},
      {R"({"a.b":"e"})", "['a.b']", "e"},
      {R"({"a\nb":"f"})", R"(['a\nb'])", "f"},
      {R"({"007":"g","7":"h"})", "007", "g"},
      {R"({"007":"g","7":"h"})", "[ 7 ]", "h"},
      {R"({"-1":"i"})", "-1", "i"},
      {R"({"x":"j"})", R"(['x\'])", ""},  // not a valid accessor
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parsed(c.reply).get_text(c.path), c.text)
        << "reply: " << c.reply << " path: " << c.path;
  }
}

TEST(JsonDocument, GetTextAsJson) {
  const JsonDocument document = parsed(R"({"msg":"a\"b","n":[1,{"x":null}]})");
  EXPECT_EQ(document.get_text("msg", true), R"("a\"b")");
  EXPECT_EQ(document.get_text("n", true), R"([1,{"x":null}])");
  EXPECT_EQ(document.get_text("missing", true), "");
}

TEST(JsonDocument, MissingMembersReadAsEmpty) {
  const JsonDocument document = parsed(R"({"state":0,"msg":"abc"})");
  EXPECT_EQ(document.get_text("msg"), "abc");
  EXPECT_EQ(document.get_text("state"), "");  // the number 0 reads as the empty text
  EXPECT_EQ(document.get_text("state", true), "0");
  EXPECT_EQ(document.get_text("nothing"), "");
  EXPECT_EQ(document.get_json("nothing"), "");
  EXPECT_EQ(document.get_json("nothing.deeper"), "");
  EXPECT_EQ(document.get_number("nothing.deeper"), 0);
  EXPECT_FALSE(document.get_bool("nothing"));
}

TEST(JsonDocument, BlankAndLeftOutPathsAddressTheRoot) {
  const JsonDocument document = parsed(R"({"a":1})");
  for (const char* path : {"", "   ", "\xA1\xA1", ".", "..["}) {
    EXPECT_EQ(document.get_json(path), R"({"a":1})") << "path: " << path;
  }
  EXPECT_EQ(document.get_json(), R"({"a":1})");
  EXPECT_EQ(document.member_count("   "), 1);
}

TEST(JsonDocument, FillsTheUpdateListByIndex) {
  const JsonDocument document = parsed(
      R"({"state":1,"list":[)"
      R"({"pathName":"a/b.dll","url":"http://h/a","md5":"0123456789abcdef0123456789abcdef"},)"
      R"({"pathName":"\u4e2d.txt","url":12345,"md5":"d"},)"
      R"({"pathName":"c","url":0}]})");
  struct Row {
    std::string path;
    std::string url;
    std::string digest;
  };
  const std::vector<Row> expected = {
      {"a/b.dll", "http://h/a", "0123456789abcdef0123456789abcdef"},
      {"中.txt", "12345", "d"},
      {"c", "", ""},
  };
  ASSERT_EQ(document.member_count("list"), 3);
  for (int i = 0; i < 3; ++i) {
    const std::string k = "list[" + std::to_string(i) + "].";
    EXPECT_EQ(document.get_text(k + "pathName"), expected[i].path) << k;
    EXPECT_EQ(document.get_text(k + "url"), expected[i].url) << k;
    EXPECT_EQ(document.get_text(k + "md5"), expected[i].digest) << k;
  }
}

TEST(JsonDocument, CountsMembersAsTheForInLoopDoes) {
  struct Case {
    std::string reply;
    std::string path;
    int count;
  };
  const Case cases[] = {
      {R"({"list":[{},{},{}]})", "list", 3},
      {R"({"list":[]})", "list", 0},
      {R"({})", "", 0},
      {R"({"a":1,"b":2})", "", 2},
      {R"({"list":[1,,2]})", "list", 2},  // holes are not visited
      {R"({"toJSONString":1,"a":2})", "", 1},
      {R"({"list":"abc"})", "list", 0},
      {R"({"list":5})", "list", 0},
      {R"({"list":null})", "list", 0},
      {R"({})", "list", 0},
      {R"({})", "list.x.y", 0},
      {"[1,2]", "", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parsed(c.reply).member_count(c.path), c.count)
        << "reply: " << c.reply << " path: " << c.path;
  }
}

TEST(JsonDocument, NamesTheMembersTheLoopVisits) {
  struct Case {
    std::string reply;
    std::string path;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {R"({"a":1,"b":2})", "", {"a", "b", "toJSONString", "parseJSON"}},
      {R"({"b":1,"2":2,"a":3})", "", {"b", "2", "a", "toJSONString", "parseJSON"}},
      {R"({"x":[5,,6]})", "x", {"0", "2", "toJSONString", "parseJSON"}},
      {R"({"parseJSON":0})", "", {"parseJSON", "toJSONString"}},
      {R"({"a,b":1,"":2})", "", {"a,b", "", "toJSONString", "parseJSON"}},
      {R"({"\u4e2d":1})", "", {"中", "toJSONString", "parseJSON"}},
      {R"({"s":"text"})", "s", {"toJSONString", "parseJSON"}},
      {R"({})", "missing", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> names = {"left over"};
    parsed(c.reply).member_names(names, c.path);
    EXPECT_EQ(names, c.names) << "reply: " << c.reply << " path: " << c.path;
  }
}

TEST(JsonDocument, TellsTheKindOfAValue) {
  const JsonDocument document =
      parsed(R"({"s":"x","n":1,"a":[],"o":{},"t":true,"z":null,"e":"","u":undefined})");
  struct Case {
    std::string path;
    JsonKind kind;
  };
  const Case cases[] = {
      {"s", JsonKind::string}, {"n", JsonKind::number},        {"a", JsonKind::array},
      {"o", JsonKind::object}, {"t", JsonKind::object},        {"missing", JsonKind::none},
      {"z", JsonKind::none},   {"e", JsonKind::string},        {"u", JsonKind::none},
      {"", JsonKind::object},  {"a.length", JsonKind::number}, {"missing.x", JsonKind::none},
  };
  for (const Case& c : cases) EXPECT_EQ(document.type_of(c.path), c.kind) << "path: " << c.path;
}

TEST(JsonDocument, ConvertsNumbersAndTruthValuesAsTheHostDoes) {
  const JsonDocument document = parsed(
      R"({"n":2.5,"s":" 12 ","w":"abc","t":true,"f":false,"z":0,"nan":NaN,"yes":"True","o":{}})");
  struct Case {
    std::string path;
    double number;
    bool truth;
  };
  const Case cases[] = {
      {"n", 2.5, true}, {"s", 12, true},  {"w", 0, false}, {"t", -1, true},       {"f", 0, false},
      {"z", 0, false},  {"yes", 0, true}, {"o", 0, false}, {"missing", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(document.get_number(c.path), c.number) << "path: " << c.path;
    EXPECT_EQ(document.get_bool(c.path), c.truth) << "path: " << c.path;
  }
  EXPECT_TRUE(std::isnan(document.get_number("nan")));
  EXPECT_TRUE(document.get_bool("nan"));
}

TEST(JsonDocument, SetValueReadsTheValueAsAQuotedLiteral) {
  struct Case {
    std::string path;
    std::string value;
    bool as_json;
    std::string root_json;
  };
  const Case cases[] = {
      {"a", "plain", false, R"({"k":1,"a":"plain"})"},
      {"k", "x\\ty", false, R"({"k":"x\ty"})"},
      {"k", "it's", false, R"({"k":1})"},  // the quote ends the literal early
      {"k", "a\nb", false, R"({"k":1})"},  // a line break ends it too
      {"k", "x', da='y", false, R"({"k":1})"},
      {"k", "{\"v\":[1]}", true, R"({"k":{"v":[1]}})"},
      {"k", "", true, R"({"k":{}})"},
      {"k", "\"[2]\"", true, R"({"k":[2]})"},
      {"k", "alert(1)", true, R"({"k":1})"},
      {"m.x", "v", false, R"({"k":1})"},  // a member of a missing value
      {"k.x", "v", false, R"({"k":1})"},  // set on a number: lost
      {"", "root", false, R"("root")"},
      {"['a.b']", "v", false, R"({"k":1,"a.b":"v"})"},
  };
  for (const Case& c : cases) {
    JsonDocument document = parsed(R"({"k":1})");
    document.set_value(c.path, c.value, c.as_json);
    EXPECT_EQ(document.get_json(), c.root_json) << "path: " << c.path << " value: " << c.value;
  }
}

TEST(JsonDocument, SetExpressionAndSetNumber) {
  JsonDocument document = parsed(R"({"k":1})");
  document.set_expression("k", "");  // eval() gives undefined, which the member keeps
  EXPECT_EQ(document.get_json(), "{}");
  EXPECT_EQ(document.member_count(), 1);
  document.set_expression("k", "[1,'x']");
  EXPECT_EQ(document.get_json("k"), R"([1,"x"])");
  document.set_expression("k", "new Date()");
  EXPECT_EQ(document.get_json("k"), R"([1,"x"])");
  document.set_number("n", 0.1 + 0.2);
  EXPECT_EQ(document.get_json("n"), "0.30000000000000004");
  document.set_number("n", -0.0);
  EXPECT_EQ(document.get_json("n"), "0");
  document.set_number("n", std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(document.get_json("n"), "null");
  EXPECT_TRUE(std::isnan(document.get_number("n")));
}

TEST(JsonDocument, AssignmentsExtendArrays) {
  JsonDocument document = parsed(R"({"list":[]})");
  document.set_value("list[3]", "x");
  EXPECT_EQ(document.get_json("list"), R"([null,null,null,"x"])");
  EXPECT_EQ(document.member_count("list"), 1);
  document.set_value("list.name", "n");  // a named member of the array
  EXPECT_EQ(document.get_json("list"), R"([null,null,null,"x"])");
  EXPECT_EQ(document.member_count("list"), 2);
  document.set_number("list.length", 1);
  EXPECT_EQ(document.get_json("list"), "[null]");
  document.set_number("list.length", 1.5);  // not an array length
  EXPECT_EQ(document.get_json("list"), "[null]");
  document.set_value("list[4294967294]", "far");  // would allocate without bound
  EXPECT_EQ(document.get_json("list"), "[null]");
}

TEST(JsonDocument, AssignmentsKeepTheNestingBounded) {
  JsonDocument document;
  const std::string deepest(511, '[');
  document.set_expression("a", deepest + std::string(511, ']'));
  EXPECT_EQ(document.type_of("a"), JsonKind::array);
  document.set_expression("x", std::string(512, '[') + std::string(512, ']'));
  EXPECT_EQ(document.type_of("x"), JsonKind::none);
}

TEST(JsonDocument, AppendPushesOntoAnArray) {
  struct Case {
    std::string path;
    std::string value;
    bool raw;
    std::string root_json;
  };
  const Case cases[] = {
      {"new", "a", false, R"({"list":[1],"s":"t","new":["a"]})"},
      {"list", "a", false, R"({"list":[1,"a"],"s":"t"})"},
      {"s", "a", false, R"({"list":[1],"s":["a"]})"},
      {"list", "{\"x\":1}", true, R"({"list":[1,{"x":1}],"s":"t"})"},
      {"list", "'q'", true, R"({"list":[1,"q"],"s":"t"})"},  // not evaluated again
      {"list", "", true, R"({"list":[1],"s":"t"})"},
      {"new", "", true, R"({"list":[1],"s":"t","new":[]})"},
      {"list", "it's", false, R"({"list":[1],"s":"t"})"},
      {"list", "alert(1)", true, R"({"list":[1],"s":"t"})"},
      {"missing.x", "a", false, R"({"list":[1],"s":"t"})"},
      {"s.x", "a", false, R"({"list":[1],"s":"t"})"},
  };
  for (const Case& c : cases) {
    JsonDocument document = parsed(R"({"list":[1],"s":"t"})");
    document.append(c.path, c.value, c.raw);
    EXPECT_EQ(document.get_json(), c.root_json) << "path: " << c.path << " value: " << c.value;
  }
}

TEST(JsonDocument, RemoveAtCountsAsSplice) {
  struct Case {
    int index;
    std::string root_json;
  };
  const Case cases[] = {{0, "[2,3]"}, {2, "[1,2]"}, {-1, "[1,2]"}, {-5, "[2,3]"}, {3, "[1,2,3]"}};
  for (const Case& c : cases) {
    JsonDocument document = parsed("[1,2,3]");
    document.remove_at(c.index);
    EXPECT_EQ(document.get_json(), c.root_json) << "index: " << c.index;
  }
  JsonDocument object = parsed(R"({"0":1})");
  object.remove_at(0);
  EXPECT_EQ(object.get_json(), R"({"0":1})");
}

TEST(JsonDocument, ResetRootAndClear) {
  struct Case {
    JsonKind kind;
    std::string root_json;
  };
  const Case cases[] = {{JsonKind::none, "{}"},
                        {JsonKind::object, "{}"},
                        {JsonKind::array, "[]"},
                        {JsonKind::string, "[1]"},
                        {static_cast<JsonKind>(3), "[1]"}};
  for (const Case& c : cases) {
    JsonDocument document = parsed("[1]");
    document.reset_root(c.kind);
    EXPECT_EQ(document.get_json(), c.root_json) << "kind: " << static_cast<int>(c.kind);
  }
  JsonDocument document = parsed("[1]");
  document.clear();
  EXPECT_EQ(document.get_json(), "{}");
}

TEST(JsonDocument, ACopySharesTheRootUntilItParses) {
  JsonDocument original = parsed(R"({"a":1})");
  JsonDocument second = original.copy();
  second.set_value("b", "shared");
  EXPECT_EQ(original.get_text("b"), "shared");
  second.parse("[2]");
  EXPECT_EQ(original.get_json(), R"({"a":1,"b":"shared"})");
  EXPECT_EQ(second.get_json(), "[2]");
}

TEST(JsonDocument, AMovedFromDocumentReadsEmpty) {
  JsonDocument original = parsed(R"({"a":1})");
  JsonDocument moved = std::move(original);
  EXPECT_EQ(moved.get_text("a"), "1");
  EXPECT_EQ(original.get_json(), "");  // NOLINT(bugprone-use-after-move): defined as empty
  EXPECT_EQ(original.member_count(), 0);
  original.set_value("a", "x");
  EXPECT_TRUE(original.parse(R"({"a":2})"));
  EXPECT_EQ(original.get_number("a"), 2);
}

}  // namespace
}  // namespace velmo
