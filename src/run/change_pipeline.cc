// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/change_pipeline.h"

namespace zefa {

ChangePlan PlanChanges(const RenameList& list, const RenameRequest& request,
                       FileSystem& file_system, const TextRules& rules, PlanDepth depth) {
  ChangePlan plan = ComposeChanges(list, request, rules);
  CheckChanges(plan, list, request, file_system, rules);
  if (depth == PlanDepth::kPlayedThrough) PlayThrough(plan, file_system, rules);
  return plan;
}

}  // namespace zefa
