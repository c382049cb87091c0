// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/current_folder.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace zefa {

std::string CurrentFolder() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1U << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

}  // namespace zefa
