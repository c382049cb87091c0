// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/form_create.h"

#include "names/compose_name.h"
#include "names/serial_numbers.h"
#include "settings/options.h"

namespace zefa {

FormCreateResult FormCreate(MainState& state, const Context& context,
                            const std::function<bool()>& check_for_update) {
  FormCreateResult result;
  state.path_scroll_factor = 6;
  const SettingsFile settings = context.Settings();
  const NamePattern pattern = NamePatternOf(ReadOption(settings, &Options::pattern));
  state.file_arrows_shown = !ReadOption(settings, &Options::arrows_move_unique);
  state.folder_numbers = ReadFolderNumbers(settings);
  if (ReadOption(settings, &Options::update_check) && check_for_update) {
    result.update_chosen = check_for_update();
  }
  state.serial_enabled = !IsPatternWithoutNumber(pattern);
  return result;
}

}  // namespace zefa
