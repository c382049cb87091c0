// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/http_get.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace zefa {
namespace {

struct Download {
  std::string body;
  std::size_t max_bytes = 0;
};

// The cap is enforced here rather than by CURLOPT_MAXFILESIZE, which cannot stop a body
// that is sent without a length.
std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* download = static_cast<Download*>(user);
  const std::size_t bytes = size * count;
  if (bytes > download->max_bytes - download->body.size()) return CURL_WRITEFUNC_ERROR;
  download->body.append(data, bytes);
  return bytes;
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

}  // namespace

std::optional<HttpResponse> HttpGet(std::string_view url, const HttpGetOptions& options) {
  static std::once_flag global_init;
  std::call_once(global_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  const std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl) return std::nullopt;
  CURL* handle = curl.get();
  const std::string address(url);
  Download download;
  download.max_bytes = options.max_body_bytes;

  bool ok = curl_easy_setopt(handle, CURLOPT_URL, address.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_USERAGENT, options.user_agent.c_str()) == CURLE_OK;
  ok = ok &&
       curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, options.connect_timeout_ms) == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, options.transfer_timeout_ms) == CURLE_OK;
  // Time-outs by signal would disturb the GUI thread that runs the check.
  ok = ok && curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect) == CURLE_OK;
  ok = ok && curl_easy_setopt(handle, CURLOPT_WRITEDATA, &download) == CURLE_OK;
  if (!ok || curl_easy_perform(handle) != CURLE_OK) return std::nullopt;

  HttpResponse response;
  if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status) != CURLE_OK) {
    return std::nullopt;
  }
  response.body = std::move(download.body);
  return response;
}

}  // namespace zefa
