// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/memory.h"

#include <cstdlib>  // defines __GLIBC__ with the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zefa {

void ReturnFreedMemory() {
#if defined(__GLIBC__)
  ::malloc_trim(0);
#endif
}

}  // namespace zefa
