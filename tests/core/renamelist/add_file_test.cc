// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "commands/row_commands.h"
#include "list_fixture.h"

namespace zefa {
namespace {

using Strings = std::vector<std::string>;

class AddFileTest : public ListFixture {
 protected:
  void Link(const std::string& target, const std::string& name) {
    std::filesystem::create_symlink(target, dir / name);
  }
  std::string Inform(const std::string& text) { return "inform " + text; }
};

TEST_F(AddFileTest, AppendsNumberPathUniqueNameAndExtension) {
  const std::string photo = dir.Touch("photos/IMG_001.JPG");
  const std::string archive = dir.Touch("photos/archive.tar.gz");
  const std::string profile = dir.Touch("photos/.profile");
  const std::string readme = dir.Touch("photos/README");
  for (const std::string& path : {photo, archive, profile, readme}) {
    AddFile(state, MakeContext(), path);
  }
  EXPECT_EQ(prompter.log, Strings{});
  const RenameList& list = state.list;
  EXPECT_EQ(list.number.Texts(), (Strings{"1", "2", "3", "4"}));
  EXPECT_EQ(list.path.entries, (Strings{photo, archive, profile, readme}));
  EXPECT_EQ(list.unique.entries, (Strings{"IMG_001", "archive.tar", "", "README"}));
  EXPECT_EQ(list.extension.entries, (Strings{".JPG", ".gz", ".profile", ""}));
  EXPECT_EQ(Label10Text(state), "4");
  EXPECT_EQ(state.view.path.selected, -1);
}

TEST_F(AddFileTest, RefusesWithTheMessageOfTheFirstFailedCheck) {
  const std::string listed = dir.Touch("sub/a.txt");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  Link(listed, "link.txt");
  Link(paths.executable_path, "program_link");
  Link(dir / "gone.txt", "dangling.txt");
  ASSERT_EQ(::link(listed.c_str(), (dir / "hard.txt").c_str()), 0);
  ASSERT_EQ(::link(paths.executable_path.c_str(), (dir / "program_hard").c_str()), 0);
  AddFile(state, MakeContext(), listed);
  ASSERT_EQ(state.list.size(), 1);

  const std::string own = kOwnProgramMessage;
  const std::string not_file = kNotAFileMessage;
  const std::string twice = kAlreadyListedMessage;
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {paths.executable_path, own},
      {dir / "program_link", own},
      {dir / "program_hard", own},
      {dir / "./zefa_oru", own},
      {dir / "pipe", not_file},
      {dir / "missing.txt", not_file},
      {dir / "dangling.txt", not_file},
      {"", not_file},
      {listed, twice + listed},
      {dir / "link.txt", twice + dir / "link.txt"},
      {dir / "hard.txt", twice + dir / "hard.txt"},
      {dir / "sub/./a.txt", twice + dir / "sub/./a.txt"},
      {dir / "sub/../sub/a.txt", twice + dir / "sub/../sub/a.txt"},
  };
  for (const auto& c : cases) {
    prompter.log.clear();
    AddFile(state, MakeContext(), c.path);
    EXPECT_EQ(prompter.log, Strings{Inform(c.message)}) << c.path;
    EXPECT_EQ(state.list.size(), 1) << c.path;
  }
}

// A relative path (from a start that sent no working folder) is never listed, whatever
// it names in this process's own working folder.
TEST_F(AddFileTest, RelativePathsAreRefused) {
  dir.Touch("rel/a.txt");
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  for (const char* relative : {"rel/a.txt", "rel"}) {
    prompter.log.clear();
    AddFile(state, MakeContext(), relative);
    EXPECT_EQ(prompter.log, Strings{Inform(kNotAFileMessage)}) << relative;
  }
  std::filesystem::current_path(working);
  EXPECT_EQ(state.list.size(), 0);
}

TEST_F(AddFileTest, NamesDifferingOnlyInCaseAreTwoFiles) {
  const std::string lower = dir.Touch("photo.jpg", "one");
  const std::string upper = dir.Touch("PHOTO.jpg", "two");
  DropFiles(state, MakeContext(), {lower, upper});
  EXPECT_EQ(prompter.log, Strings{});
  EXPECT_EQ(state.list.path.entries, (Strings{lower, upper}));
}

TEST_F(AddFileTest, DropAddsInOrderAndShowsOneBoxPerKindOfRefusal) {
  const std::string listed = dir.Touch("b.txt");
  AddFile(state, MakeContext(), listed);
  const std::string first = dir.Touch("a.txt");
  const std::string third = dir.Touch("c.txt");
  Link(paths.executable_path, "program_link");
  Strings missing;
  for (int i = 0; i < 23; ++i) missing.push_back(dir / ("missing" + std::to_string(i)));
  Strings dropped = {first, listed, paths.executable_path, dir / "program_link"};
  dropped.insert(dropped.end(), missing.begin(), missing.end());
  dropped.insert(dropped.end(), {listed, third});

  DropFiles(state, MakeContext(), dropped);
  std::string not_files = kNotAFileMessage;
  for (int i = 0; i < 20; ++i) not_files += "\n\r" + missing[static_cast<std::size_t>(i)];
  // The boxes come in the order of the reasons, each path after a line break as in the
  // failure report.
  EXPECT_EQ(prompter.log, (Strings{Inform(kOwnProgramMessage + ("\n\r" + paths.executable_path) +
                                          "\n\r" + dir / "program_link"),
                                   Inform(not_files + "\n\r他3個"),
                                   Inform(kAlreadyListedMessage + listed + "\n\r" + listed)}));
  EXPECT_EQ(state.list.path.entries, (Strings{listed, first, third}));
  EXPECT_EQ(state.list.number.Texts(), (Strings{"1", "2", "3"}));

  // One item refused shows exactly the box of a single file.
  for (const auto& [path, message] :
       {std::pair{std::string(dir / "missing0"), std::string(kNotAFileMessage)},
        std::pair{paths.executable_path, std::string(kOwnProgramMessage)},
        std::pair{listed, kAlreadyListedMessage + listed}}) {
    prompter.log.clear();
    DropFiles(state, MakeContext(), {path});
    EXPECT_EQ(prompter.log, Strings{Inform(message)});
  }
}

TEST_F(AddFileTest, DroppedPathsAreTakenWhole) {
  // A path longer than 1023 bytes whose first 1023 bytes name another existing file.
  std::string folder = "d";
  while ((dir / folder).size() < 800) folder += "/" + std::string(200, 'd');
  const std::size_t base = (dir / folder).size() + 1;  // below 1023 - 255
  ASSERT_GT(base + 255, 1030u);
  ASSERT_LT(base, 1023u);
  const std::string shorter = dir.Touch(folder + "/" + std::string(1023 - base, 'x'));
  const std::string longer = dir.Touch(folder + "/" + std::string(1030 - base, 'x'));
  ASSERT_EQ(longer.substr(0, 1023), shorter);
  DropFiles(state, MakeContext(), {longer});
  EXPECT_EQ(prompter.log, Strings{});
  EXPECT_EQ(state.list.path.entries, Strings{longer});
}

TEST_F(AddFileTest, ARemovedFileCanBeAddedAgain) {
  const std::string file = dir.Touch("a.txt");
  AddFile(state, MakeContext(), file);
  state.view.SelectAll(0);
  Button5Click(state, MakeContext());
  ASSERT_TRUE(state.list.empty());
  AddFile(state, MakeContext(), dir / "./a.txt");
  EXPECT_EQ(prompter.log, Strings{});
  EXPECT_EQ(state.list.path.entries, Strings{dir / "./a.txt"});
  AddFile(state, MakeContext(), file);
  EXPECT_EQ(prompter.log, Strings{Inform(kAlreadyListedMessage + file)});
}

TEST_F(AddFileTest, APathListedOnceStaysListedWhenItsFileIsReplaced) {
  const std::string file = dir.Touch("a.txt");
  AddFile(state, MakeContext(), file);
  // Another program puts a new file (a new inode) at the listed path.
  std::filesystem::remove(file);
  dir.Touch("b.txt");
  dir.Touch("a.txt", "new");
  AddFile(state, MakeContext(), file);
  EXPECT_EQ(prompter.log, Strings{Inform(kAlreadyListedMessage + file)});
  EXPECT_EQ(state.list.size(), 1);
}

TEST_F(AddFileTest, AFileRenamedSinceItWasListedIsNotListedUnderItsNewName) {
  const std::string file = dir.Touch("a.txt");
  AddFile(state, MakeContext(), file);
  // A run renames the file; its row keeps the old path, which names nothing now.
  std::filesystem::rename(file, dir / "trip 001.txt");
  AddFile(state, MakeContext(), dir / "trip 001.txt");
  EXPECT_EQ(prompter.log, Strings{});
  EXPECT_EQ(state.list.path.entries, (Strings{file, dir / "trip 001.txt"}));
  // Back under the listed path, it is that row's file again.
  std::filesystem::rename(dir / "trip 001.txt", file);
  ASSERT_EQ(::link(file.c_str(), (dir / "hard2.txt").c_str()), 0);
  AddFile(state, MakeContext(), dir / "hard2.txt");
  EXPECT_EQ(prompter.log, Strings{Inform(kAlreadyListedMessage + (dir / "hard2.txt"))});
}

TEST_F(AddFileTest, SettingsAndCommonNameAreThoseOfEachCommand) {
  state.common_name = "trip";
  WriteSettings("when_add=1\nKoyu_kakko=0\nkoyu_aki=_\n");
  AddFile(state, MakeContext(), dir.Touch("trip_01.jpg"));
  WriteSettings("when_add=0\nKoyu_kakko=1\nkoyu_aki=_\nkoyu_toji=z\n");
  AddFile(state, MakeContext(), dir.Touch("trip_02.jpg"));
  WriteSettings("when_add=1\nKoyu_kakko=1\n");
  DropFiles(state, MakeContext(), {dir.Touch("x「trip」y.png"), dir.Touch("「trip」.png")});
  EXPECT_EQ(state.list.unique.entries, (Strings{"_01", "_02", "「」", "「」"}));
}

TEST_F(AddFileTest, AddButtonOpensTheDialogWithoutFilter) {
  const std::string file = dir.Touch("pick.txt");
  prompter.File(std::nullopt).File(file);
  Button4Click(state, MakeContext());
  EXPECT_TRUE(state.list.empty());
  Button4Click(state, MakeContext());
  EXPECT_EQ(prompter.log, (Strings{"choose-file |", "choose-file |"}));
  EXPECT_EQ(state.list.path.entries, Strings{file});
  EXPECT_EQ(state.list.unique.entries, Strings{"pick"});
}

// Rows renamed one by one, past the room of the list's index, are found by their new paths
// alone, and rows added after them are found too.
TEST(RenameListIndex, RowsAreFoundByTheirNewPathsAfterManyRenames) {
  RenameList list;
  for (int i = 0; i < 40; ++i) list.AppendRow("/p/" + std::to_string(i), "", "", "");
  for (const char* round : {"a", "b", "c"}) {
    for (int i = 0; i < 40; ++i) list.RenamePath(i, "/p/" + (round + std::to_string(i)));
  }
  list.RenamePath(5, "/p/a5");  // back to a path it had
  list.AppendRow("/p/new", "", "", "");
  EXPECT_EQ(list.RowsListing("/p/c7"), std::vector<int>{7});
  EXPECT_EQ(list.RowsListing("/p/a5"), std::vector<int>{5});
  EXPECT_EQ(list.RowsListing("/p/b7"), std::vector<int>{});
  EXPECT_TRUE(list.HoldsPath("/p/new"));
  EXPECT_FALSE(list.HoldsPath("/p/7"));
}

}  // namespace
}  // namespace zefa
