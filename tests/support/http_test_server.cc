// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "http_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace zefa::test {
namespace {

int ListenLocal(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return fd;
}

void SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the client went away
    sent += static_cast<std::size_t>(n);
  }
}

const char* ReasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

// The value of a header line, matched without regard to case; empty when absent.
std::string HeaderValue(const std::string& head, const std::string& name) {
  std::size_t at = 0;
  while ((at = head.find("\r\n", at)) != std::string::npos) {
    at += 2;
    if (head.size() - at < name.size() + 1) break;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(head[at + i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    }
    if (same && head[at + name.size()] == ':') {
      std::size_t begin = at + name.size() + 1;
      while (begin < head.size() && head[begin] == ' ') ++begin;
      return head.substr(begin, head.find("\r\n", begin) - begin);
    }
  }
  return {};
}

}  // namespace

HttpTestServer::HttpTestServer() {
  // The server is local: a proxy configured in the environment must not stand between.
  ::setenv("no_proxy", "127.0.0.1,localhost", 1);
  ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
  listener_ = ListenLocal(port_);
  if (::pipe2(wake_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  thread_ = std::thread([this] { Run(); });
}

HttpTestServer::~HttpTestServer() {
  const char stop = 's';
  (void)!::write(wake_[1], &stop, 1);
  thread_.join();
  for (const int fd : held_open_) ::close(fd);
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

std::string HttpTestServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void HttpTestServer::Serve(const std::string& path, HttpReply reply) {
  const std::lock_guard lock(mutex_);
  replies_[path] = std::move(reply);
}

int HttpTestServer::RequestCount() const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(request_paths_.size());
}

int HttpTestServer::RequestCount(const std::string& path) const {
  const std::lock_guard lock(mutex_);
  int count = 0;
  for (const std::string& seen : request_paths_) count += seen == path ? 1 : 0;
  return count;
}

std::vector<std::string> HttpTestServer::RequestLines() const {
  const std::lock_guard lock(mutex_);
  return request_lines_;
}

std::vector<std::string> HttpTestServer::UserAgents() const {
  const std::lock_guard lock(mutex_);
  return user_agents_;
}

void HttpTestServer::Run() {
  for (;;) {
    pollfd watched[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[1].revents != 0) return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    Handle(client);
  }
}

void HttpTestServer::Handle(int client) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 64 * 1024) {
    pollfd watched[2] = {{client, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(watched, 2, 10000) <= 0 || watched[1].revents != 0) break;
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  const std::string line = head.substr(0, head.find("\r\n"));
  const std::size_t target_start =
      line.find(' ') == std::string::npos ? line.size() : line.find(' ') + 1;
  std::string target = line.substr(target_start, line.find(' ', target_start) - target_start);
  if (const std::size_t scheme = target.find("://"); scheme != std::string::npos) {
    const std::size_t path_start = target.find('/', scheme + 3);
    target = path_start == std::string::npos ? "/" : target.substr(path_start);
  }

  HttpReply reply;
  reply.status = 404;
  reply.body = "<html><body><h1>404 Not Found</h1></body></html>";
  reply.content_type = "text/html";
  {
    const std::lock_guard lock(mutex_);
    request_lines_.push_back(line);
    request_paths_.push_back(target);
    user_agents_.push_back(HeaderValue(head, "User-Agent"));
    if (const auto found = replies_.find(target); found != replies_.end()) reply = found->second;
  }
  if (reply.never_answer) {
    held_open_.push_back(client);
    return;
  }
  std::string response = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonOf(reply.status) +
                         "\r\nContent-Type: " + reply.content_type + "\r\nConnection: close\r\n";
  if (reply.send_length) {
    response += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  }
  response += "\r\n" + reply.body;
  SendAll(client, response);
  ::shutdown(client, SHUT_WR);
  ::close(client);
}

int ClosedLocalPort() {
  int port = 0;
  const int fd = ListenLocal(port);
  ::close(fd);
  return port;
}

}  // namespace zefa::test
