// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/folder_files.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "list/sort_list.h"
#include "platform/file_system.h"

namespace zefa {
namespace {

bool IsHidden(const std::string& name) { return !name.empty() && name.front() == '.'; }

}  // namespace

bool ForEachFileInFolder(FileSystem& file_system, const std::string& folder,
                         const std::string& left_out_key, CodePage code_page,
                         const FolderFileFound& found, const WalkGapFound& gap) {
  std::unordered_set<std::string> walked;
  return file_system.WalkFolder(
      folder,
      [&](FolderListing& listing) -> std::optional<std::vector<std::string>> {
        if (listing.key == left_out_key || !walked.insert(listing.key).second) {
          return std::vector<std::string>{};
        }
        if (gap) {
          for (const std::string& name : listing.too_long_files) {
            if (!IsHidden(name)) gap(listing.path + name, WalkGap::kPathTooLong);
          }
        }
        std::vector<std::size_t> files;
        files.reserve(listing.files.size());
        for (const std::size_t i : CollationOrder(listing.files, code_page)) {
          if (!IsHidden(listing.files[i])) files.push_back(i);
        }
        for (const std::size_t i : files) {
          if (!found(listing.path + listing.files[i], std::move(listing.file_keys[i]))) {
            return std::nullopt;
          }
        }
        std::vector<std::string> folders;
        folders.reserve(listing.folders.size());
        for (const std::size_t i : CollationOrder(listing.folders, code_page)) {
          if (!IsHidden(listing.folders[i])) folders.push_back(std::move(listing.folders[i]));
        }
        return folders;
      },
      gap);
}

}  // namespace zefa
