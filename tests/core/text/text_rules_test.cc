// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/text_rules.h"

#include <gtest/gtest.h>

namespace zefa {
namespace {

TEST(FindText, EmptyPatternIsNeverFound) {
  EXPECT_EQ(FindText("abc", "", CodePage::kUtf8), kNotFound);
}

}  // namespace
}  // namespace zefa
