// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zefa {

/** The code page in which names are byte strings. */
enum class CodePage { kUtf8, kShiftJis };

/** Which characters separate the folder part of a path from its file name. */
enum class PathStyle { kPosix, kWindows };

struct TextRules {
  CodePage code_page = CodePage::kUtf8;
  PathStyle path_style = PathStyle::kPosix;
};

/** The rules of the running program: UTF-8 and the platform's path style. */
TextRules NativeTextRules();

inline constexpr std::size_t kNotFound = std::string_view::npos;

/**
 * Length in bytes of the character that starts at `pos` < text.size() (at least 1, never
 * past the end); a byte that starts no complete character counts as one.
 */
std::size_t CharLength(std::string_view text, std::size_t pos, CodePage code_page);

/**
 * First position at or after `from` where `pattern` occurs and which starts a character
 * of `text`; kNotFound when there is none. An empty pattern is never found; bytes are
 * compared exactly.
 */
std::size_t FindText(std::string_view text, std::string_view pattern, CodePage code_page,
                     std::size_t from = 0);

inline bool ContainsText(std::string_view text, std::string_view pattern, CodePage code_page) {
  return FindText(text, pattern, code_page) != kNotFound;
}

/**
 * Where the first line break ("\r" or "\n") at or after `from` is; npos when none is. Two
 * quick scans for one byte each, not a search through a set of bytes for every byte.
 */
std::size_t FindLineBreak(std::string_view text, std::size_t from = 0);

/** Index just after the last path separator that is a character of its own (0 when none). */
std::size_t FileNameStart(std::string_view path, const TextRules& rules);

/** Everything up to and including the last separator ("C:\pic\", "/home/a/"). */
std::string_view FolderPart(std::string_view path, const TextRules& rules);

/** Everything after the last separator; the whole path when it has none. */
std::string_view FileNamePart(std::string_view path, const TextRules& rules);

/**
 * Whether `path` is a full path of the path style: from "/" on POSIX, from a drive ("C:\")
 * or a share ("\\server") on Windows. A relative path means another file in each folder.
 */
bool IsFullPath(std::string_view path, const TextRules& rules);

/** Whether `text` holds a separator character of the path style. */
bool HasPathSeparator(std::string_view text, const TextRules& rules);

/** The file name cut before its last "." ("archive.tar.gz" -> "archive.tar"). */
std::string_view StemOf(std::string_view file_name, CodePage code_page);

/** From the last "." of the file name on, dot included; empty when it has none. */
std::string_view ExtensionOf(std::string_view file_name, CodePage code_page);

/** Whether the bytes are well-formed UTF-8. */
bool IsValidUtf8(std::string_view bytes);

}  // namespace zefa
