// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/changed_ranges.h"

#include <gtest/gtest.h>

namespace zefa {
namespace {

using Ranges = std::vector<TextRange>;

TEST(ChangedRanges, MarksWhatWasTakenAwayAndWhatWasPutIn) {
  const struct {
    std::u16string before;
    std::u16string after;
    Ranges taken;
    Ranges put;
  } cases[] = {
      {u"IMG_0001", u"IMG_0001", {}, {}},
      // Full-width letters look like their ASCII twins in a proportional font.
      {u"ＡＢＣ１２３", u"ABC123", {{0, 6}}, {{0, 6}}},
      {u"写真_scan", u"写真", {{2, 5}}, {}},
      {u"a_b_c", u"a-b-c", {{1, 1}, {3, 1}}, {{1, 1}, {3, 1}}},
      {u"ｶﾞｿﾞｳ", u"ガゾウ", {{0, 5}}, {{0, 3}}},
      // A character outside the basic plane is two units, never marked by halves.
      {u"x\U0001F600y", u"x\U0001F601y", {{1, 2}}, {{1, 2}}},
      {u"", u"new", {}, {{0, 3}}},
  };
  for (const auto& c : cases) {
    const ChangedRanges ranges = FindChangedRanges(c.before, c.after);
    EXPECT_EQ(ranges.before, c.taken);
    EXPECT_EQ(ranges.after, c.put);
  }
  // A very long name marks its differing middle whole.
  const std::u16string long_before = u"a" + std::u16string(1000, u'x') + u"b";
  const std::u16string long_after = u"a" + std::u16string(1000, u'y') + u"b";
  EXPECT_EQ(FindChangedRanges(long_before, long_after).after, (Ranges{{1, 1000}}));
}

}  // namespace
}  // namespace zefa
