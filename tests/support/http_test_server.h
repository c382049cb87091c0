// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zefa::test {

/** What the server answers for one path. */
struct HttpReply {
  int status = 200;
  std::string body;
  std::string content_type = "text/plain";
  bool send_length = true;    // false: no Content-Length, the body ends when the connection does
  bool never_answer = false;  // keep the connection open and say nothing
};

/**
 * A small HTTP/1.1 server on 127.0.0.1 (a free port) running on its own thread, for the
 * update check. Unknown paths get 404. It counts requests and keeps their request lines
 * and user agents. Requests in absolute form (as sent to a proxy) match by their path.
 */
class HttpTestServer {
 public:
  HttpTestServer();
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  int port() const { return port_; }
  /** "http://127.0.0.1:PORT/" */
  std::string BaseUrl() const;

  void Serve(const std::string& path, HttpReply reply);
  /** Connections accepted, whether or not a request was read from them. */
  int connections() const { return connections_; }
  int RequestCount() const;
  int RequestCount(const std::string& path) const;
  /** Request lines ("GET /soft/ver/ZeFa_oru.txt HTTP/1.1"), in order. */
  std::vector<std::string> RequestLines() const;
  std::vector<std::string> UserAgents() const;

 private:
  void Run();
  void Handle(int client);

  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::map<std::string, HttpReply> replies_;
  std::vector<std::string> request_lines_;
  std::vector<std::string> request_paths_;
  std::vector<std::string> user_agents_;
  std::vector<int> held_open_;
  std::thread thread_;
};

/** A port on 127.0.0.1 where nothing listens (taken and released again). */
int ClosedLocalPort();

}  // namespace zefa::test
