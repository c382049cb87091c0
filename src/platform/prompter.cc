// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/prompter.h"

namespace zefa {
namespace {

class SilentProgress : public Progress {
 public:
  bool Advance(std::size_t /*done*/) override { return true; }
};

}  // namespace

std::vector<std::string> Prompter::ChooseFiles(const FileChoice& choice) {
  std::optional<std::string> chosen = ChooseFile(choice);
  if (!chosen) return {};
  return {std::move(*chosen)};
}

std::unique_ptr<Progress> Prompter::StartProgress(const std::string& /*text*/,
                                                  std::size_t /*total*/) {
  return std::make_unique<SilentProgress>();
}

}  // namespace zefa
