// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zefa {
namespace {

TEST(JsonWriterTest, TextsAreValidJsonAndPathsComeBackByteForByte) {
  struct Case {
    std::string value;
    std::string text;  // as a text
    std::string path;  // as a path
  };
  const Case cases[] = {
      {"a\"b\\c", R"("a\"b\\c")", R"("a\"b\\c")"},
      {"/写真/1.jpg", "\"/写真/1.jpg\"", "\"/写真/1.jpg\""},
      {"tab\there\x01", R"("tab\there\u0001")", R"("tab\there\u0001")"},
      {"/x/\x82\xa0.jpg", R"("/x/\ufffd\ufffd.jpg")", R"("file:///x/%82%A0.jpg")"},
      {"/x/\xed\xa0\x80", R"("/x/\ufffd\ufffd\ufffd")", R"("file:///x/%ED%A0%80")"},
      {"file://a%", R"("file://a%")", R"("file://file://a%25")"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    JsonWriter(out).Text({}, c.value);
    EXPECT_EQ(out.str(), c.text);
    out.str({});
    JsonWriter(out).Path({}, c.value);
    EXPECT_EQ(out.str(), c.path);
  }
}

TEST(JsonWriterTest, ObjectsAndArraysTakeTheirCommas) {
  std::ostringstream out;
  JsonWriter json(out);
  json.Open().Text("a", "x").OpenArray("rows");
  json.Object().Number("n", 1).Bool("b", true).Close();
  json.Object().Null("z").Close();
  json.CloseArray().OpenArray("e").TextElement("1").TextElement("2").CloseArray().Close().End();
  EXPECT_EQ(out.str(), R"({"a":"x","rows":[{"n":1,"b":true},{"z":null}],"e":["1","2"]})"
                       "\n");
}

}  // namespace
}  // namespace zefa
