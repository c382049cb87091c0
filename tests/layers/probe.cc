// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Builds only where the library it is compiled for may see ZEFA_PROBE_HEADER.
#include ZEFA_PROBE_HEADER
