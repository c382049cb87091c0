// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "update/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "http_test_server.h"
#include "scripted_prompter.h"
#include "text/code_page_convert.h"

namespace zefa {
namespace {

using test::HttpReply;
using test::HttpTestServer;
using test::ScriptedPrompter;
using Lines = std::vector<std::string>;

constexpr const char* kVersionPath = "/soft/ver/ZeFa_oru.txt";
constexpr const char* kCommentPath = "/soft/coment/ZeFa_oru.txt";
constexpr const char* kOwnVersion = "2.66";
constexpr const char* kComment = "新しい版では一括置換が速くなりました。\n\r詳しくはサイトで。";

std::string Question(const std::string& version) {
  return "ask バージョン" + version + "がリリースされています。\n\rダウンロードしますか？";
}

HttpReply Text(std::string body, int status = 200) {
  HttpReply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

HttpReply Html(std::string body, int status) {
  HttpReply reply = Text(std::move(body), status);
  reply.content_type = "text/html";
  return reply;
}

HttpReply WithoutLength(HttpReply reply) {
  reply.send_length = false;
  return reply;
}

const std::string kErrorPage =
    "<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>"
    "<body><h1>Not Found</h1><p>2.70</p></body></html>\n";

struct VersionRow {
  const char* name;
  HttpReply reply;
  std::optional<std::string> announced;  // the version the question names, if any
};

std::vector<VersionRow> VersionRows() {
  const std::string junk_piece(1024, 'x');
  return {
      {"2.70", Text("2.70"), "2.70"},
      {"2.7", Text("2.7"), "2.7"},
      {"3", Text("3"), "3"},
      {"2.66 equal", Text("2.66"), std::nullopt},
      {"2.660 equal", Text("2.660"), std::nullopt},
      {"2.100 is 2.1", Text("2.100"), std::nullopt},
      {"line feed after", Text("2.70\n"), std::nullopt},
      {"CR LF after", Text("2.70\r\n"), std::nullopt},
      {"space after", Text("2.70 "), std::nullopt},
      {"error page 404", Html(kErrorPage, 404), std::nullopt},
      {"error page 200", Html(kErrorPage, 200), std::nullopt},
      {"version body with 404", Text("2.70", 404), std::nullopt},
      {"version body with 500", Text("2.70", 500), std::nullopt},
      {"empty", Text(""), std::nullopt},
      {"1.2.3 no number", Text("1.2.3"), std::nullopt},
      {"lone point", Text("."), std::nullopt},
      {"text ends at a 0 byte", Text(std::string("2.70\0<html>", 10)), "2.70"},
      {"0 byte first", Text(std::string(1, '\0') + "2.70"), std::nullopt},
      {"second piece is the version", Text(junk_piece + "2.70"), "2.70"},
      {"version then more in its piece", Text("2.70" + std::string(1020, ' ')), std::nullopt},
      {"without a length", WithoutLength(Text(junk_piece + "3")), "3"},
      // A body past the size limit is refused whole, wherever a version stands in it.
      {"past the limit", Text(std::string(70 * 1024, 'x') + "9.99"), std::nullopt},
      {"past the limit, without a length",
       WithoutLength(Text(std::string(70 * 1024, 'x') + "9.99")), std::nullopt},
  };
}

TEST(UpdateCheckTest, EveryVersionAnsweredBothWays) {
  for (const VersionRow& row : VersionRows()) {
    for (const bool yes : {false, true}) {
      SCOPED_TRACE(std::string(row.name) + (yes ? ", answered Yes" : ", answered No"));
      HttpTestServer server;
      server.Serve(kVersionPath, row.reply);
      server.Serve(kCommentPath, Text(kComment));
      ScriptedPrompter prompter;
      yes ? prompter.Yes() : prompter.No();

      const bool chosen = CheckForUpdate(kUpdateFileName, server.BaseUrl(), kOwnVersion, prompter);

      const bool downloads = yes && row.announced.has_value();
      Lines expected;
      if (row.announced) expected.push_back(Question(*row.announced));
      if (downloads) expected.push_back(std::string("inform ") + kComment);
      EXPECT_EQ(chosen, downloads);
      EXPECT_EQ(prompter.log, expected);
      EXPECT_EQ(server.RequestCount(kVersionPath), 1);
      EXPECT_EQ(server.RequestCount(kCommentPath), downloads ? 1 : 0);
    }
  }
}

TEST(UpdateCheckTest, AsksAsMyApp) {
  HttpTestServer server;
  server.Serve(kVersionPath, Text("2.70"));
  server.Serve(kCommentPath, Text(kComment));
  ScriptedPrompter prompter;
  prompter.Yes();
  ASSERT_TRUE(CheckForUpdate(kUpdateFileName, server.BaseUrl(), kOwnVersion, prompter));
  EXPECT_EQ(server.RequestLines(), (Lines{"GET /soft/ver/ZeFa_oru.txt HTTP/1.1",
                                          "GET /soft/coment/ZeFa_oru.txt HTTP/1.1"}));
  EXPECT_EQ(server.UserAgents(), (Lines{"MyApp", "MyApp"}));
}

std::string Repeat(std::string_view text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST(UpdateCheckTest, CommentsAsShown) {
  struct Row {
    const char* name;
    HttpReply reply;
    std::optional<std::string> shown;
  };
  const std::vector<Row> rows = {
      {"missing", Html(kErrorPage, 404), std::nullopt},
      {"server error", Text(kComment, 500), std::nullopt},
      {"empty", Text(""), std::nullopt},
      {"Shift-JIS", Text(Utf8ToShiftJis("新版です。\n\rどうぞ。")), "新版です。\n\rどうぞ。"},
      {"longer than a piece: its last piece", Text(std::string(1024, 'a') + "tail"), "tail"},
      // 1,500 bytes of UTF-8: the pieces end between characters (341 of them, then 159).
      {"UTF-8 longer than a piece", Text(Repeat("あ", 500)), Repeat("あ", 159)},
      {"Shift-JIS within a piece", Text(Utf8ToShiftJis(Repeat("あ", 500))), Repeat("あ", 500)},
      {"Shift-JIS longer than a piece", Text("a" + Utf8ToShiftJis(Repeat("あ", 512))),
       Repeat("あ", 1)},
      {"without a length", WithoutLength(Text(kComment)), kComment},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HttpTestServer server;
    server.Serve(kVersionPath, Text("2.70"));
    server.Serve(kCommentPath, row.reply);
    ScriptedPrompter prompter;
    prompter.Yes();

    // The download was chosen; only the box depends on the comment.
    EXPECT_TRUE(CheckForUpdate(kUpdateFileName, server.BaseUrl(), kOwnVersion, prompter));
    const Lines expected =
        row.shown ? Lines{Question("2.70"), "inform " + *row.shown} : Lines{Question("2.70")};
    EXPECT_EQ(prompter.log, expected);
  }
}

TEST(UpdateCheckTest, EveryPieceIsAskedAboutOnItsOwn) {
  HttpTestServer server;
  server.Serve(kVersionPath, Text(std::string(1024, '0') + "2.70"));
  server.Serve(kCommentPath, Text(kComment));
  ScriptedPrompter prompter;
  prompter.Yes();
  EXPECT_TRUE(CheckForUpdate(kUpdateFileName, server.BaseUrl(), kOwnVersion, prompter));
  EXPECT_EQ(prompter.log, (Lines{Question("2.70"), std::string("inform ") + kComment}));
}

TEST(UpdateCheckTest, ProxyFromTheEnvironmentIsUsed) {
  HttpTestServer proxy;
  proxy.Serve(kVersionPath, Text("2.70"));
  ::unsetenv("no_proxy");
  ::unsetenv("NO_PROXY");
  ::setenv("http_proxy", proxy.BaseUrl().c_str(), 1);
  ScriptedPrompter prompter;
  prompter.No();
  const bool chosen =
      CheckForUpdate(kUpdateFileName, "http://update.zefa-oru.invalid/", kOwnVersion, prompter);
  ::unsetenv("http_proxy");

  EXPECT_FALSE(chosen);
  EXPECT_EQ(prompter.log, Lines{Question("2.70")});
  EXPECT_EQ(proxy.RequestLines(),
            Lines{"GET http://update.zefa-oru.invalid/soft/ver/ZeFa_oru.txt HTTP/1.1"});
}

TEST(UpdateCheckTest, OtherSchemesAreRefused) {
  ScriptedPrompter prompter;
  prompter.Yes();
  EXPECT_FALSE(CheckForUpdate(kUpdateFileName, "file:///tmp/", kOwnVersion, prompter));
  EXPECT_FALSE(CheckForUpdate(kUpdateFileName, "not an address/", kOwnVersion, prompter));
  EXPECT_TRUE(prompter.log.empty());
}

// The time-outs the program runs with; the tests below hand the check short ones.
TEST(UpdateCheckTest, DefaultTimeouts) {
  EXPECT_EQ(UpdateTimeouts{}.connect_ms, 3000);
  EXPECT_EQ(UpdateTimeouts{}.transfer_ms, 5000);
}

constexpr UpdateTimeouts kQuick{500, 1000};

// Both limits are generous: the point is that the check comes back at all.
long ElapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - since)
                               .count());
}

TEST(UpdateCheckTest, ServerThatNeverAnswersEndsTheCheckSilently) {
  HttpTestServer server;
  HttpReply silent;
  silent.never_answer = true;
  server.Serve(kVersionPath, silent);
  ScriptedPrompter prompter;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(CheckForUpdate(kUpdateFileName, server.BaseUrl(), kOwnVersion, prompter, kQuick));
  EXPECT_LT(ElapsedMs(start), 3 * kQuick.transfer_ms);
  EXPECT_TRUE(prompter.log.empty());
  EXPECT_EQ(server.connections(), 1);
}

TEST(UpdateCheckTest, ClosedPortEndsTheCheckSilently) {
  const std::string base = "http://127.0.0.1:" + std::to_string(test::ClosedLocalPort()) + "/";
  ScriptedPrompter prompter;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(CheckForUpdate(kUpdateFileName, base, kOwnVersion, prompter, kQuick));
  EXPECT_LT(ElapsedMs(start), 3 * kQuick.connect_ms);
  EXPECT_TRUE(prompter.log.empty());
}

TEST(UpdateCheckTest, CommentThatNeverComesShowsNoBox) {
  HttpTestServer server;
  server.Serve(kVersionPath, Text("2.70"));
  HttpReply silent;
  silent.never_answer = true;
  server.Serve(kCommentPath, silent);
  ScriptedPrompter prompter;
  prompter.Yes();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(CheckForUpdate(kUpdateFileName, server.BaseUrl(), kOwnVersion, prompter, kQuick));
  EXPECT_LT(ElapsedMs(start), 3 * 2 * kQuick.transfer_ms);
  EXPECT_EQ(prompter.log, Lines{Question("2.70")});
}

TEST(VersionTextTest, DigitsAndPointsOnly) {
  const std::vector<std::pair<std::string, bool>> rows = {
      {"", true},        {"2.70", true},  {"0123456789.", true}, {"1.2.3", true},
      {"2.70\n", false}, {" 2.7", false}, {"v2", false},         {"-1", false},
      {"1e3", false},    {"２", false},   {"2,7", false},        {std::string("2\0", 2), false},
  };
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(IsVersionText(text), expected) << '"' << text << '"';
  }
}

TEST(VersionTextTest, VersionNumbers) {
  const std::vector<std::pair<std::string, std::optional<double>>> rows = {
      {"2.66", 2.66},
      {"2.660", 2.66},
      {"2.100", 2.1},
      {"3", 3.0},
      {".5", 0.5},
      {"2.", 2.0},
      {"1.2.3", std::nullopt},
      {".", std::nullopt},
      {"", std::nullopt},
      {"2.7a", std::nullopt},
      {"1e3", std::nullopt},
      {std::string(400, '9'), std::nullopt},
  };
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(VersionNumber(text), expected) << '"' << text << '"';
  }
  EXPECT_GT(*VersionNumber("2.7"), *VersionNumber("2.66"));
  EXPECT_LT(*VersionNumber("2.100"), *VersionNumber("2.66"));
}

TEST(UpdateBaseUrlTest, EnvironmentOverridesTheBuiltInAddress) {
  ::unsetenv("ZEFA_ORU_UPDATE_URL");
  const std::string built_in = UpdateBaseUrl();
  EXPECT_EQ(built_in.rfind("https://", 0), 0u) << built_in;
  EXPECT_EQ(built_in.back(), '/');

  ::setenv("ZEFA_ORU_UPDATE_URL", "http://127.0.0.1:8080/mirror/", 1);
  EXPECT_EQ(UpdateBaseUrl(), "http://127.0.0.1:8080/mirror/");
  ::setenv("ZEFA_ORU_UPDATE_URL", "http://127.0.0.1:8080/mirror", 1);
  EXPECT_EQ(UpdateBaseUrl(), "http://127.0.0.1:8080/mirror/");
  ::setenv("ZEFA_ORU_UPDATE_URL", "", 1);
  EXPECT_EQ(UpdateBaseUrl(), built_in);
  ::unsetenv("ZEFA_ORU_UPDATE_URL");
}

}  // namespace
}  // namespace zefa
