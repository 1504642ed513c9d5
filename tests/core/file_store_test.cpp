#include "lists/file_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "support/core/hostile_file_kinds.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

namespace fs = std::filesystem;
using testing::HostileFileCase;
using testing::HostileFileKind;

constexpr std::uintmax_t kCap = kMebibyte;

bool running_as_root() {
  return ::geteuid() == 0;
}

struct SpecialCase {
  HostileFileCase file;
  FileProblem read_problem;
  bool saved;  // whether a save goes through (to the file a symlink leads to)
};

class HostileFiles : public ::testing::TestWithParam<SpecialCase> {};

// Reads never block or run away, and a save replaces only a regular file, through a
// symlink when there is one; nothing of a save is left beside the file.
TEST_P(HostileFiles, AreReadAndSavedSafely) {
  const SpecialCase& c = GetParam();
  if (c.file.kind == HostileFileKind::unreadable && running_as_root()) {
    GTEST_SKIP() << "every file is readable for root";
  }
  testing::TempDir dir;
  const fs::path path = dir.file("list.txt");
  testing::make_hostile_file(path, c.file.kind, 2 * kCap, "old");
  const auto kind_before = fs::symlink_status(path).type();

  const FileBytes read = read_regular_file(path, kCap);
  EXPECT_EQ(read.problem, c.read_problem);
  EXPECT_EQ(read.bytes, c.read_problem == FileProblem::none ? "old" : "");
  EXPECT_EQ(regular_file_problem(path, kCap), c.read_problem);

  EXPECT_EQ(replace_file_contents(path, "new"), c.saved);
  EXPECT_EQ(fs::symlink_status(path).type(), kind_before) << "a link stays a link";
  if (c.saved) {
    const bool through_link = kind_before == fs::file_type::symlink;
    EXPECT_EQ(testing::read_file(through_link ? testing::link_target(path) : path), "new");
  }
  EXPECT_FALSE(testing::has_save_leftovers(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HostileFiles,
    ::testing::Values(
        SpecialCase{{HostileFileKind::directory, "Directory"}, FileProblem::not_regular, false},
        SpecialCase{{HostileFileKind::fifo, "Fifo"}, FileProblem::not_regular, false},
        SpecialCase{
            {HostileFileKind::dev_zero_link, "DevZeroLink"}, FileProblem::not_regular, false},
        SpecialCase{{HostileFileKind::symlink_to_file, "SymlinkToFile"}, FileProblem::none, true},
        SpecialCase{
            {HostileFileKind::dangling_symlink, "DanglingSymlink"}, FileProblem::missing, true},
        SpecialCase{{HostileFileKind::symlink_loop, "SymlinkLoop"}, FileProblem::unreadable, false},
        // Mode 000 also takes the owner's write permission: such a file is kept.
        SpecialCase{{HostileFileKind::unreadable, "Unreadable"}, FileProblem::unreadable, false},
        SpecialCase{{HostileFileKind::too_large, "TooLarge"}, FileProblem::too_large, true}),
    [](const auto& info) { return std::string(info.param.file.name); });

TEST(FileStore, SavedContentIsCompleteAndKeepsTheFileMode) {
  testing::TempDir dir;
  const fs::path path = dir.file("list.txt");
  testing::write_file(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  std::mt19937 random(3);
  for (const size_t size : {size_t{0}, size_t{1}, size_t{70000}, size_t{5} << 20}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
      c = static_cast<char>(random());
    }
    ASSERT_TRUE(replace_file_contents(path, bytes));
    EXPECT_EQ(read_regular_file(path, 8 * kCap).bytes, bytes);
  }
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(testing::has_save_leftovers(dir.path()));
}

TEST(FileStore, FileThatGrowsBeyondTheCapWhileReadIsTooLarge) {
  testing::TempDir dir;
  const fs::path path = dir.file("a");
  testing::write_file(path, std::string(kCap + 1, 'x'));
  EXPECT_EQ(read_regular_file(path, kCap).problem, FileProblem::too_large);
  testing::write_file(path, std::string(kCap, 'x'));
  EXPECT_EQ(read_regular_file(path, kCap).bytes.size(), kCap);
}

// What a killed save left (a partly written temporary file) is taken over by the next
// save of the same file, and a symlink's save works beside the file it leads to.
TEST(FileStore, NextSaveTakesOverWhatAKilledSaveLeft) {
  testing::TempDir dir;
  const fs::path path = dir.file("list.txt");
  testing::write_file(path, "old");
  testing::write_file(save_temporary_path(path), std::string(100000, 'p'));
  ASSERT_TRUE(replace_file_contents(path, "new"));
  EXPECT_EQ(testing::read_file(path), "new");
  EXPECT_FALSE(fs::exists(save_temporary_path(path)));

  fs::create_directory(dir.file("synced"));
  fs::create_symlink("synced/list.txt", dir.file("link.txt"));
  EXPECT_EQ(save_temporary_path(dir.file("synced/list.txt")), dir.file("synced/.list.txt.saving"));
  ASSERT_TRUE(replace_file_contents(dir.file("link.txt"), "linked"));
  EXPECT_EQ(testing::read_file(dir.file("synced/list.txt")), "linked");
  EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
}

// Saves killed at random moments always leave the old or the new content whole, and
// the next save takes over what a killed one left beside the file.
TEST(FileStore, KilledSavesLeaveAWholeFileAndNoTemporaryFileForGood) {
  testing::TempDir dir;
  const fs::path path = dir.file("list.txt");
  const std::string old_content(3 << 20, 'o');
  const std::string new_content(2 << 20, 'n');
  ASSERT_TRUE(replace_file_contents(path, old_content));
  std::mt19937 random(5);
  bool killed_with_leftover = false;
  for (int round = 0; round < 30; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        replace_file_contents(path, round % 2 ? new_content : old_content);
      }
    }
    ::usleep(static_cast<useconds_t>(random() % 20000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string content = testing::read_file(path);
    ASSERT_TRUE(content == old_content || content == new_content) << "round " << round;
    killed_with_leftover = killed_with_leftover || testing::has_save_leftovers(dir.path());
  }
  ASSERT_TRUE(replace_file_contents(path, "last"));
  EXPECT_EQ(testing::read_file(path), "last");
  EXPECT_FALSE(testing::has_save_leftovers(dir.path()));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
  RecordProperty("killed_with_leftover", killed_with_leftover ? "yes" : "no");
}

}  // namespace
}  // namespace shop
