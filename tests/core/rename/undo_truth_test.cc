// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The undo moves back exactly the files the run moved, says what it could not give back,
// and treats records and settings files that no run or dialog wrote as invalid or missing.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "rename_test_support.h"
#include "settings/settings_file.h"

namespace zefa {
namespace {

const std::string kInvalidBox = "error このファイルは無効です。以下のファイルが見つかりません\n\r";
const std::string kNotBack = "inform 以下のファイルを元の名前に戻せませんでした";

class UndoTruthTest : public test::RenameFixture {
 protected:
  void SetUp() override { alarm(20); }  // a read that blocks ends the test, not the suite
  void TearDown() override { alarm(0); }

  void RunWithRestore() {
    prompter.Yes().Yes();
    Button2Click(state, MakeContext());
    prompter.log.clear();
  }

  void Undo(const std::string& chosen) {
    prompter.File(chosen).Yes();
    Undo1Click(state, MakeContext());
  }

  void Move(const std::string& from, const std::string& to) {
    ASSERT_EQ(std::rename((dir / from).c_str(), (dir / to).c_str()), 0);
  }

  static ino_t InodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
  }
};

TEST_F(UndoTruthTest, FailedRowOfTheRunIsNeverMovedBack) {
  state.edit2 = "旅行";
  for (const char* name : {"DSC01.jpg", "DSC02.jpg", "DSC03.jpg"}) Add(name, "", ".jpg");
  dir.Touch("files/旅行 2.jpg", "unrelated");
  RunWithRestore();
  ASSERT_EQ(Files(), "DSC02.jpg 旅行 1.jpg 旅行 2.jpg 旅行 3.jpg");
  Move("files/DSC02.jpg", "files/by hand.jpg");
  Undo(RestorePath());
  EXPECT_EQ(Files(), "DSC01.jpg DSC03.jpg by hand.jpg 旅行 2.jpg");
  EXPECT_EQ(dir.Read("files/旅行 2.jpg"), "unrelated");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

TEST_F(UndoTruthTest, ChainUndoesOnlyTheRowThatMoved) {
  Settings("pattern=7\n");
  Add("a.txt", "b", ".txt");  // a.txt -> b.txt fails: b.txt is still there
  Add("b.txt", "c", ".txt");  // b.txt -> c.txt
  RunWithRestore();
  ASSERT_EQ(Files(), "a.txt c.txt");
  Undo(RestorePath());
  EXPECT_EQ(Files(), "a.txt b.txt");
  EXPECT_EQ(dir.Read("files/a.txt"), "a.txt");
  EXPECT_EQ(dir.Read("files/b.txt"), "b.txt");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

TEST_F(UndoTruthTest, FileSwappedInByHandStaysTheOthersComeBack) {
  state.edit2 = "x";
  for (const char* name : {"a.txt", "b.txt"}) Add(name, "", ".txt");
  RunWithRestore();
  // Made before the old one goes, so that it cannot get the old one's inode back.
  dir.Touch("another.txt", "another file");
  std::remove((dir / "files/x 2.txt").c_str());
  Move("another.txt", "files/x 2.txt");
  Undo(RestorePath());
  EXPECT_EQ(prompter.log.back(),
            kNotBack + "\n\r" + dir / "files/x 2.txt" + "（別のファイルに置き換えられています）");
  EXPECT_EQ(Files(), "a.txt x 2.txt");
  EXPECT_EQ(dir.Read("files/x 2.txt"), "another file");
}

TEST_F(UndoTruthTest, CancelledRunIsUndoneExactly) {
  state.edit2 = "x";
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) Add(name, "", ".txt");
  prompter.StopProgressAt(2);
  RunWithRestore();
  ASSERT_EQ(Files(), "c.txt d.txt x 1.txt x 2.txt");
  Undo(RestorePath());
  EXPECT_EQ(Files(), "a.txt b.txt c.txt d.txt");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

TEST_F(UndoTruthTest, UndoStoppedWhileLookingMovesNothing) {
  state.edit2 = "x";
  for (int i = 0; i < 100; ++i) Add("f" + std::to_string(i) + ".txt", "", ".txt");
  RunWithRestore();
  const std::string renamed = Files();
  prompter.StopProgressAt(1);
  Undo(RestorePath());
  EXPECT_EQ(Files(), renamed);
  EXPECT_EQ(prompter.log.back(),
            "inform 元に戻す処理を中止しました。\n\r100 個のファイルのうち 0 個を元に戻しました。");
  prompter.log.clear();
  Undo(RestorePath());
  EXPECT_EQ(Files().find("x "), std::string::npos);
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

TEST_F(UndoTruthTest, ReportNamesTheRowsThatStayUnderTheirNewNames) {
  const struct {
    int rows;
    std::vector<int> taken;
    std::string tail;  // after the listed paths
  } cases[] = {{5, {1, 3}, ""}, {30, {}, "\n\r他5個"}, {5, {-1}, ""}};
  for (const auto& c : cases) {
    state = MainState{};
    state.edit2 = "x";
    std::vector<int> taken = c.taken;
    if (c.rows == 30) {
      for (int row = 2; row < 27; ++row) taken.push_back(row);
    }
    for (int row = 0; row < c.rows; ++row) Add("r" + std::to_string(row) + ".txt", "", ".txt");
    RunWithRestore();
    std::string expected = kNotBack;
    for (int row : taken) {
      if (row < 0) continue;
      dir.Touch("files/r" + std::to_string(row) + ".txt", "newcomer");
      if (expected.size() < kNotBack.size() + 20 * 200 &&
          std::count(expected.begin(), expected.end(), '\r') < 20) {
        expected += "\n\r" + dir / ("files/x " + std::to_string(row + 1) + ".txt") +
                    "（元の名前のファイルがあります）";
      }
    }
    expected += c.tail;
    Undo(RestorePath());
    if (taken.empty() || taken == std::vector<int>{-1}) {
      EXPECT_EQ(prompter.log.back(), "inform 完了しました");
    } else {
      EXPECT_EQ(prompter.log.back(), expected);
    }
    // The next case starts from a clean folder.
    std::filesystem::remove_all(dir / "files");
    std::filesystem::remove_all(dir / "restore");
    prompter.log.clear();
  }
}

// What no run writes: a relative path, a NUL byte, a value longer than any path.
TEST_F(UndoTruthTest, RowsNoRunCouldHaveMadeAreSkippedOrInvalid) {
  const std::string folder = dir / "files/";
  dir.Touch("files/rel.txt", "stays");
  dir.Touch("files/new.txt", "goes back");
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  dir.Touch("relative.zefa", "[Count]\ncount=2\n[before]\n0=.bashrc\n1=" + folder +
                                 "old.txt\n[after]\n0=rel.txt\n1=" + folder + "new.txt\n");
  Undo(dir / "relative.zefa");
  std::filesystem::current_path(working);
  EXPECT_EQ(Files(), "old.txt rel.txt");

  dir.Touch("nul.zefa", "[Count]\ncount=1\n[before]\n0=" + folder + std::string("a\0b", 3) +
                            "\n[after]\n0=" + folder + "old.txt\n");
  Undo(dir / "nul.zefa");
  EXPECT_EQ(Files(), "old.txt rel.txt");

  prompter.log.clear();
  const std::string overlong = folder + std::string(kMaxRecordedPathBytes + 1, 'a');
  dir.Touch("long.zefa",
            "[Count]\ncount=1\n[before]\n0=" + overlong + "\n[after]\n0=" + folder + "old.txt\n");
  Undo(dir / "long.zefa");
  EXPECT_EQ(prompter.log[4].rfind("error このファイルは無効です", 0), 0u) << prompter.log[4];
  EXPECT_EQ(Files(), "old.txt rel.txt");
}

// A settings file or a chosen restore file that is no regular file of a sane size is
// never waited on: settings read as missing, the restore file as invalid.
TEST_F(UndoTruthTest, FilesThatAreNoFilesNeverHang) {
  const std::string big(2 << 20, 'x');
  const auto make = [&](const std::string& path, int kind) {
    std::remove(path.c_str());
    switch (kind) {
      case 0:
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        break;
      case 1:
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        break;
      case 2:
        ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0);
        break;
      default:
        dir.Touch(path.substr(dir.path().size()), "[Option]\nketa=3\n" + big);
    }
  };
  for (int kind = 0; kind < 4; ++kind) {
    const std::string ini = dir / "ZeFa_oru.ini";
    make(ini, kind);
    const SettingsFile settings(file_system, ini);
    EXPECT_EQ(settings.ReadInteger("Option", "keta", 1), 1) << kind;
    if (kind == 1) rmdir(ini.c_str());

    const std::string chosen = dir / ("odd" + std::to_string(kind) + ".zefa");
    make(chosen, kind);
    prompter.log.clear();
    Undo(chosen);
    ASSERT_EQ(prompter.log.size(), 5u) << kind;
    EXPECT_EQ(prompter.log[4], kInvalidBox) << kind;
  }
}

TEST_F(UndoTruthTest, SettingsValueEndsAtItsFirstNulByte) {
  dir.Touch("ZeFa_oru.ini", std::string("[Option]\nNum_aki=(\0)\n", 22));
  EXPECT_EQ(SettingsFile(file_system, dir / "ZeFa_oru.ini").ReadString("Option", "Num_aki", "["),
            "(");
}

// The run's file is known by more than its inode: a new file that got the inode of a
// deleted one stays, a folder is never renamed, and a file system attached again on
// another device is still itself.
TEST_F(UndoTruthTest, NewFileWithTheDeletedFilesInodeStays) {
  state.edit2 = "x";
  Add("a.txt", "", ".txt");
  Add("b.txt", "", ".txt");
  RunWithRestore();
  const std::string renamed = dir / "files/x 2.txt";
  const ino_t inode = InodeOf(renamed);
  ASSERT_EQ(std::remove(renamed.c_str()), 0);
  // The file system hands a freed inode out again, usually at once.
  bool reused = false;
  for (int attempt = 0; attempt < 200 && !reused; ++attempt) {
    dir.Touch("files/x 2.txt", "newcomer");
    reused = InodeOf(renamed) == inode;
    const std::string spare = dir / ("spare " + std::to_string(attempt));
    if (!reused) {
      ASSERT_EQ(std::rename(renamed.c_str(), spare.c_str()), 0);
    }
  }
  if (!reused) GTEST_SKIP() << "the file system gave the inode to no new file";
  const std::string record = dir.Read(std::string("restore/") + test::kRestoreName);
  const std::size_t line = record.find("\n1=", record.find("[identity]")) + 3;
  if (record[record.find('\n', line) - 1] == ':') {
    GTEST_SKIP() << "the file system gives no birth time";
  }
  Undo(RestorePath());
  EXPECT_EQ(prompter.log.back(),
            kNotBack + "\n\r" + renamed + "（別のファイルに置き換えられています）");
  EXPECT_EQ(dir.Read("files/x 2.txt"), "newcomer");
  EXPECT_EQ(dir.Read("files/a.txt"), "a.txt");
  EXPECT_FALSE(dir.Exists("files/b.txt"));
}

TEST_F(UndoTruthTest, RecordNamingAFolderNeverRenamesIt) {
  const std::string folder = dir / "files/new folder";
  std::filesystem::create_directories(folder);
  const std::string file = dir.Touch("files/new a.txt", "a");
  NativeFileSystem native;
  const auto identities = native.FileIdentities({folder, file});
  dir.Touch("forged.zefa", "[Count]\ncount=2\n[before]\n0=" + dir / "files/old folder" + "\n1=" +
                               dir / "files/old a.txt" + "\n[after]\n0=" + folder + "\n1=" + file +
                               "\n[identity]\n0=" + identities[0] + "\n1=" + identities[1] + "\n");
  Undo(dir / "forged.zefa");
  EXPECT_EQ(Files(), "new folder old a.txt");
  EXPECT_EQ(prompter.log.back(), kNotBack + "\n\r" + folder + "（ファイルではありません）");
}

const std::string kByTimes =
    "\n\r\n\rこのうち 1 個のファイルは、ディスクが別の装置として接続し直されているため、"
    "サイズと更新日時で同じファイルと確かめました。";

// Puts a new file in the place of `path`, as an editor that saves through a copy does.
void SaveInPlace(const std::string& path) {
  const std::string copy = path + ".new";
  std::FILE* file = std::fopen(copy.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("saved again", file);
  std::fclose(file);
  ASSERT_EQ(std::rename(copy.c_str(), path.c_str()), 0);
}

bool Shell(const std::string& command) {
  return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0;
}

// An image attached to one loop device for the run and to another for the undo: ext4's
// id comes from its UUID and still matches; XFS's follows the device, and the files are
// known by their inodes, sizes and times. A file saved in place meanwhile stays.
TEST_F(UndoTruthTest, FileSystemAttachedAgainOnAnotherDeviceIsStillItself) {
  const struct {
    const char* type;
    const char* make;  // makes the image at $0
    const char* listed;
    bool by_times;
  } cases[] = {{"ext4", "truncate -s 8M \"$0\" && mkfs.ext4 -q \"$0\"", "lost+found ", false},
               {"xfs", "truncate -s 300M \"$0\" && mkfs.xfs -q \"$0\"", "", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    const std::string image = dir / (std::string(c.type) + ".img");
    const std::string mount_point = dir / "files/card";
    std::filesystem::create_directories(mount_point);
    if (::geteuid() != 0 || !Shell("sh -c '" + std::string(c.make) + "' '" + image + "'")) {
      std::printf("skipped %s: needs root and its mkfs to make an image\n", c.type);
      continue;
    }
    const auto attach = [&]() -> std::string {
      const std::string listed = dir / "loop.txt";
      if (!Shell("losetup -f --show '" + image + "' > '" + listed + "'")) return {};
      std::string device = dir.Read("loop.txt");
      while (!device.empty() && device.back() == '\n') device.pop_back();
      return device;
    };
    const std::string first = attach();
    if (first.empty() || ::mount(first.c_str(), mount_point.c_str(), c.type, 0, nullptr) != 0) {
      if (!first.empty()) Shell("losetup -d " + first);
      GTEST_SKIP() << "this machine lets no " << c.type
                   << " image be attached and mounted: " << std::strerror(errno);
    }
    state = MainState{};
    state.edit2 = "写真";
    for (const char* name : {"a.jpg", "b.jpg"}) Add(std::string("card/") + name, "", ".jpg");
    RunWithRestore();
    ASSERT_EQ(::umount(mount_point.c_str()), 0);
    // Attached again while the first is still attached, so that it gets another device.
    const std::string second = attach();
    Shell("losetup -d " + first);
    ASSERT_FALSE(second.empty());
    ASSERT_NE(second, first);
    ASSERT_EQ(::mount(second.c_str(), mount_point.c_str(), c.type, 0, nullptr), 0);
    SaveInPlace(mount_point + "/写真 2.jpg");
    Undo(RestorePath());
    const std::string listing = dir.Listing("files/card");
    ::umount(mount_point.c_str());
    Shell("losetup -d " + second);
    EXPECT_EQ(prompter.log[2].ends_with(kByTimes), c.by_times) << prompter.log[2];
    EXPECT_EQ(prompter.log.back(), kNotBack + "\n\r" + mount_point + "/写真 2.jpg" +
                                       "（別のファイルに置き換えられています）");
    EXPECT_EQ(listing, "a.jpg " + std::string(c.listed) + "写真 2.jpg");
    std::filesystem::remove_all(dir / "restore");
    std::filesystem::remove(image);
    prompter.log.clear();
  }
}

// A FUSE file system (as cards and USB disks are mounted through ntfs-3g or exfat-fuse)
// has no id and gets another device at each mount: its files are known by size and times.
TEST_F(UndoTruthTest, FuseFileSystemMountedAgainIsStillItself) {
  if (::access("/dev/fuse", R_OK | W_OK) != 0 || !Shell("command -v bindfs fusermount3")) {
    GTEST_SKIP() << "needs /dev/fuse, bindfs and fusermount3 to mount a FUSE file system";
  }
  const std::string source = dir / "source";
  const std::string mount_point = dir / "files/card";
  const std::string spare = dir / "spare";
  for (const std::string& folder : {source, mount_point, spare}) {
    std::filesystem::create_directories(folder);
  }
  const test::FuseMounts mounts{{mount_point, spare}};
  if (!Shell("bindfs '" + source + "' '" + mount_point + "'")) {
    GTEST_SKIP() << "this machine mounts no FUSE file system";
  }
  const auto device = [&] {
    struct stat info {};
    return ::stat(mount_point.c_str(), &info) == 0 ? info.st_dev : 0;
  };
  const dev_t first = device();
  state.edit2 = "写真";
  for (const char* name : {"a.jpg", "b.jpg"}) Add(std::string("card/") + name, "", ".jpg");
  RunWithRestore();
  // The freed device number goes to another mount, so that this one gets a new one.
  Shell("fusermount3 -u '" + mount_point + "'");
  Shell("bindfs '" + source + "' '" + spare + "'");
  ASSERT_TRUE(Shell("bindfs '" + source + "' '" + mount_point + "'"));
  const dev_t second = device();
  SaveInPlace(mount_point + "/写真 2.jpg");
  Undo(RestorePath());
  const std::string listing = dir.Listing("files/card");
  EXPECT_NE(first, second);
  EXPECT_TRUE(prompter.log[2].ends_with(kByTimes)) << prompter.log[2];
  EXPECT_EQ(prompter.log.back(), kNotBack + "\n\r" + mount_point + "/写真 2.jpg" +
                                     "（別のファイルに置き換えられています）");
  EXPECT_EQ(listing, "a.jpg 写真 2.jpg");
}

// A row of a record with identities that names no file moves nothing and is named; a
// record without any is undone by names after a question that says so.
TEST_F(UndoTruthTest, RowsWithoutIdentityAreNamedRecordsWithoutAnyAreUndoneByNames) {
  const std::string folder = dir / "files/";
  const std::string mine = dir.Touch("files/new a.txt", "a");
  dir.Touch("files/.bashrc", "settings");
  const std::string identity = NativeFileSystem().FileIdentities({mine})[0];
  const std::string rows = "[Count]\ncount=2\n[before]\n0=" + folder + "old a.txt\n1=" + folder +
                           ".bashrc~\n[after]\n0=" + mine + "\n1=" + folder + ".bashrc\n";
  dir.Touch("planted.zefa", rows + "[identity]\n0=" + identity + "\n1=\n");
  Undo(dir / "planted.zefa");
  EXPECT_EQ(Files(), ".bashrc old a.txt");
  EXPECT_EQ(prompter.log.back(),
            kNotBack + "\n\r" + folder + ".bashrc（識別情報が記録されていません）");

  prompter.log.clear();
  std::rename((folder + "old a.txt").c_str(), mine.c_str());
  dir.Touch("names.zefa", rows);
  Undo(dir / "names.zefa");
  EXPECT_EQ(Files(), ".bashrc~ old a.txt");
  EXPECT_EQ(prompter.log[2],
            "warn 元に戻しますか？\n\rこのファイルには以下のファイルが含まれます。\n\r" + mine +
                "\n\r（全 2 個のファイル）\n\r\n\rこのリストアファイルにはファイルの識別情報が"
                "記録されていないため、ファイルを名前だけで元に戻します。");
}

// A run killed between the link and the unlink of a rename by link (on FUSE, which knows
// no RENAME_NOREPLACE) leaves the file under both names: the undo keeps the old one alone.
TEST_F(UndoTruthTest, FileLeftUnderBothNamesKeepsItsOldOneAlone) {
  state.edit2 = "x";
  for (const char* name : {"a.txt", "b.txt"}) Add(name, "", ".txt");
  RunWithRestore();
  ASSERT_EQ(::link((dir / "files/x 2.txt").c_str(), (dir / "files/b.txt").c_str()), 0);
  Undo(RestorePath());
  EXPECT_EQ(Files(), "a.txt b.txt");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

// A row recorded as failed whose file is at its new path anyway goes back with the others.
TEST_F(UndoTruthTest, FailedRowWhoseFileMovedAnywayGoesBack) {
  state.edit2 = "x";
  for (const char* name : {"a.txt", "b.txt"}) Add(name, "", ".txt");
  RunWithRestore();
  const std::string record = std::string("restore/") + test::kRestoreName;
  dir.Touch(record, dir.Read(record) + "[notrenamed]\n1=failed\nend=1\n");
  Undo(RestorePath());
  EXPECT_EQ(Files(), "a.txt b.txt");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

// A path longer than 4,096 bytes (a file deep in folders, renamed inside its folder) is
// recorded and read back as any other.
TEST_F(UndoTruthTest, PathsPastFourKilobytesComeBack) {
  std::string deep = "files";
  while (deep.size() < 3900) deep += "/" + std::string(200, 'd');
  std::filesystem::create_directories(dir / deep);
  Settings("pattern=8\nspace=0\n");
  const std::string old_path = dir.Touch(deep + "/a.txt", "deep");
  state.list.AppendRow(old_path, std::string(240, 'n'), ".txt", "");
  ASSERT_GT(old_path.size() - 5 + 244, std::size_t{4096});
  RunWithRestore();
  ASSERT_FALSE(std::filesystem::exists(old_path));
  Undo(RestorePath());
  EXPECT_TRUE(std::filesystem::exists(old_path));
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

}  // namespace
}  // namespace zefa
