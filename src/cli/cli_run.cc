// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/cli_run.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

#include "change/row_change.h"
#include "cli/cli_prompter.h"
#include "cli/json_writer.h"
#include "commands/add_file_command.h"
#include "commands/context.h"
#include "commands/date_commands.h"
#include "commands/find_replace_command.h"
#include "commands/main_state.h"
#include "commands/preview_command.h"
#include "commands/rename_command.h"
#include "commands/sort_command.h"
#include "commands/undo_command.h"
#include "names/name_replace.h"
#include "names/presets.h"
#include "platform/current_folder.h"
#include "platform/media_dates.h"
#include "record/run_history.h"
#include "run/rename_execution.h"
#include "settings/options.h"
#include "startup/command_line.h"
#include "text/name_text.h"
#include "text/uri_list.h"

namespace zefa {
namespace {

const char* CommandWord(CliCommand command) {
  switch (command) {
    case CliCommand::kPreview:
      return "preview";
    case CliCommand::kRename:
      return "rename";
    case CliCommand::kUndo:
      return "undo";
    case CliCommand::kHistory:
      return "history";
  }
  return "";
}

// The naming settings of a preset, as ReadNameSettings reads them from the settings file.
NameSettings NameSettingsOf(const Options& values) {
  NameSettings naming;
  naming.digits = values.digits;
  naming.pattern = NamePatternOf(values.pattern);
  naming.separator = values.space_between ? " " : "";
  if (values.number_brackets) {
    naming.open_bracket = values.number_open;
    naming.close_bracket = values.number_close;
  }
  naming.folder_numbers = values.folder_numbers;
  return naming;
}

// The naming settings of the preset or the settings file, with what the command line gives
// instead.
NameSettings NamingOf(const CliOptions& options, const SettingsFile& settings,
                      const std::optional<Preset>& preset) {
  NameSettings naming = preset ? NameSettingsOf(preset->naming) : ReadNameSettings(settings);
  if (options.digits) naming.digits = *options.digits;
  if (options.pattern) naming.pattern = NamePatternOf(*options.pattern);
  if (options.space) naming.separator = *options.space ? " " : "";
  if (options.per_folder) naming.folder_numbers = *options.per_folder;
  if (options.no_brackets) {
    naming.open_bracket.clear();
    naming.close_bracket.clear();
  } else if (options.open_bracket || options.close_bracket) {
    // One bracket given turns them on; the other is the preset's or the settings' own.
    naming.open_bracket = options.open_bracket.value_or(
        preset ? preset->naming.number_open : ReadOption(settings, &Options::number_open));
    naming.close_bracket = options.close_bracket.value_or(
        preset ? preset->naming.number_close : ReadOption(settings, &Options::number_close));
  }
  return naming;
}

ReplaceRule RuleOf(const CliOptions& options) {
  ReplaceRule rule;
  rule.search = options.find.value_or("");
  rule.replacement = options.replace;
  rule.regex = options.regex;
  rule.match_case = !options.ignore_case;
  rule.target = options.target_extension ? ReplaceTarget::kExtension : ReplaceTarget::kUniqueName;
  rule.to_half_width = options.half_width;
  rule.to_full_width_kana = options.full_kana;
  rule.case_change = options.upper   ? CaseChange::kUpper
                     : options.lower ? CaseChange::kLower
                                     : CaseChange::kNone;
  rule.compose = options.nfc;
  return rule;
}

// Paths as given, then those read from standard input (NUL-separated) with -0.
std::vector<std::string> GivenPaths(const CliOptions& options, CliEnvironment& env) {
  std::vector<std::string> given = options.paths;
  if (options.null_input) {
    std::string path;
    for (std::istreambuf_iterator<char> it(env.in), end; it != end; ++it) {
      if (*it != '\0') {
        path += *it;
      } else if (!path.empty()) {
        given.push_back(std::move(path));
        path.clear();
      }
    }
    if (!path.empty()) given.push_back(std::move(path));
  }
  return ArgumentPaths(given, env.current_folder);
}

/** One subcommand's run: its prompter, context and the texts of its language. */
class Session {
 public:
  Session(const CliOptions& options, CliEnvironment& env)
      : options_(options),
        env_(env),
        prompter_(env.err, !options.no_restore, env.err_is_terminal),
        context_{prompter_, env.file_system, env.paths, NativeTextRules()} {}

  int Preview();
  int Rename();
  int Undo();
  int History();

 private:
  const char* Say(const char* japanese, const char* english) const {
    return env_.japanese ? japanese : english;
  }
  MediaDates& Media() {
    if (env_.media != nullptr) return *env_.media;
    if (!own_media_) own_media_ = std::make_unique<NativeMediaDates>();
    return *own_media_;
  }
  // Gathers the list as the window would: the files added, ordered, named and replaced.
  // An exit status when the command ends here.
  std::optional<int> GatherList(MainState& state);
  void WriteErrors(JsonWriter& json) {
    json.OpenArray("errors");
    for (const std::string& error : prompter_.errors()) json.TextElement(TerminalLines(error));
    json.CloseArray();
  }
  int Refused(std::string_view command) {
    if (options_.json) {
      JsonWriter json(env_.out);
      json.Open().Text("command", command).Text("status", "refused");
      WriteErrors(json);
      json.Close().End();
    }
    return kExitRefused;
  }
  int Stopped(std::string_view command) {
    env_.err << "zefa-oru: "
             << Say("中止しました。何もリネームしていません。", "stopped; nothing was renamed")
             << '\n';
    if (options_.json) {
      JsonWriter json(env_.out);
      json.Open().Text("command", command).Text("status", "stopped").Number("renamed", 0);
      json.Close().End();
    }
    return kExitStopped;
  }

  const CliOptions& options_;
  CliEnvironment& env_;
  CliPrompter prompter_;
  Context context_;
  std::unique_ptr<MediaDates> own_media_;
  std::optional<Preset> preset_;
};

std::optional<int> Session::GatherList(MainState& state) {
  const char* command = CommandWord(options_.command);
  if (options_.preset) {
    preset_ = LoadPreset(context_.file_system, context_.paths, *options_.preset, context_.rules);
    if (!preset_) {
      prompter_.Error(Say("プリセットがありません: ", "no preset named ") + *options_.preset);
      return kExitUsage;
    }
  }
  state.common_name = options_.name ? *options_.name : preset_ ? preset_->common_name : "";
  // A name with tokens reads the files' facts as the window does; any other starts no reader.
  if (state.common_name.find('{') != std::string::npos) context_.media = &Media();
  state.start_number = options_.start;
  prompter_.SetProgressLabel(Say("", "adding"));
  DropFiles(state, context_, GivenPaths(options_, env_));
  if (StopRequested()) return Stopped(command);
  // The files the window would refuse to list, in its words: nothing is renamed then.
  const std::vector<std::string> refused = prompter_.TakeInformed();
  if (!refused.empty()) {
    for (const std::string& text : refused) env_.err << "zefa-oru: " << TerminalLines(text) << '\n';
    if (options_.json) {
      JsonWriter json(env_.out);
      json.Open().Text("command", command).Text("status", "refused").OpenArray("errors");
      for (const std::string& text : refused) json.TextElement(TerminalLines(text));
      json.CloseArray().Close().End();
    }
    return kExitRefused;
  }
  switch (options_.order) {
    case CliOrder::kList:
      break;
    case CliOrder::kName:
      Button11Click(state, context_);
      break;
    case CliOrder::kTaken:
    case CliOrder::kModified:
      prompter_.SetProgressLabel(Say("", "reading dates"));
      SortByDateClick(state, context_, Media(),
                      options_.order == CliOrder::kTaken ? DateKind::kTaken : DateKind::kModified);
      break;
  }
  if (StopRequested()) return Stopped(command);
  if (options_.unique_from_date) {
    prompter_.SetProgressLabel(Say("", "reading dates"));
    if (options_.unique_from_date->empty() && preset_) {
      NameByDate(state, context_, Media(), preset_->naming.date_format);
    } else if (options_.unique_from_date->empty()) {
      NameByDateClick(state, context_, Media());
    } else {
      NameByDate(state, context_, Media(), *options_.unique_from_date);
    }
    if (StopRequested()) return Stopped(command);
  }
  // The command line's rule, else the preset's own when it has one.
  std::optional<ReplaceRule> rule;
  if (options_.Replaces()) {
    rule = RuleOf(options_);
  } else if (preset_ && (!preset_->rule.search.empty() || preset_->rule.to_half_width ||
                         preset_->rule.to_full_width_kana || preset_->rule.compose ||
                         preset_->rule.case_change != CaseChange::kNone)) {
    rule = preset_->rule;
  }
  if (rule) {
    ReplaceScan scan(state.list, *rule, context_.rules);
    scan.Finish();
    if (!ApplyFindReplace(state, scan)) {
      prompter_.Error(scan.error());
      if (scan.Broken()) return kExitUsage;
      return Refused(command);
    }
  }
  return std::nullopt;
}

int Session::Preview() {
  MainState state;
  if (const std::optional<int> ended = GatherList(state)) return *ended;
  const NameSettings naming = NamingOf(options_, context_.Settings(), preset_);
  const std::optional<zefa::Preview> preview = BuildPreview(state, context_, naming);
  if (!preview) return Refused("preview");
  const int failures = [&] {
    int count = 0;
    for (int row = 0; row < preview->size(); ++row) count += preview->WillFail(row);
    return count;
  }();
  const int status = preview->RunRefused() ? kExitRefused
                     : failures > 0        ? kExitSomeRows
                                           : kExitDone;
  if (options_.json) {
    JsonWriter json(env_.out);
    json.Open().Text("command", "preview").Number("files", preview->size());
    json.Number("failures", failures).Bool("run_refused", preview->RunRefused());
    json.OpenArray("rows");
    for (int row = 0; row < preview->size(); ++row) {
      const std::string_view old_path = preview->Before(row, true);
      const std::string new_path =
          std::string(FolderPart(old_path, context_.rules)) + std::string(preview->After(row));
      json.Object().Path("old", old_path).Path("new", new_path);
      json.Bool("fails", preview->WillFail(row));
      json.Text("reason", TerminalLines(preview->FailureReasonText(row))).Close();
    }
    json.CloseArray();
    json.Text("summary", TerminalLines(preview->FailureCountText()));
    json.Text("digits", TerminalLines(preview->DigitsText()));
    WriteErrors(json);
    json.Close().End();
    return status;
  }
  for (int row = 0; row < preview->size(); ++row) {
    env_.out << DisplayPath(preview->Before(row, true)) << " → "
             << DisplayPath(preview->After(row));
    if (preview->WillFail(row)) {
      env_.out << "  [" << TerminalLines(preview->FailureReasonText(row)) << ']';
    }
    env_.out << '\n';
  }
  for (const std::string& line : {preview->FailureCountText(), preview->DigitsText()}) {
    if (!line.empty()) env_.out << TerminalLines(line) << '\n';
  }
  return status;
}

int Session::Rename() {
  MainState state;
  if (const std::optional<int> ended = GatherList(state)) return *ended;
  const NameSettings naming = NamingOf(options_, context_.Settings(), preset_);
  RunOutcome outcome;
  if (RowCount(state.list) > 0) {
    prompter_.SetProgressLabel(Say("", "renaming"));
    try {
      outcome = RenameRun(state.list, state.common_name, state.start_number, naming, context_);
    } catch (const std::exception& error) {
      // The restore file could not be written: nothing was renamed.
      prompter_.ApplicationError(error.what());
      return Refused("rename");
    }
    prompter_.TakeInformed();  // the window's completion boxes: the summary below says it
    if (!outcome.reached_loop) return Refused("rename");
  }

  // Each row once: a change of case through a temporary name counts at its second step,
  // from the first step's old path.
  struct Row {
    std::string_view old_path;
    const RowChange* change;
  };
  std::vector<Row> rows;
  rows.reserve(outcome.plan.changes.size());
  std::string_view first_old;
  for (const RowChange& change : outcome.plan.changes) {
    if (change.step == ChangeStep::kToTemporary) {
      first_old = change.old_path();
      continue;
    }
    rows.push_back(
        {change.step == ChangeStep::kFromTemporary ? first_old : change.old_path(), &change});
  }
  std::size_t renamed = 0, unchanged = 0, failed = 0, not_reached = 0;
  for (const Row& row : rows) {
    const ChangeStatus status = row.change->status;
    renamed += status == ChangeStatus::kDone;
    unchanged += status == ChangeStatus::kUnchanged;
    failed += status == ChangeStatus::kFailed;
    not_reached += status == ChangeStatus::kPlanned;
    if (status == ChangeStatus::kFailed) {
      env_.err << "zefa-oru: " << DisplayPath(row.old_path) << " → "
               << DisplayPath(row.change->new_path()) << ": " << ReasonText(*row.change) << '\n';
    }
  }
  const int status = outcome.stopped ? kExitStopped : failed > 0 ? kExitSomeRows : kExitDone;
  if (options_.json) {
    JsonWriter json(env_.out);
    json.Open().Text("command", "rename");
    json.Text("status", outcome.stopped ? "stopped" : failed > 0 ? "failed" : "done");
    json.Number("files", static_cast<std::int64_t>(rows.size()));
    json.Number("renamed", static_cast<std::int64_t>(renamed));
    json.Number("unchanged", static_cast<std::int64_t>(unchanged));
    json.Number("failed", static_cast<std::int64_t>(failed));
    json.Number("not_reached", static_cast<std::int64_t>(not_reached));
    if (outcome.restore_path.empty()) {
      json.Null("restore_file");
    } else {
      json.Path("restore_file", outcome.restore_path);
    }
    json.OpenArray("rows");
    for (const Row& row : rows) {
      const ChangeStatus row_status = row.change->status;
      json.Object().Path("old", row.old_path).Path("new", row.change->new_path());
      json.Text("status", row_status == ChangeStatus::kDone        ? "renamed"
                          : row_status == ChangeStatus::kUnchanged ? "unchanged"
                          : row_status == ChangeStatus::kPlanned   ? "not_reached"
                                                                   : "failed");
      json.Text("reason", ReasonText(*row.change)).Close();
    }
    json.CloseArray();
    WriteErrors(json);
    json.Close().End();
    return status;
  }
  const std::string moved = std::to_string(renamed + unchanged);
  const std::string total = std::to_string(rows.size());
  if (outcome.stopped) {
    env_.out << (env_.japanese ? "リネームを中止しました。" + total + " 個のファイルのうち " +
                                     moved + " 個をリネームしました。"
                               : "stopped: renamed " + moved + " of " + total + " files")
             << '\n';
  } else {
    env_.out << (env_.japanese ? total + " 個のファイルのうち " + moved + " 個をリネームしました。"
                               : "renamed " + moved + " of " + total + " files")
             << '\n';
  }
  if (!outcome.restore_path.empty()) {
    env_.out << Say("リストアファイル: ", "restore file: ") << DisplayPath(outcome.restore_path)
             << '\n';
  }
  return status;
}

int Session::Undo() {
  std::string path;
  if (options_.last) {
    // The record the window's undo offers first: the newest not undone.
    path = NewestNotUndone(context_.file_system, context_.paths.restore_folder, context_.rules);
    if (path.empty()) {
      prompter_.Error(
          Say("元に戻せるリストアファイルがありません", "there is no run left to undo"));
      return Refused("undo");
    }
  } else {
    path = AbsoluteArgumentPath(options_.restore_file, env_.current_folder);
  }
  prompter_.SetProgressLabel(Say("", "undoing"));
  UndoOutcome outcome;
  try {
    outcome = UndoRecord(context_, path);
  } catch (const std::exception& error) {
    prompter_.ApplicationError(error.what());
    return Refused("undo");
  }
  prompter_.TakeInformed();
  if (outcome.plan.invalid) return Refused("undo");
  const bool stopped = outcome.plan.stopped || outcome.result.stopped;
  // A change of the undo goes from the run's new path back to its old one.
  for (const RowChange& change : outcome.not_back) {
    env_.err << "zefa-oru: " << DisplayPath(change.old_path()) << ": " << ReasonText(change)
             << '\n';
  }
  const std::size_t planned = outcome.plan.back.size();
  const std::size_t back = outcome.result.done;
  const int status = stopped ? kExitStopped : outcome.not_back.empty() ? kExitDone : kExitSomeRows;
  if (options_.json) {
    JsonWriter json(env_.out);
    json.Open().Text("command", "undo").Path("restore_file", path);
    json.Text("status", stopped ? "stopped" : outcome.not_back.empty() ? "done" : "failed");
    json.Number("rows", outcome.record.Count())
        .Number("to_give_back", static_cast<std::int64_t>(planned));
    json.Number("given_back", static_cast<std::int64_t>(back));
    json.OpenArray("not_given_back");
    for (const RowChange& change : outcome.not_back) {
      json.Object().Path("old", change.new_path()).Path("new", change.old_path());
      json.Text("reason", ReasonText(change)).Close();
    }
    json.CloseArray();
    WriteErrors(json);
    json.Close().End();
    return status;
  }
  const std::string done = std::to_string(back), total = std::to_string(planned);
  if (stopped) {
    env_.out << (env_.japanese ? "元に戻す処理を中止しました。" + total + " 個のファイルのうち " +
                                     done + " 個を元に戻しました。"
                               : "stopped: gave back " + done + " of " + total + " files")
             << '\n';
  } else {
    env_.out << (env_.japanese ? total + " 個のファイルのうち " + done + " 個を元に戻しました。"
                               : "gave back " + done + " of " + total + " files")
             << '\n';
  }
  return status;
}

int Session::History() {
  // The history window's lines, each completed from its whole record.
  std::vector<RunSummary> runs;
  for (const std::string& path :
       ListRestoreFiles(context_.file_system, context_.paths.restore_folder, context_.rules)) {
    runs.push_back(ReadRunHead(context_.file_system, path, context_.rules));
    CompleteRunSummary(runs.back(), context_.file_system, context_.rules);
  }
  const auto date_text = [](const RunSummary& run) {
    if (!run.time) return std::string();
    char text[64];
    const LocalTime& t = *run.time;
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return run.attempt > 1 ? std::string(text) + " (" + std::to_string(run.attempt) + ")"
                           : std::string(text);
  };
  const auto state_word = [](RunState state) {
    switch (state) {
      case RunState::kUndoable:
        return "undoable";
      case RunState::kUndone:
        return "undone";
      case RunState::kPartlyUndone:
        return "partly_undone";
      case RunState::kNotAllUndoable:
        return "not_all_undoable";
      case RunState::kPending:
        break;
    }
    return "pending";
  };
  if (options_.json) {
    JsonWriter json(env_.out);
    json.Open().Text("command", "history").Path("restore_folder", context_.paths.restore_folder);
    json.OpenArray("restore_files");
    for (const RunSummary& run : runs) {
      json.Object().Path("path", run.path).Text("date", date_text(run)).Number("rows", run.count);
      if (run.many_folders) {
        json.Null("folder");
      } else {
        json.Path("folder", run.folder);
      }
      json.Text("state", state_word(run.state)).Text("state_text", RunStateText(run.state));
      json.Bool("undone", run.state == RunState::kUndone).Close();
    }
    json.CloseArray().Close().End();
    return kExitDone;
  }
  for (const RunSummary& run : runs) {
    env_.out << date_text(run) << '\t' << run.count << '\t'
             << (run.many_folders ? Say("複数のフォルダ", "(several folders)")
                                  : DisplayPath(run.folder))
             << '\t' << (env_.japanese ? RunStateText(run.state) : state_word(run.state)) << '\t'
             << DisplayPath(run.path) << '\n';
  }
  return kExitDone;
}

}  // namespace

int RunCommandLine(CliCommand command, const std::vector<std::string>& arguments,
                   CliEnvironment& environment) {
  const CliOptions options = ParseCliOptions(command, arguments, environment.japanese);
  if (!options.usage_error.empty()) {
    environment.err << "zefa-oru " << CommandWord(command) << ": " << options.usage_error << '\n'
                    << (environment.japanese ? "詳しくは「zefa-oru " : "Try 'zefa-oru ")
                    << CommandWord(command)
                    << (environment.japanese ? " --help」を見てください。\n" : " --help'.\n");
    return kExitUsage;
  }
  if (options.help) {
    environment.out << CliUsageText(command, environment.japanese);
    return kExitDone;
  }
  Session session(options, environment);
  switch (command) {
    case CliCommand::kPreview:
      return session.Preview();
    case CliCommand::kRename:
      return session.Rename();
    case CliCommand::kUndo:
      return session.Undo();
    case CliCommand::kHistory:
      return session.History();
  }
  return kExitUsage;
}

int CommandLineMain(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::optional<CliCommand> command = CliCommandOf(argc > 1 ? argv[1] : "");
  if (!command) return kExitUsage;
  InstallStopSignals();
  NativeFileSystem file_system;
  CliEnvironment environment{file_system,      CurrentProgramPaths(file_system),
                             CurrentFolder(),  std::cin,
                             std::cout,        std::cerr,
                             JapaneseLocale(), ::isatty(STDERR_FILENO) == 1};
  const int status =
      RunCommandLine(*command, std::vector<std::string>(argv + 2, argv + argc), environment);
  std::cout.flush();
  return status;
}

}  // namespace zefa
