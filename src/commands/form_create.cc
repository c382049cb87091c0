// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/form_create.h"

#include "names/compose_name.h"
#include "names/serial_numbers.h"
#include "settings/settings_keys.h"

namespace zefa {

FormCreateResult FormCreate(MainState& state, const Context& context,
                            const std::function<bool()>& check_for_update) {
  FormCreateResult result;
  state.path_scroll_factor = 6;
  const SettingsFile settings = context.Settings();
  const NamePattern pattern =
      NamePatternOf(settings.ReadInteger(keys::kSection, keys::kPattern, keys::kDefaultPattern));
  state.file_arrows_shown =
      !settings.ReadBool(keys::kSection, keys::kUpDownButtonRendo, keys::kDefaultUpDownButtonRendo);
  state.folder_numbers = ReadFolderNumbers(settings);
  if (settings.ReadBool(keys::kSection, keys::kUpdateCheck, keys::kDefaultUpdateCheck) &&
      check_for_update) {
    result.update_chosen = check_for_update();
  }
  state.serial_enabled = !IsPatternWithoutNumber(pattern);
  return result;
}

}  // namespace zefa
