// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "commands/edit_menu_commands.h"
#include "commands/row_commands.h"
#include "list_fixture.h"

namespace zefa {
namespace {

using Strings = std::vector<std::string>;

class FolderAddTest : public ListFixture {
 protected:
  void Link(const std::string& target, const std::string& name) {
    std::filesystem::create_symlink(target, dir / name);
  }
  // The listed paths with the test folder taken off their front.
  Strings Listed() const {
    Strings listed;
    for (const std::string& path : state.list.path.entries) {
      listed.push_back(path.substr(dir.path().size()));
    }
    return listed;
  }
};

TEST_F(FolderAddTest, AddsTheFilesFolderByFolderInNaturalOrderSkippingHiddenAndLinkedFolders) {
  for (const char* name :
       {"trip/b.txt", "trip/IMG_10.jpg", "trip/img_2.jpg", "trip/.hidden.jpg", "trip/.cache/x.jpg",
        "trip/day2/z.jpg", "trip/Day10/y.jpg", "trip/day2/deep/a.jpg", "elsewhere/out.jpg"}) {
    dir.Touch(name);
  }
  Link(dir / "elsewhere", "trip/linked_folder");
  Link(dir / "trip", "trip/day2/loop");
  Link(dir / "elsewhere/out.jpg", "trip/linked_file.jpg");
  Link(dir / "nothing", "trip/dangling.jpg");

  DropFiles(state, MakeContext(), {dir / "trip"});
  EXPECT_EQ(prompter.log, Strings{});
  // A folder's own files come before its subfolders; a link to a file counts as the file.
  EXPECT_EQ(Listed(),
            (Strings{"trip/b.txt", "trip/img_2.jpg", "trip/IMG_10.jpg", "trip/linked_file.jpg",
                     "trip/day2/z.jpg", "trip/day2/deep/a.jpg", "trip/Day10/y.jpg"}));
  EXPECT_EQ(state.list.unique.entries.front(), "b");
  EXPECT_EQ(prompter.progress, Strings{"ファイルを追加しています 0"});
}

TEST_F(FolderAddTest, RefusalsOfAFolderAreCollectedAndTheRestoreFolderIsLeftOut) {
  // The program's folder itself: its settings file, the program and the restore folder.
  WriteSettings("UpdateCheck=0\n");
  dir.Touch("restore/2026年1月1日.zefa");
  dir.Touch("photos/a.jpg");
  Link(dir / "photos/a.jpg", "photos/same_file.jpg");
  DropFiles(state, MakeContext(), {dir.path()});
  EXPECT_EQ(Listed(), (Strings{"ZeFa_oru.ini", "photos/a.jpg"}));
  EXPECT_EQ(prompter.log,
            (Strings{"inform " + std::string(kOwnProgramMessage) + "\n\r" + paths.executable_path,
                     "inform 既に追加されているファイルです。一つのファイルを二重登録することは"
                     "できません。\n\r" +
                         dir / "photos/same_file.jpg"}));

  // Dropped again with a file and something that is neither: one box per kind.
  prompter.log.clear();
  DropFiles(state, MakeContext(), {dir / "photos", dir / "missing", dir.Touch("new.txt")});
  EXPECT_EQ(prompter.log,
            (Strings{"inform " + std::string(kNotAFileMessage) + "\n\r" + dir / "missing",
                     "inform 既に追加されているファイルです。一つのファイルを二重登録することは"
                     "できません。\n\r" +
                         dir / "photos/a.jpg\n\r" + dir / "photos/same_file.jpg"}));
  EXPECT_EQ(Listed().back(), "new.txt");
}

TEST_F(FolderAddTest, TenThousandFilesInAHundredFoldersComeInNaturalOrder) {
  Strings expected;
  for (int folder = 1; folder <= 100; ++folder) {
    for (int file = 1; file <= 100; ++file) {
      expected.push_back("album" + std::to_string(folder) + "/p" + std::to_string(file) + ".jpg");
    }
  }
  Strings created = expected;
  std::shuffle(created.begin(), created.end(), std::mt19937(7));
  for (const std::string& name : created) dir.Touch("all/" + name);
  for (std::string& name : expected) name = "all/" + name;
  DropFiles(state, MakeContext(), {dir / "all"});
  EXPECT_EQ(prompter.log, Strings{});
  EXPECT_EQ(Listed(), expected);
}

TEST_F(FolderAddTest, AStopInTheProgressKeepsTheFilesAddedUntilThen) {
  for (const char* name : {"f/1.jpg", "f/2.jpg", "f/3.jpg", "f/4.jpg"}) dir.Touch(name);
  prompter.StopProgressAt(2);
  DropFiles(state, MakeContext(), {dir / "f"});
  EXPECT_EQ(Listed(), (Strings{"f/1.jpg", "f/2.jpg"}));
}

TEST_F(FolderAddTest, TheAddDialogTakesManyFilesAndTheMenuAFolder) {
  const std::string c = dir.Touch("c.jpg");
  const std::string a = dir.Touch("a.jpg");
  dir.Touch("pick/x.jpg");
  dir.Touch("pick/y.jpg");
  prompter.Files({c, dir / "gone.jpg", a, c}).Files({});
  Button4Click(state, MakeContext());
  Button4Click(state, MakeContext());
  EXPECT_EQ(Listed(), (Strings{"c.jpg", "a.jpg"}));
  EXPECT_EQ(prompter.log,
            (Strings{"choose-file |",
                     "inform " + std::string(kNotAFileMessage) + "\n\r" + dir / "gone.jpg",
                     "inform 既に追加されているファイルです。一つのファイルを二重登録することは"
                     "できません。\n\r" +
                         c,
                     "choose-file |"}));

  prompter.log.clear();
  prompter.Folder(std::nullopt).Folder(dir / "pick");
  AddFolder1Click(state, MakeContext());
  AddFolder1Click(state, MakeContext());
  EXPECT_EQ(prompter.log, (Strings{"choose-folder", "choose-folder"}));
  EXPECT_EQ(Listed(), (Strings{"c.jpg", "a.jpg", "pick/x.jpg", "pick/y.jpg"}));
}

TEST_F(FolderAddTest, SelectedRowsAreRemovedTogether) {
  AddRows({{"/p/a.MOV", "a", ".MOV"},
           {"/p/b.jpg", "b", ".jpg"},
           {"/p/c.mov", "c", ".mov"},
           {"/p/d.jpg", "d", ".jpg"},
           {"/p/e", "e", ""}});
  const struct {
    std::string typed;
    Strings left;  // after 除外
    std::string box;
  } cases[] = {
      {"mov", {"/p/b.jpg", "/p/d.jpg", "/p/e"}, ""},
      {".JPG", {"/p/a.MOV", "/p/c.mov", "/p/e"}, ""},
      {".", {"/p/a.MOV", "/p/b.jpg", "/p/c.mov", "/p/d.jpg"}, ""},
      {".png", {}, "inform 拡張子が「.png」のファイルはありません。"},
  };
  for (const auto& c : cases) {
    MainState before = state;
    prompter.log.clear();
    prompter.Text(c.typed);
    SelectExtension1Click(state, MakeContext());
    if (!c.box.empty()) {
      EXPECT_EQ(prompter.log.back(), c.box);
      EXPECT_EQ(state.view.path.selected, -1);
      continue;
    }
    Button5Click(state, MakeContext());
    EXPECT_EQ(state.list.path.entries, c.left) << c.typed;
    EXPECT_EQ(state.list.number.Texts().size(), c.left.size());
    EXPECT_EQ(state.list.unique.entries.size(), c.left.size());
    EXPECT_EQ(state.view.path.selected, -1);
    state = before;
  }
  // 全選択 then 除外 empties the list; 除外 with nothing selected says so.
  SelectAll1Click(state);
  EXPECT_EQ(state.view.selected_rows.size(), 5u);
  Button5Click(state, MakeContext());
  EXPECT_TRUE(state.list.empty());
  Button5Click(state, MakeContext());
  EXPECT_EQ(prompter.log.back(), "inform 除外するファイルを選択してください");
}

}  // namespace
}  // namespace zefa
