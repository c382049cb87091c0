// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
  // Each row keeps its file's key, whether the listing or a stat() gave it; a link's is its file's.
  for (int row = 0; row < state.list.path.size(); ++row) {
    const std::string& path = state.list.path.entries[static_cast<std::size_t>(row)];
    EXPECT_EQ(state.list.RowsRecordedAs(fs.FileKey(path).value_or("")), std::vector<int>{row})
        << path;
  }
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
                     // The dialogs open again where the last files came from.
                     "choose-file " + dir.path() + "|"}));

  prompter.log.clear();
  prompter.Folder(std::nullopt).Folder(dir / "pick");
  AddFolder1Click(state, MakeContext());
  AddFolder1Click(state, MakeContext());
  EXPECT_EQ(prompter.log, (Strings{"choose-folder " + dir.path(), "choose-folder " + dir.path()}));
  EXPECT_EQ(Listed(), (Strings{"c.jpg", "a.jpg", "pick/x.jpg", "pick/y.jpg"}));
  prompter.log.clear();
  prompter.Files({});
  Button4Click(state, MakeContext());
  EXPECT_EQ(prompter.log, Strings{"choose-file " + dir / "pick" + "|"});
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

// The real walk with a fault injected after each listing (a folder renamed, or refused).
class FaultyWalk : public NativeFileSystem {
 public:
  std::function<void(FolderListing&, std::vector<std::string>& next, const WalkGapFound&)> fault;

  bool WalkFolder(const std::string& folder, const FolderVisit& visit,
                  const WalkGapFound& gap) override {
    return NativeFileSystem::WalkFolder(
        folder,
        [&](FolderListing& listing) -> std::optional<std::vector<std::string>> {
          const std::string path = listing.path;
          std::optional<std::vector<std::string>> next = visit(listing);
          listing.path = path;
          if (next && fault) fault(listing, *next, gap);
          return next;
        },
        gap);
  }
};

// `depth` folders named `name`, one in the other under `root`, each holding f.jpg; made
// through descriptors, as the deepest paths are longer than the system can name.
void MakeDeepTree(const std::string& root, const std::string& name, int depth) {
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < depth && fd >= 0; ++i) {
    mkdirat(fd, name.c_str(), 0700);
    const int child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = child;
    close(openat(fd, "f.jpg", O_CREAT | O_WRONLY, 0600));
  }
  if (fd >= 0) close(fd);
}

// Removes it again from the deepest folder up.
void RemoveDeepTree(int parent, const std::string& name) {
  const int fd = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    unlinkat(fd, "f.jpg", 0);
    RemoveDeepTree(fd, name);
    close(fd);
  }
  unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

TEST_F(FolderAddTest, OneBoxTellsWhatCouldNotBeAddedAndWhy) {
  const std::string name(200, 'd');
  std::filesystem::create_directory(dir / "deep");
  MakeDeepTree(dir / "deep", name, 25);
  // Removed before the test folder is, also when a check below ends the test early.
  const struct Cleanup {
    const test::TempDir& dir;
    const std::string& name;
    ~Cleanup() {
      const int root = open((dir / "deep").c_str(), O_RDONLY | O_DIRECTORY);
      RemoveDeepTree(root, name);
      close(root);
    }
  } cleanup{dir, name};
  for (const char* file : {"trip/a.jpg", "trip/sub/b.jpg", "trip/locked/c.jpg", "trip/.h/d.jpg"}) {
    dir.Touch(file);
  }
  FaultyWalk walk;
  walk.fault = [&](FolderListing& listing, std::vector<std::string>& next,
                   const WalkGapFound& gap) {
    if (listing.path != dir / "trip/") return;
    // Another program renames a folder before its turn; a folder may not be read.
    std::filesystem::rename(dir / "trip/sub", dir / "trip/moved");
    std::erase(next, "locked");
    gap(listing.path + "locked/", WalkGap::kNoPermission);
  };
  const Context context{prompter, walk, paths, rules};
  DropFiles(state, context, {dir / "deep", dir / "trip"});

  const std::size_t deep_rows = state.list.path.entries.size() - 1;
  EXPECT_GT(deep_rows, 10u);
  EXPECT_LT(deep_rows, 25u);
  EXPECT_EQ(Listed().back(), "trip/a.jpg");
  ASSERT_EQ(prompter.log.size(), 1u);
  EXPECT_EQ(prompter.log.front(),
            "inform 読み取れなかったため追加できなかったフォルダまたはファイルが 3 個あります。"
            "\n\r読み取りが許可されていません（1 個）：" +
                dir / "trip/locked/" + "\n\rパスが長すぎます（1 個）：…" + name.substr(41) + "/" +
                "\n\r調べている間に移動または削除されました（1 個）：" + dir / "trip/sub/");
}

}  // namespace
}  // namespace zefa
