// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zefa {

/** One entry of a dropped text/uri-list. */
struct DroppedUri {
  bool local_file = false;  // a file: URI of this machine
  std::string path;         // its path as bytes, percent-decoded; else the URI as given
};

/**
 * The entries of a text/uri-list (lines ending in CRLF or LF, "#" comment lines and
 * blank lines skipped), in their order. A file: URI names a local file when its host is
 * empty or "localhost" and its path decodes to an absolute path without a NUL byte;
 * every other entry is kept as not local, so that it can be refused by name.
 */
std::vector<DroppedUri> ParseUriList(std::string_view bytes);

/** "%XX" as its byte; a "%" without two hexadecimal digits stays as it is. */
std::string PercentDecoded(std::string_view text);

/**
 * A command-line argument as a path: its bytes as given, a relative one prefixed with
 * `current_folder` and "/".
 */
std::string AbsoluteArgumentPath(std::string_view argument, std::string_view current_folder);

}  // namespace zefa
