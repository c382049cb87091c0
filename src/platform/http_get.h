// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zefa {

/** How one HTTP GET may go: whom it says it is and how long and large it may get. */
struct HttpGetOptions {
  std::string user_agent;
  long connect_timeout_ms = 3000;   // reaching the server
  long transfer_timeout_ms = 5000;  // the whole request, connecting included
  std::size_t max_body_bytes = 64 * 1024;
};

struct HttpResponse {
  long status = 0;
  std::string body;
};

/**
 * One GET over http or https (redirects followed, other schemes refused), through the
 * proxy the environment names (http_proxy, https_proxy, no_proxy). nullopt on any
 * failure: no connection, a time-out, a body larger than allowed.
 */
std::optional<HttpResponse> HttpGet(std::string_view url, const HttpGetOptions& options);

}  // namespace zefa
