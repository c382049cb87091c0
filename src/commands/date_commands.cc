// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/date_commands.h"

#include <memory>

#include "list/date_order.h"
#include "list/unique_name.h"
#include "platform/media_dates.h"
#include "platform/prompter.h"
#include "settings/options.h"

namespace zefa {
namespace {

std::optional<std::vector<std::int64_t>> ReadWithProgress(const RenameList& list,
                                                          const Context& context, MediaDates& media,
                                                          DateKind kind) {
  const std::unique_ptr<Progress> progress = context.prompter.StartProgress(
      kind == DateKind::kTaken ? kTakenProgressText : kModifiedProgressText,
      list.path.entries.size());
  return ReadDates(list.path.entries, kind, media,
                   [&](std::size_t done) { return progress->Advance(done); });
}

}  // namespace

void SortByDateClick(MainState& state, const Context& context, MediaDates& media, DateKind kind) {
  context.prompter.Beep(BeepKind::kWarning);
  const bool taken = kind == DateKind::kTaken;
  if (!context.prompter.Warn(taken ? kTakenOrderQuestion : kModifiedOrderQuestion)) return;
  std::optional<std::vector<std::int64_t>> dates =
      ReadWithProgress(state.list, context, media, kind);
  if (!dates) return;
  state.path_scroll_factor = 4;
  SortRowsByDate(state.list, std::move(*dates), kind, state.common_name,
                 ReadDeriveSettings(context.Settings()), context.rules);
  // As the sort: the new unique names and extensions lose their selection.
  state.view.unique.selected = -1;
  state.view.extension.selected = -1;
  state.view.selected_rows.clear();
}

void NameByDateClick(MainState& state, const Context& context, MediaDates& media) {
  NameByDate(state, context, media, ReadOption(context.Settings(), &Options::date_format));
}

void NameByDate(MainState& state, const Context& context, MediaDates& media,
                const std::string& format) {
  std::optional<std::vector<std::int64_t>> dates =
      ReadWithProgress(state.list, context, media, DateKind::kTaken);
  if (!dates) return;
  NameRowsByDate(state.list, std::move(*dates), format);
}

}  // namespace zefa
