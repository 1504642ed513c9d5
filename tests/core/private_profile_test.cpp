#include "app/private_profile.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace shop
