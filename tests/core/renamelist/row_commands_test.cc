// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/row_commands.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "list_fixture.h"

namespace zefa {
namespace {

using Strings = std::vector<std::string>;
using Selections = std::array<int, 4>;  // number, path, unique name, extension

enum class Press { k7Down, k6Up, k9UniqueDown, k8UniqueUp, k5Remove };

struct RowCase {
  const char* name;
  bool linked;
  Selections before;
  Press press;
  // Each column as the digits of its entries ("13245": rows 2 and 3 exchanged).
  const char* numbers;
  const char* paths;
  const char* uniques;
  const char* extensions;
  Selections after;
  int messages;  // how many times the command's message was shown
};

const char* MessageOf(Press press) {
  return press == Press::k5Remove ? kSelectRowToRemove : kSelectRowForMove;
}

class RowCommands : public ListFixture, public ::testing::WithParamInterface<RowCase> {
 protected:
  void Press(enum Press press) {
    const Context context = MakeContext();
    switch (press) {
      case Press::k7Down:
        return Button7Click(state, context);
      case Press::k6Up:
        return Button6Click(state, context);
      case Press::k9UniqueDown:
        return Button9Click(state, context);
      case Press::k8UniqueUp:
        return Button8Click(state, context);
      case Press::k5Remove:
        return Button5Click(state, context);
    }
  }
  static std::string Digits(const ListColumn& column) {
    std::string digits;
    for (const std::string& entry : column.Texts()) digits += entry.back();
    return digits;
  }
};

TEST_P(RowCommands, MoveAndRemoveKeepTheColumnsInStep) {
  const RowCase& c = GetParam();
  WriteSettings(c.linked ? "UpDownButton_rendo=1\n" : "UpDownButton_rendo=0\n");
  AddRows({{"p1", "u1", "e1"},
           {"p2", "u2", "e2"},
           {"p3", "u3", "e3"},
           {"p4", "u4", "e4"},
           {"p5", "u5", "e5"}});
  const RenameList& list = state.list;
  ListView& view = state.view;
  view.number.selected = c.before[0];
  view.path.selected = c.before[1];
  view.unique.selected = c.before[2];
  view.extension.selected = c.before[3];

  Press(c.press);

  EXPECT_EQ(Digits(list.number), c.numbers);
  EXPECT_EQ(Digits(list.path), c.paths);
  EXPECT_EQ(Digits(list.unique), c.uniques);
  EXPECT_EQ(Digits(list.extension), c.extensions);
  const Selections after{view.number.selected, view.path.selected, view.unique.selected,
                         view.extension.selected};
  EXPECT_EQ(after, c.after);
  EXPECT_EQ(prompter.log, Strings(static_cast<std::size_t>(c.messages),
                                  std::string("inform ") + MessageOf(c.press)));
}

constexpr Selections kRow1{1, 1, 1, 1};
constexpr Selections kNone{-1, -1, -1, -1};
constexpr Selections kAfterSort{1, 1, -1, -1};

INSTANTIATE_TEST_SUITE_P(
    Cases, RowCommands,
    ::testing::Values(RowCase{"LinkedUniqueDownMovesTheRow",
                              true,
                              kRow1,
                              Press::k9UniqueDown,
                              "12345",
                              "13245",
                              "13245",
                              "13245",
                              {2, 2, 2, 2},
                              0},
                      RowCase{"LinkedUniqueUpMovesTheRow",
                              true,
                              {3, 3, 3, 3},
                              Press::k8UniqueUp,
                              "12345",
                              "12435",
                              "12435",
                              "12435",
                              {2, 2, 2, 2},
                              0},
                      RowCase{"FileDownLeavesUniqueNames",
                              false,
                              kRow1,
                              Press::k7Down,
                              "12345",
                              "13245",
                              "12345",
                              "13245",
                              {2, 2, 1, 2},
                              0},
                      RowCase{"FileUpLeavesUniqueNames",
                              false,
                              kRow1,
                              Press::k6Up,
                              "12345",
                              "21345",
                              "12345",
                              "21345",
                              {0, 0, 1, 0},
                              0},
                      RowCase{"UnlinkedUniqueDownMovesTheNameAlone",
                              false,
                              kRow1,
                              Press::k9UniqueDown,
                              "12345",
                              "12345",
                              "13245",
                              "12345",
                              {1, 1, 2, 1},
                              0},
                      RowCase{"UniqueDownOnTheLastRowDoesNothing",
                              true,
                              {4, 4, 4, 4},
                              Press::k9UniqueDown,
                              "12345",
                              "12345",
                              "12345",
                              "12345",
                              {4, 4, 4, 4},
                              0},
                      RowCase{"UniqueUpOnTheFirstRowDoesNothing",
                              true,
                              {0, 0, 0, 0},
                              Press::k8UniqueUp,
                              "12345",
                              "12345",
                              "12345",
                              "12345",
                              {0, 0, 0, 0},
                              0},
                      RowCase{"FileDownOnTheLastRowDoesNothing",
                              false,
                              {4, 4, 4, 4},
                              Press::k7Down,
                              "12345",
                              "12345",
                              "12345",
                              "12345",
                              {4, 4, 4, 4},
                              0},
                      RowCase{"FileUpOnTheFirstRowDoesNothing",
                              false,
                              {0, 0, 0, 0},
                              Press::k6Up,
                              "12345",
                              "12345",
                              "12345",
                              "12345",
                              {0, 0, 0, 0},
                              0},
                      RowCase{"LinkedUniqueDownWithNothingSelectedAsksTwice", true, kNone,
                              Press::k9UniqueDown, "12345", "12345", "12345", "12345", kNone, 2},
                      RowCase{"LinkedUniqueUpWithNothingSelectedAsksTwice", true, kNone,
                              Press::k8UniqueUp, "12345", "12345", "12345", "12345", kNone, 2},
                      RowCase{"UnlinkedUniqueDownWithNothingSelectedAsksOnce", false, kNone,
                              Press::k9UniqueDown, "12345", "12345", "12345", "12345", kNone, 1},
                      RowCase{"FileDownWithNothingSelectedAsks", false, kNone, Press::k7Down,
                              "12345", "12345", "12345", "12345", kNone, 1},
                      RowCase{"FileUpWithNothingSelectedAsks", false, kNone, Press::k6Up, "12345",
                              "12345", "12345", "12345", kNone, 1},
                      // Right after a sort the extension, having no selection, moves with its file.
                      RowCase{"FileDownAfterSort",
                              false,
                              kAfterSort,
                              Press::k7Down,
                              "12345",
                              "13245",
                              "12345",
                              "13245",
                              {2, 2, -1, 2},
                              0},
                      RowCase{"FileUpAfterSort",
                              false,
                              kAfterSort,
                              Press::k6Up,
                              "12345",
                              "21345",
                              "12345",
                              "21345",
                              {0, 0, -1, 0},
                              0},
                      RowCase{"LinkedUniqueDownAfterSortMovesTheFile",
                              true,
                              kAfterSort,
                              Press::k9UniqueDown,
                              "12345",
                              "13245",
                              "12345",
                              "13245",
                              {2, 2, -1, 2},
                              1},
                      // An extension selection that cannot move that way follows the file as well.
                      RowCase{"ExtensionStuckAtTheEndFollowsTheFile",
                              false,
                              {1, 1, 1, 4},
                              Press::k7Down,
                              "12345",
                              "13245",
                              "12345",
                              "13245",
                              {2, 2, 1, 2},
                              0},
                      RowCase{"RemoveTheSelectedRow", true, kRow1, Press::k5Remove, "1234", "1345",
                              "1345", "1345", kNone, 0},
                      RowCase{"RemoveAfterSortTakesTheSameRowEverywhere", true, kAfterSort,
                              Press::k5Remove, "1234", "1345", "1345", "1345", kNone, 0},
                      // With the link off each column removes its own selected entry.
                      RowCase{"RemoveWithSelectionsApart",
                              false,
                              {2, 2, 1, 2},
                              Press::k5Remove,
                              "1234",
                              "1245",
                              "1345",
                              "1245",
                              kNone,
                              0},
                      RowCase{"RemoveWithNothingSelectedAsks", true, kNone, Press::k5Remove,
                              "12345", "12345", "12345", "12345", kNone, 1}),
    [](const ::testing::TestParamInfo<RowCase>& param) { return param.param.name; });

TEST_F(ListFixture, CommandsOnAnEmptyListSayNothingButRemove) {
  const Context context = MakeContext();
  Button7Click(state, context);
  Button6Click(state, context);
  Button9Click(state, context);
  Button8Click(state, context);
  EXPECT_EQ(prompter.log, Strings{});
  Button5Click(state, context);
  EXPECT_EQ(prompter.log, Strings{std::string("inform ") + kSelectRowToRemove});
  EXPECT_TRUE(state.list.empty());
}

TEST_F(ListFixture, RemovalClearsTheLabelsKeepsTypedTextAndForgetsTheFile) {
  AddRows({{"p1", "u1", "e1"}, {"p2", "u2", "e2"}, {"p3", "u3", "e3"}});
  state.start_number = 10;
  state.unique_name_row = "3";
  state.extension_row = "3";
  state.typed_unique_name = "kept";
  state.unique_name_typed = true;
  state.typed_extension = "e3";  // put there by the program: it goes with the row
  state.view.SelectAll(1);
  state.view.path.top = 2;
  EXPECT_EQ(Label10Text(state), "12");
  Button5Click(state, MakeContext());
  EXPECT_EQ(state.list.number.Texts(), (Strings{"1", "2"}));
  EXPECT_EQ(Label10Text(state), "11");
  // No label names a row past the list's end.
  EXPECT_EQ(state.unique_name_row, "0");
  EXPECT_EQ(state.extension_row, "0");
  EXPECT_EQ(state.typed_unique_name, "kept");
  EXPECT_EQ(state.typed_extension, "");
  EXPECT_FALSE(state.list.HoldsFile("p2"));
  EXPECT_TRUE(state.list.HoldsFile("p3"));
  EXPECT_LT(state.view.path.top, state.list.size());
}

struct ChangeCase {
  const char* name;
  bool extension;  // Button14 on Edit3, else Button1 on Edit1
  int selected;
  const char* typed;
  const char* stored;     // the selected entry afterwards
  const char* edit_left;  // the edit field afterwards
  Strings log;
};

class ChangeCommands : public ListFixture, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeCommands, SetTheSelectedEntryAsTyped) {
  const ChangeCase& c = GetParam();
  AddRows({{"p1", "u1", ".e1"}, {"p2", "u2", ".e2"}});
  ListColumn& column = c.extension ? state.list.extension : state.list.unique;
  ColumnView& view = c.extension ? state.view.extension : state.view.unique;
  std::string& edit = c.extension ? state.typed_extension : state.typed_unique_name;
  view.selected = c.selected;
  edit = c.typed;
  if (c.extension) {
    Button14Click(state, MakeContext());
  } else {
    Button1Click(state, MakeContext());
  }
  EXPECT_EQ(column.entries[1], c.stored);
  EXPECT_EQ(view.selected, c.selected);
  EXPECT_EQ(edit, c.edit_left);
  EXPECT_EQ(prompter.log, c.log);
}

const Strings kColonError{"beep error", "error 使えない文字\":\"が含まれています"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeCommands,
    ::testing::Values(
        ChangeCase{"UniqueName", false, 1, " new ", " new ", "", {}},
        ChangeCase{"EmptyUniqueName", false, 1, "", "", "", {}},
        ChangeCase{"UniqueNameWithQuestionMark", false, 1, "why?", "why?", "", {}},
        ChangeCase{"UniqueNameWithColon", false, 1, "a:b", "u2", "a:b", kColonError},
        ChangeCase{
            "UniqueNameNothingSelected", false, -1, "x", "u2", "x", {"inform 選択してください"}},
        ChangeCase{"ExtensionWithoutDot", true, 1, "txt", "txt", "", {}},
        ChangeCase{"ExtensionWithColonAndStar", true, 1, "*:", ".e2", "*:", kColonError},
        ChangeCase{
            "ExtensionNothingSelected", true, -1, "x", ".e2", "x", {"inform 選択してください"}}),
    [](const ::testing::TestParamInfo<ChangeCase>& param) { return param.param.name; });

}  // namespace
}  // namespace zefa
