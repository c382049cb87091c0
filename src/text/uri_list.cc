// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/uri_list.h"

#include <optional>

namespace zefa {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    bytes += text[i];
  }
  return bytes;
}

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The path of a file: URI of this machine: file:///p, file://localhost/p or file:/p.
std::optional<std::string> LocalFilePath(std::string_view uri) {
  if (!StartsWithNoCase(uri, "file:")) return std::nullopt;
  std::string_view rest = uri.substr(5);
  // A query or a fragment is no part of the path; a file's own "?" or "#" comes encoded.
  rest = rest.substr(0, rest.find_first_of("?#"));
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    const bool this_machine =
        host.empty() || (host.size() == 9 && StartsWithNoCase(host, "localhost"));
    if (!this_machine) return std::nullopt;
    rest.remove_prefix(slash);
  }
  if (rest.empty() || rest.front() != '/') return std::nullopt;
  std::string path = PercentDecoded(rest);
  // A NUL would end the path early at the system call: it would name another file.
  if (path.find('\0') != std::string::npos) return std::nullopt;
  return path;
}

}  // namespace

std::vector<DroppedUri> ParseUriList(std::string_view bytes) {
  std::vector<DroppedUri> entries;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = Trim(bytes.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#') continue;
    if (auto path = LocalFilePath(line)) {
      entries.push_back({true, std::move(*path)});
    } else {
      entries.push_back({false, std::string(line)});
    }
  }
  return entries;
}

std::string AbsoluteArgumentPath(std::string_view argument, std::string_view current_folder) {
  if (!argument.empty() && argument.front() == '/') return std::string(argument);
  // Without a working folder of its own a relative path stays so, and no list takes it.
  if (current_folder.empty() || current_folder.front() != '/') return std::string(argument);
  std::string path(current_folder);
  if (path.empty() || path.back() != '/') path += '/';
  path += argument;
  return path;
}

}  // namespace zefa
