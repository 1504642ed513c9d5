#include "app/private_profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/core/hostile_file_kinds.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::gbk;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

struct ReadCase {
  const char* name;
  Text file;
  Text section;
  Text key;
  Text default_value;
  Text expected;
};

class ReadProfileString : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadProfileString, FollowsTheReadingRules) {
  const ReadCase& c = GetParam();
  TempDir dir;
  write_file(dir.file("a.ini"), c.file);
  EXPECT_EQ(read_profile_string(dir.file("a.ini"), c.section, c.key, c.default_value), c.expected);
}

const Text kLong(12000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadProfileString,
    ::testing::Values(
        ReadCase{"PlainValue", "[s]\r\nk=v\r\n", "s", "k", "d", "v"},
        ReadCase{"NamesIgnoreLetterCase", "[Edit]\r\nBox1=v\r\n", "eDIT", "box1", "d", "v"},
        ReadCase{"ChineseNames", "[" + gbk("编辑框") + "]\r\n" + gbk("编辑框1=连衣裙") + "\r\n",
                 gbk("编辑框"), gbk("编辑框1"), "", gbk("连衣裙")},
        // The trail byte of a two-byte character is no letter to fold, and no "]".
        ReadCase{"TrailBytesAreNotFolded", "[s]\r\n\x81\x61=v\r\n", "s", "\x81\x41", "d", "d"},
        ReadCase{"TrailByteIsNoClosingBracket", "[" + gbk("乚") + "]\r\nk=v\r\n", gbk("乚"), "k",
                 "d", "v"},
        ReadCase{"EmptyValue", "[s]\r\nk=\r\n", "s", "k", "d", ""},
        ReadCase{"CommentLineIsNoKey", "[s]\r\n;k=c\r\nk=v\r\n", "s", "k", "d", "v"},
        ReadCase{"FirstDuplicateKeyWins", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "d", "1"},
        ReadCase{"OnlyFirstDuplicateSectionSearched", "[s]\r\na=1\r\n[t]\r\n[s]\r\nk=2\r\n", "s",
                 "k", "d", "d"},
        ReadCase{"KeyOfAnotherSectionNotSeen", "[t]\r\nk=1\r\n[s]\r\n", "s", "k", "d", "d"},
        ReadCase{"BlanksAroundNameAndValueDropped", "[ s ]\r\n  k \t= \t v w \t\r\n", "s", "k", "d",
                 "v w"},
        ReadCase{"DoubleQuotesRemoved", "[s]\r\nk= \" v \" \r\n", "s", "k", "d", " v "},
        ReadCase{"SingleQuotesRemoved", "[s]\r\nk='v'\r\n", "s", "k", "d", "v"},
        ReadCase{"UnmatchedQuotesKept", "[s]\r\nk=\"v'\r\n", "s", "k", "d", "\"v'"},
        ReadCase{"LoneQuoteKept", "[s]\r\nk=\"\r\n", "s", "k", "d", "\""},
        ReadCase{"LineWithoutEqualsIsNoKey", "[s]\r\nk\r\n", "s", "k", "d", "d"},
        ReadCase{"GarbageLinesIgnored", "junk\r\n=x\r\n[s]\r\n???\r\nk=v\r\n", "s", "k", "d", "v"},
        ReadCase{"LongValueCut", "[s]\r\nk=" + kLong + "\r\n", "s", "k", "d",
                 kLong.substr(0, 10239)},
        ReadCase{"DefaultLosesTrailingSpaces", "", "s", "k", " d  ", " d"},
        ReadCase{"LongDefaultCut", "", "s", "k", kLong, kLong.substr(0, 10239)},
        ReadCase{"LeadingControlsOfNamesDropped", "[s]\r\nk=v\r\n", "\t\x01 s", "\n k", "d", "v"},
        ReadCase{"LineFeedOnlyLines", "[s]\nk=v\n", "s", "k", "d", "v"},
        ReadCase{"LastLineWithoutBreak", "[s]\r\nk=v", "s", "k", "d", "v"},
        ReadCase{"InvalidGbkValueKept", "[s]\r\nk=\xFF\x80\r\n", "s", "k", "d", "\xFF\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadProfileString, MissingFileGivesTheDefaultAndCreatesNothing) {
  TempDir dir;
  EXPECT_EQ(read_profile_string(dir.file("none.ini"), "s", "k", "d "), "d");
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")));
}

TEST(ReadProfileString, LeadingBlanksOfThePathDropped) {
  TempDir dir;
  write_file(dir.file("a.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(read_profile_string(" \t" + dir.file("a.ini").native(), "s", "k", "d"), "v");
}

struct WriteCase {
  const char* name;
  Text before;
  Text section;
  Text key;
  Text value;
  Text after;
};

class WriteProfileString : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteProfileString, ChangesOnlyItsKey) {
  const WriteCase& c = GetParam();
  TempDir dir;
  write_file(dir.file("a.ini"), c.before);
  write_profile_string(dir.file("a.ini"), c.section, c.key, c.value);
  EXPECT_EQ(read_file(dir.file("a.ini")), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteProfileString,
    ::testing::Values(
        WriteCase{"EmptyFileGetsTheSection", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"ExistingKeyKeepsItsPlace", "[s]\r\na=1\r\nk=old\r\nb=2\r\n", "s", "K", "new",
                  "[s]\r\na=1\r\nK=new\r\nb=2\r\n"},
        WriteCase{"NewKeyAtTheEndOfItsSection", "[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n", "S", "k", "v",
                  "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\nb=2\r\n"},
        WriteCase{"NewKeyInAnEmptySection", "[s]\r\n[t]\r\n", "s", "k", "v",
                  "[s]\r\nk=v\r\n[t]\r\n"},
        WriteCase{"MissingSectionAppended", "[t]\r\nb=2\r\n", "s", "k", "v",
                  "[t]\r\nb=2\r\n[s]\r\nk=v\r\n"},
        WriteCase{"LastLineWithoutBreakEnded", "[t]\r\nb=2", "s", "k", "v",
                  "[t]\r\nb=2\r\n[s]\r\nk=v\r\n"},
        WriteCase{"OnlyFirstDuplicateSectionWritten", "[s]\r\na=1\r\n[s]\r\nk=2\r\n", "s", "k", "3",
                  "[s]\r\na=1\r\nk=3\r\n[s]\r\nk=2\r\n"},
        WriteCase{"FirstDuplicateKeyReplaced", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "3",
                  "[s]\r\nk=3\r\nk=2\r\n"},
        WriteCase{"ValueWrittenVerbatim", "", "s", "k", " \"v\" ", "[s]\r\nk= \"v\" \r\n"},
        WriteCase{"LeadingControlsOfNamesDropped", "", "\x02 s", "\t k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"OtherLinesUntouched",
                  "junk\r\n;c\r\n[s]\r\nx\r\nk=1\r\n[u]\r\nz=" + kLong + "\r\n", "s", "k", "2",
                  "junk\r\n;c\r\n[s]\r\nx\r\nk=2\r\n[u]\r\nz=" + kLong + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteProfileString, WrittenValuesReadBack) {
  TempDir dir;
  const auto file = dir.file("a.ini");
  write_profile_string(file, gbk("编辑框"), gbk("编辑框1"), gbk("连衣裙"));
  write_profile_string(file, gbk("组合框"), gbk("组合框1"), "20");
  write_profile_string(file, gbk("编辑框"), gbk("编辑框2"), "");
  EXPECT_EQ(read_profile_string(file, gbk("编辑框"), gbk("编辑框1"), ""), gbk("连衣裙"));
  EXPECT_EQ(read_profile_string(file, gbk("组合框"), gbk("组合框1"), ""), "20");
  EXPECT_EQ(read_profile_string(file, gbk("编辑框"), gbk("编辑框2"), "d"), "");
}

TEST(WriteProfileString, ReadOnlyFileOrMissingFolderKeepsWhatWasThere) {
  TempDir dir;
  const auto file = dir.file("a.ini");
  write_file(file, "[s]\r\nk=1\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  write_profile_string(file, "s", "k", "2");
  EXPECT_EQ(read_file(file), "[s]\r\nk=1\r\n");

  write_profile_string(dir.file("missing/a.ini"), "s", "k", "2");
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

// A section name that ends inside a two-byte character reads back as written (found
// by fuzzing: the "]" behind it was taken for the character's second byte).
TEST(WriteProfileString, SectionNameEndingInsideACharacterReadsBack) {
  TempDir dir;
  const auto file = dir.file("a.ini");
  for (const Text& section : {Text("\xB0"), Text("s\xB0"), Text("\xB0\xA1\xB0"), Text("\xB0]")}) {
    write_profile_string(file, section, "k", "v" + section);
    EXPECT_EQ(read_profile_string(file, section, "k", "d"), "v" + section)
        << ::testing::PrintToString(section);
  }
  EXPECT_EQ(read_profile_string(file, "s", "k", "d"), "d");
}

class ProfileHostileFiles : public ::testing::TestWithParam<testing::HostileFileCase> {};

// An INI file that is not a regular file, or beyond the cap, gives every default and
// is never written; a symlink is read and written through.
TEST_P(ProfileHostileFiles, GiveDefaultsAndAreLeftAlone) {
  const testing::HostileFileKind kind = GetParam().kind;
  if (kind == testing::HostileFileKind::unreadable && ::geteuid() == 0) {
    GTEST_SKIP() << "every file is readable for root";
  }
  TempDir dir;
  const auto file = dir.file("a.ini");
  const Text content = "[s]\r\nk=v\r\n";
  testing::make_hostile_file(file, kind, kProfileFileSizeLimit + 1, content);
  const auto type_before = std::filesystem::symlink_status(file).type();
  const bool readable = kind == testing::HostileFileKind::symlink_to_file;
  const bool writable = readable || kind == testing::HostileFileKind::dangling_symlink;

  EXPECT_EQ(read_profile_string(file, "s", "k", "d"), readable ? "v" : "d");
  EXPECT_EQ(profile_file_problem(file) == FileProblem::none, readable);
  write_profile_string(file, "s", "k", "w");
  EXPECT_EQ(read_profile_string(file, "s", "k", "d"), writable ? "w" : readable ? "v" : "d");
  EXPECT_EQ(std::filesystem::symlink_status(file).type(), type_before);
  if (kind == testing::HostileFileKind::too_large) {
    EXPECT_EQ(std::filesystem::file_size(file), kProfileFileSizeLimit + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProfileHostileFiles,
                         ::testing::ValuesIn(testing::hostile_file_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A file of a million empty lines is read line by line, within the cap.
TEST(ReadProfileString, ManyEmptyLinesWithinTheCap) {
  TempDir dir;
  const auto file = dir.file("a.ini");
  write_file(file, Text(kProfileFileSizeLimit - 10, '\n') + "[s]\r\nk=v\r\n");
  EXPECT_EQ(read_profile_string(file, "s", "k", "d"), "v");
}

}  // namespace
}  // namespace shop
