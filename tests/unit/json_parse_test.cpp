// What parse makes of a text: its result, the root's JSON text and raw_text,
// for JSON, the other literal forms JScript reads, and hostile replies.
#include <gtest/gtest.h>

#include <string>

#include "util/json_document.h"
#include "util/json_literal_reader.h"

namespace velmo {
namespace {

struct ParseCase {
  std::string text;
  bool result;
  std::string root_json;  // get_json of the empty path afterwards
};

void expect_parse(const ParseCase& c) {
  JsonDocument document;
  EXPECT_EQ(document.parse(c.text), c.result) << "text: " << c.text;
  EXPECT_EQ(document.get_json(), c.root_json) << "text: " << c.text;
}

TEST(JsonParse, GivesTheStatedResultForEachKindOfValue) {
  const ParseCase cases[] = {
      {R"({"state":1,"msg":"abc"})", true, R"({"state":1,"msg":"abc"})"},
      {R"( [1, "two", [3]] )", true, R"([1,"two",[3]])"},
      {"null", true, "null"},
      {"{}", true, "{}"},
      {"5", false, "5"},
      {"true", false, "true"},
      {"", false, ""},
      {"   ", false, "   "},  // no value: get_json falls back to raw_text
      {"plain words", true, "{}"},
      {"<html><body>502 Bad Gateway</body></html>", true, "{}"},
  };
  for (const ParseCase& c : cases) expect_parse(c);
}

TEST(JsonParse, ReadsAStringAgainAsAProgram) {
  const ParseCase cases[] = {
      {R"("0")", false, "0"},
      {R"('12.5')", false, "12.5"},
      {R"("[1,2]")", true, "[1,2]"},
      {R"("null")", true, "null"},
      {R"("ok")", true, "{}"},                        // an unknown name
      {R"("{\"a\":1}")", true, "{}"},                 // a block with a bad label
      {R"("{}")", false, R"("{}")"},                  // an empty block: undefined
      {R"("'inner'")", false, R"("inner")"},          // evaluated once only
      {R"("1;")", false, "1"},
      {R"("1;2")", true, "{}"},                       // two statements: not a literal
      {R"js("([1])")js", true, "[1]"},
  };
  for (const ParseCase& c : cases) expect_parse(c);
}

TEST(JsonParse, ReadsTheLiteralFormsOfJScript) {
  const ParseCase cases[] = {
      {"{a:1, 'b':'x', 3:4, 0x10:5, 1.50:6}", true, R"({"a":1,"b":"x","3":4,"16":5,"1.5":6})"},
      {R"({"a":1,"a":2,"b":3})", true, R"({"a":2,"b":3})"},
      {"[1,,2,]", true, "[1,null,2,null]"},
      {"[,]", true, "[null,null]"},
      {"[0x1F, 017, 019, 019.5, .5, 5., 1e3, -2, +3, - 4]", true,
       "[31,15,19,19.5,0.5,5,1000,-2,3,-4]"},
      {"[NaN, Infinity, -Infinity, 1e400, undefined]", true, "[null,null,null,null,null]"},
      {"{u:undefined, n:null}", true, R"({"n":null})"},
      {"/* a */ {\"a\" /* b */ : 1} // c\n", true, R"({"a":1})"},
      {"((([1])))", true, "[1]"},
      {"{\xD6\xD0:1}", true, "{\"\xD6\xD0\":1}"},  // a name in Chinese letters
      {R"({\u0061b:1})", true, R"({"ab":1})"},
  };
  for (const ParseCase& c : cases) expect_parse(c);
}

TEST(JsonParse, TreatsWhatJScriptRefusesAsAScriptError) {
  const ParseCase cases[] = {
      {R"({"a":1,})", true, "{}"},           // trailing comma in an object
      {"{class:1}", true, "{}"},             // reserved word as a name
      {"{\"a\":1} // comment", true, "{}"},  // would swallow the closing parenthesis
      {"/* open", true, "{}"},
      {"[1 2]", true, "{}"},
      {"{'a' 1}", true, "{}"},
      {"\"unterminated", true, "{}"},
      {"'line\nbreak'", true, "{}"},
      {"1e", true, "{}"},
      {"0x", true, "{}"},
      {"3in", true, "{}"},
      {"07.5", true, "{}"},
      {"--1", true, "{}"},
      {"-true", true, "{}"},
      {"/x/", true, "{}"},  // a regular expression is not read as a value
  };
  for (const ParseCase& c : cases) expect_parse(c);
}

TEST(JsonParse, NeverRunsWhatAHostileReplyHolds) {
  const ParseCase cases[] = {
      {"alert(1)", true, "{}"},
      {"da={\"state\":1}", true, "{}"},
      {"new ActiveXObject(\"WScript.Shell\").Run(\"calc\")", true, "{}"},
      {"{\"state\":1}),(new ActiveXObject(\"x\")", true, "{}"},
      {"{\"state\":1});alert((1", true, "{}"},
      {"function(){return 1}()", true, "{}"},
      {"{\"state\":(function(){return 0})()}", true, "{}"},
      {"[1].concat([2])", true, "{}"},
      {"1)+(2", true, "{}"},
      {"\"alert(1)\"", true, "{}"},
      {"\"da=[1]\"", true, "{}"},
      {"/*@cc_on @*/[1]", true, "{}"},  // conditional compilation would run code
      {"//@cc_on\n[1]", true, "{}"},
      {"{\"a\":this}", true, "{}"},
      {"{\"a\":Math}", true, "{}"},
  };
  for (const ParseCase& c : cases) expect_parse(c);
}

TEST(JsonParse, ResolvesEscapesAsJScriptDoes) {
  struct Case {
    std::string text;
    std::string msg;
  };
  const Case cases[] = {
      {R"({"msg":"\x41\u0042\103\0"})", "ABC"},  // the NUL ends the text
      {R"({"msg":"a\tb\nc\\d\"e\'f\/"})", "a\tb\nc\\d\"e'f/"},
      {R"({"msg":"\v"})", "v"},  // JScript has no vertical-tab escape
      {R"({"msg":"\x4g\u12\uZZZZ\q"})", "x4gu12uZZZZq"},
      {"{\"msg\":\"one\\\ntwo\"}", "onetwo"},  // a line continuation
      {R"({"msg":"\u65e0\u987b\u66f4\u65b0"})", "无须更新"},
      {"{\"msg\":\"无须更新\"}", "无须更新"},
      {R"({"msg":"\ud800x\udc00"})", "?x?"},  // lone surrogates cannot be GBK
      {R"({"msg":"\ud83d\ude00"})", "?"},     // nor can characters beyond the BMP
  };
  for (const Case& c : cases) {
    JsonDocument document;
    EXPECT_TRUE(document.parse(c.text)) << "text: " << c.text;
    EXPECT_EQ(document.get_text("msg"), c.msg) << "text: " << c.text;
  }
}

TEST(JsonParse, KeepsRawTextOnlyAfterAFailedParse) {
  JsonDocument document;
  EXPECT_FALSE(document.parse("42"));
  EXPECT_EQ(document.raw_text(), "42");
  EXPECT_EQ(document.get_json("missing"), "42");
  EXPECT_EQ(document.get_text("missing", true), "");  // no fallback for get_text
  EXPECT_TRUE(document.parse("{}"));
  EXPECT_EQ(document.raw_text(), "42");  // never cleared
  EXPECT_EQ(document.get_json("missing"), "42");
  EXPECT_FALSE(document.parse("undefined"));
  EXPECT_EQ(document.get_json(), "undefined");
}

std::string nested_arrays(size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

TEST(JsonParse, BoundsTheNesting) {
  JsonDocument document;
  const std::string deepest = nested_arrays(max_literal_nesting);
  EXPECT_TRUE(document.parse(deepest));
  EXPECT_EQ(document.get_json(), deepest);
  EXPECT_EQ(document.get_object().get_json(), deepest);

  const ParseCase too_deep[] = {
      {nested_arrays(max_literal_nesting + 1), true, "{}"},
      {nested_arrays(10000), true, "{}"},
      {std::string(10000, '['), true, "{}"},
      {std::string(10000, '('), true, "{}"},
      {"\"" + nested_arrays(10000) + "\"", true, "{}"},
  };
  for (const ParseCase& c : too_deep) {
    JsonDocument deep;
    EXPECT_EQ(deep.parse(c.text), c.result) << "length " << c.text.size();
    EXPECT_EQ(deep.get_json(), c.root_json) << "length " << c.text.size();
  }
  std::string objects;
  for (int i = 0; i < 10000; ++i) objects += "{\"a\":";
  objects += "1" + std::string(10000, '}');
  EXPECT_TRUE(document.parse(objects));
  EXPECT_EQ(document.get_json(), "{}");
}

TEST(JsonParse, CarriesAHundredMegabyteString) {
  const size_t size = 100u << 20;
  std::string reply = "{\"msg\":\"";
  reply.append(size, 'x');
  reply += "\"}";
  JsonDocument document;
  ASSERT_TRUE(document.parse(reply));
  EXPECT_EQ(document.get_text("msg").size(), size);
  EXPECT_EQ(document.member_count(), 1);

  // At the top level the string's content is read again: a name, unknown.
  JsonDocument bare;
  EXPECT_TRUE(bare.parse("\"" + std::string(10u << 20, 'x') + "\""));
  EXPECT_EQ(bare.get_json(), "{}");
}

}  // namespace
}  // namespace velmo
