// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/file_system.h"
#include "platform/program_paths.h"

/** The program folder of this run: ZEFA_ORU_DIR, a writable executable folder, or the user's
 * folders. */
zefa::ProgramPaths CurrentProgramPaths(zefa::FileSystem& file_system);
