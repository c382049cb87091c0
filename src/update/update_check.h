// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zefa {

class Prompter;

/** The file name under "soft/ver/" and "soft/coment/" on the update site. */
inline constexpr const char* kUpdateFileName = "ZeFa_oru.txt";
/** The version resource is judged in pieces of this size, each a text of its own. */
inline constexpr std::size_t kVersionChunkBytes = 1024;

/** Time limits of each of the check's two requests; the user's answer is not timed. */
struct UpdateTimeouts {
  long connect_ms = 3000;
  long transfer_ms = 5000;
};

/** Every byte is a digit "0" to "9" or a point; the empty text passes. */
bool IsVersionText(std::string_view text);

/**
 * A published version as a number: digits and points that read as one decimal number
 * ("2.70", "3", ".5"). nullopt for anything else, "1.2.3" and the empty text included.
 */
std::optional<double> VersionNumber(std::string_view text);

/**
 * Asks the update site whether a version greater than `own_version` is published; when
 * the user then chooses to download, shows the site's comment and returns true. Every
 * failure is silent and returns false.
 */
bool CheckForUpdate(std::string_view file_name, std::string_view base_url,
                    std::string_view own_version, Prompter& prompter,
                    const UpdateTimeouts& timeouts = {});

/** The update site: ZEFA_ORU_UPDATE_URL when set, else the address built in; ends in "/". */
std::string UpdateBaseUrl();

}  // namespace zefa
