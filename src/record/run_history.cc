// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "record/run_history.h"

#include <algorithm>
#include <tuple>

#include "platform/program_paths.h"
#include "settings/profile.h"
#include "text/code_page_convert.h"

namespace zefa {
namespace {

constexpr std::string_view kUndoneSection = "undone";
constexpr std::string_view kUndoneValue = "back";
constexpr std::string_view kEndKey = "end";

// Reads the decimal digits at `at` into `value`, then expects `unit` after them.
bool ReadNumber(std::string_view text, std::size_t& at, std::string_view unit, int& value) {
  const std::size_t start = at;
  value = 0;
  while (at < text.size() && at - start < 5 && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + (text[at++] - '0');
  }
  if (at == start || text.substr(at, unit.size()) != unit) return false;
  at += unit.size();
  return true;
}

// The time and attempt of a name that RestoreFileName gives (2026年3月7日09時05分03秒_2.zefa).
std::optional<LocalTime> TimeOfName(std::string_view name, int& attempt) {
  attempt = 1;
  LocalTime time;
  std::size_t at = 0;
  if (!ReadNumber(name, at, "年", time.year) || !ReadNumber(name, at, "月", time.month) ||
      !ReadNumber(name, at, "日", time.day) || !ReadNumber(name, at, "時", time.hour) ||
      !ReadNumber(name, at, "分", time.minute) || !ReadNumber(name, at, "秒", time.second)) {
    return std::nullopt;
  }
  if (name.substr(at, 1) == "_") {
    ++at;
    if (!ReadNumber(name, at, kRestoreExtension, attempt)) return std::nullopt;
  } else if (name.substr(at) != kRestoreExtension) {
    return std::nullopt;
  }
  return time;
}

// A row that a run moved, so that an undo brings it back (as PlanUndo takes them).
bool IsMovedRow(const RestoreRow& row, const TextRules& rules) {
  return !row.not_renamed && IsRowOfARun(row.before, row.after, rules) && row.before != row.after &&
         FolderPart(row.before, rules) == FolderPart(row.after, rules);
}

void SummarizeRecord(RunSummary& summary, const RestoreRecord& record, const TextRules& rules) {
  summary.whole = true;
  summary.count = record.Count();
  summary.folder.clear();
  summary.many_folders = false;
  for (std::size_t row = 0; row < record.size(); ++row) {
    const std::string_view folder = FolderPart(record.Row(row).before, rules);
    if (row == 0) {
      summary.folder = folder;
    } else if (folder != summary.folder) {
      summary.many_folders = true;
      summary.folder.clear();
      break;
    }
  }
  summary.first_after = record.FirstNewPath();
  if (record.size() > 0) summary.first_before = record.Row(0).before;
}

// The count and row 0's old path, from a head that holds only the start of the record.
void SummarizeHead(RunSummary& summary, std::string head) {
  head.resize(head.rfind('\n') == std::string::npos ? 0 : head.rfind('\n'));
  if (!IsValidUtf8(head)) head = DecodeStoredText(head);
  enum class Section { kNone, kCount, kBefore, kAfter } section = Section::kNone;
  bool counted = false, before = false, after = false;
  ForEachProfileLine(head, [&](const ProfileLine& line) {
    if (line.is_section) {
      section = SameProfileName(line.name, "Count")    ? Section::kCount
                : SameProfileName(line.name, "before") ? Section::kBefore
                : SameProfileName(line.name, "after")  ? Section::kAfter
                                                       : Section::kNone;
      return true;
    }
    if (section == Section::kCount && !counted && SameProfileName(line.name, "count")) {
      counted = true;
      summary.count = ParseProfileInteger(line.value).value_or(0);
    } else if (section == Section::kBefore && !before && line.name == "0") {
      before = true;
      summary.first_before = DecodeRecordedPath(line.value);
    } else if (section == Section::kAfter && !after && line.name == "0") {
      after = true;
      summary.first_after = DecodeRecordedPath(line.value);
    }
    return true;
  });
}

}  // namespace

std::vector<std::string> ListRestoreFiles(FileSystem& file_system, const std::string& folder,
                                          const TextRules& rules) {
  struct Found {
    std::string name;
    std::optional<LocalTime> time;
    int attempt = 1;
  };
  std::vector<Found> found;
  file_system.WalkFolder(folder, [&](FolderListing& listing) {
    for (std::string& name : listing.files) {
      if (!name.ends_with(kRestoreExtension)) continue;
      Found one{std::move(name), std::nullopt, 1};
      one.time = TimeOfName(one.name, one.attempt);
      found.push_back(std::move(one));
    }
    return std::optional<std::vector<std::string>>(std::vector<std::string>());
  });
  const auto key = [](const Found& one) {
    const LocalTime t = one.time.value_or(LocalTime{});
    return std::make_tuple(one.time.has_value(), t.year, t.month, t.day, t.hour, t.minute, t.second,
                           one.attempt, std::string_view(one.name));
  };
  std::sort(found.begin(), found.end(),
            [&](const Found& a, const Found& b) { return key(a) > key(b); });
  const std::string base = WithTrailingSeparator(folder, rules);
  std::vector<std::string> paths;
  paths.reserve(found.size());
  for (const Found& one : found) paths.push_back(base + one.name);
  return paths;
}

RunSummary ReadRunHead(FileSystem& file_system, const std::string& path, const TextRules& rules) {
  RunSummary summary;
  summary.path = path;
  summary.name = FileNamePart(path, rules);
  summary.time = TimeOfName(summary.name, summary.attempt);
  std::optional<FileStart> start = file_system.ReadFileStart(path, kRunHeadBytes);
  if (!start) {
    summary.whole = true;
    summary.state = RunState::kNotAllUndoable;
    return summary;
  }
  if (!start->whole) {
    SummarizeHead(summary, std::move(start->bytes));
    return summary;
  }
  const std::vector<std::size_t> undone = UndoneRows(start->bytes);
  const RestoreRecord record = RestoreRecord::Parse(std::move(start->bytes));
  SummarizeRecord(summary, record, rules);
  summary.state = StateFromNote(record, undone, rules);
  return summary;
}

void CompleteRunSummary(RunSummary& summary, FileSystem& file_system, const TextRules& rules) {
  if (summary.state != RunState::kPending) return;
  FileRead bytes = file_system.ReadFile(summary.path, kMaxRestoreFileBytes);
  if (!bytes) {
    summary.state = RunState::kNotAllUndoable;
    return;
  }
  const std::vector<std::size_t> undone = UndoneRows(*bytes);
  // The record is read again, a piece at a time, once the whole text's room is given back.
  std::string().swap(*bytes);
  const RestoreRecord record = RestoreRecord::Read(file_system, summary.path);
  SummarizeRecord(summary, record, rules);
  summary.state = StateFromNote(record, undone, rules);
  if (summary.state != RunState::kPending) return;
  const UndoPlan plan = PlanUndo(record, file_system, rules);
  summary.state =
      plan.invalid || !plan.not_back.empty() ? RunState::kNotAllUndoable : RunState::kUndoable;
}

std::vector<std::size_t> UndoneRows(std::string_view record_text) {
  // The lines are read from the first that may name the note, a "[" followed by its name
  // in any case: the rows before it, nearly all of the record, are passed over without
  // being split into lines.
  std::size_t found = record_text.find('[');
  for (; found != std::string_view::npos; found = record_text.find('[', found + 1)) {
    const std::size_t name = record_text.find_first_not_of(" \t", found + 1);
    if (name == std::string_view::npos) continue;
    if (SameProfileName(record_text.substr(name, kUndoneSection.size()), kUndoneSection)) break;
  }
  if (found == std::string_view::npos) return {};
  const std::size_t line_start = record_text.find_last_of("\r\n", found);
  record_text.remove_prefix(line_start == std::string_view::npos ? 0 : line_start + 1);
  std::vector<std::size_t> rows;
  std::vector<std::size_t> section_rows;
  bool in_note = false;
  ForEachProfileLine(record_text, [&](const ProfileLine& line) {
    if (line.is_section) {
      in_note = SameProfileName(line.name, kUndoneSection);
      section_rows.clear();
      return true;
    }
    if (!in_note) return true;
    if (SameProfileName(line.name, kEndKey)) {
      // Only a whole section counts.
      if (line.value == "1") rows.insert(rows.end(), section_rows.begin(), section_rows.end());
      section_rows.clear();
      in_note = false;
      return true;
    }
    const std::optional<int> row = ParseProfileInteger(line.name);
    if (row && *row >= 0 && line.value == kUndoneValue) {
      section_rows.push_back(static_cast<std::size_t>(*row));
    }
    return true;
  });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

RunState StateFromNote(const RestoreRecord& record, const std::vector<std::size_t>& undone,
                       const TextRules& rules) {
  if (undone.empty()) return RunState::kPending;
  for (std::size_t row = 0; row < record.size(); ++row) {
    if (IsMovedRow(record.Row(row), rules) &&
        !std::binary_search(undone.begin(), undone.end(), row)) {
      return RunState::kPartlyUndone;
    }
  }
  return RunState::kUndone;
}

std::vector<std::size_t> RowsBackAfterUndo(const RestoreRecord& record, const UndoPlan& plan,
                                           const TextRules& rules) {
  if (plan.invalid || plan.stopped) return {};
  std::vector<bool> back(record.size(), false);
  for (std::size_t row = 0; row < record.size(); ++row) {
    back[row] = IsMovedRow(record.Row(row), rules);
  }
  // The changes back not made (stopped before them, or failed) are not back, nor are the
  // rows whose files were found nowhere; the others moved or stood at their old paths.
  const auto not_back = [&](const RowChange& change) {
    if (change.row >= 0 && static_cast<std::size_t>(change.row) < back.size()) {
      back[static_cast<std::size_t>(change.row)] = false;
    }
  };
  for (const RowChange& change : plan.back) {
    if (change.status != ChangeStatus::kDone && change.status != ChangeStatus::kUnchanged) {
      not_back(change);
    }
  }
  for (const RowChange& change : plan.not_back) not_back(change);
  // Counted first: a million rows, grown one by one, would hold half as much again spare.
  std::vector<std::size_t> rows;
  rows.reserve(static_cast<std::size_t>(std::count(back.begin(), back.end(), true)));
  for (std::size_t row = 0; row < back.size(); ++row) {
    if (back[row]) rows.push_back(row);
  }
  return rows;
}

std::string UndoneBytes(const std::vector<std::size_t>& rows) {
  if (rows.empty()) return {};
  std::string text = "[undone]\n";
  text.reserve(rows.size() * 12 + 16);
  for (const std::size_t row : rows) {
    text += std::to_string(row);
    text += "=back\n";
  }
  text += "end=1\n";
  return text;
}

bool AppendUndoneRows(FileSystem& file_system, const std::string& path,
                      const std::vector<std::size_t>& rows) {
  const std::string bytes = UndoneBytes(rows);
  return bytes.empty() || file_system.AppendFile(path, bytes);
}

std::string NewestNotUndone(FileSystem& file_system, const std::string& folder,
                            const TextRules& rules) {
  for (const std::string& path : ListRestoreFiles(file_system, folder, rules)) {
    FileRead bytes = file_system.ReadFile(path, kMaxRestoreFileBytes);
    if (!bytes) continue;
    const std::vector<std::size_t> undone = UndoneRows(*bytes);
    if (undone.empty()) return path;
    std::string().swap(*bytes);
    if (StateFromNote(RestoreRecord::Read(file_system, path), undone, rules) != RunState::kUndone) {
      return path;
    }
  }
  return {};
}

std::string RunStateText(RunState state) {
  switch (state) {
    case RunState::kPending:
      return "確認しています…";
    case RunState::kUndoable:
      return "元に戻せます";
    case RunState::kUndone:
      return "元に戻しました";
    case RunState::kPartlyUndone:
      return "一部を元に戻しました";
    case RunState::kNotAllUndoable:
      return "元に戻せないファイルがあります";
  }
  return {};
}

}  // namespace zefa
