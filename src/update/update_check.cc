// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "update/update_check.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "platform/http_get.h"
#include "platform/prompter.h"
#include "text/code_page_convert.h"
#include "text/text_rules.h"

#ifndef ZEFA_UPDATE_URL
#define ZEFA_UPDATE_URL "https://www.zefa-oru.jp/"
#endif

namespace zefa {
namespace {

inline constexpr const char* kUserAgent = "MyApp";

// A piece read from the site ends at its first 0 byte, as a C string would.
std::string_view UpToNul(std::string_view piece) {
  const std::size_t nul = piece.find('\0');
  return nul == std::string_view::npos ? piece : piece.substr(0, nul);
}

std::optional<std::string> Fetch(const std::string& url, const UpdateTimeouts& timeouts) {
  HttpGetOptions options;
  options.user_agent = kUserAgent;
  options.connect_timeout_ms = timeouts.connect_ms;
  options.transfer_timeout_ms = timeouts.transfer_ms;
  std::optional<HttpResponse> response = HttpGet(url, options);
  // An error page is no resource of the site, whatever its body says.
  if (!response || response->status >= 400) return std::nullopt;
  return std::move(response->body);
}

// The comment as it is shown: of a comment longer than one piece, its last piece. Its
// code page is judged on the whole comment (the site may still publish it in Shift-JIS),
// and the pieces end at character boundaries, so that no character is cut in two.
std::string CommentText(std::string_view body) {
  const CodePage code_page = IsValidUtf8(body) ? CodePage::kUtf8 : CodePage::kShiftJis;
  std::size_t piece = 0;
  for (std::size_t at = 0; at < body.size();) {
    const std::size_t next = at + CharLength(body, at, code_page);
    if (next - piece > kVersionChunkBytes) piece = at;
    at = next;
  }
  const std::string_view shown = UpToNul(body.substr(piece));
  return code_page == CodePage::kUtf8 ? std::string(shown) : ShiftJisToUtf8(shown);
}

}  // namespace

bool IsVersionText(std::string_view text) {
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || c == '.')) return false;
  }
  return true;
}

std::optional<double> VersionNumber(std::string_view text) {
  if (text.empty() || !IsVersionText(text)) return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool CheckForUpdate(std::string_view file_name, std::string_view base_url,
                    std::string_view own_version, Prompter& prompter,
                    const UpdateTimeouts& timeouts) {
  const std::optional<double> own = VersionNumber(own_version);
  if (!own) return false;
  const std::string base(base_url);
  const std::string version_url = base + "soft/ver/" + std::string(file_name);
  const std::string comment_url = base + "soft/coment/" + std::string(file_name);

  const std::optional<std::string> body = Fetch(version_url, timeouts);
  if (!body) return false;

  bool chosen = false;
  for (std::size_t at = 0; at < body->size(); at += kVersionChunkBytes) {
    // Each piece is a text of its own; one that is no version counts as version 0.
    const std::string_view text = UpToNul(std::string_view(*body).substr(at, kVersionChunkBytes));
    const std::optional<double> published = VersionNumber(text);
    if (!published || *published <= *own) continue;
    if (!prompter.Ask("バージョン" + std::string(text) +
                      "がリリースされています。\n\rダウンロードしますか？")) {
      continue;
    }
    // A comment that cannot be fetched, or says nothing, is not worth an empty box.
    if (const std::optional<std::string> comment = Fetch(comment_url, timeouts)) {
      const std::string shown = CommentText(*comment);
      if (!shown.empty()) prompter.Inform(shown);
    }
    chosen = true;
  }
  return chosen;
}

std::string UpdateBaseUrl() {
  const char* configured = std::getenv("ZEFA_ORU_UPDATE_URL");
  std::string url = configured != nullptr && *configured != '\0' ? configured : ZEFA_UPDATE_URL;
  if (!url.empty() && url.back() != '/') url += '/';
  return url;
}

}  // namespace zefa
