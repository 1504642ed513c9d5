#include "lists/list_file.h"

#include <gtest/gtest.h>

#include <random>

#include "lists/file_store.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::gbk;

const Text S = kColumnSeparator;

TrackedItem row(Text a = {}, Text b = {}, Text c = {}, Text d = {}, Text e = {}, Text f = {}) {
  return {a, b, c, d, e, f};
}

struct ParseCase {
  const char* name;
  Text file;
  std::vector<TrackedItem> rows;
};

class ParseListText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseListText, GivesTheRowsOfTheFile) {
  EXPECT_EQ(parse_list_text(GetParam().file), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseListText,
    ::testing::Values(
        ParseCase{"Empty", "", {}},
        ParseCase{"OneFullLine",
                  "0" + S + gbk("连衣裙") + S + "A" + S + S + S + S + "\r\n",
                  {row("0", gbk("连衣裙"), "A")}},
        ParseCase{"LastLineWithoutLineBreak", "1" + S + "k" + S + "u", {row("1", "k", "u")}},
        ParseCase{"EndingLineBreakGivesNoExtraRow", "a" + S + "\r\n", {row("a")}},
        ParseCase{"EmptyLinesGiveEmptyRows", "\r\na" + S + "\r\n\r\n", {row(), row("a"), row()}},
        ParseCase{"SeventhFieldDropped",
                  "1" + S + "2" + S + "3" + S + "4" + S + "5" + S + "6" + S + "7" + S + "\r\n",
                  {row("1", "2", "3", "4", "5", "6")}},
        ParseCase{"TextAfterLastSeparatorIsAField", "a" + S + "b", {row("a", "b")}},
        ParseCase{"EmptyFieldsKept", S + S + "c" + S, {row("", "", "c")}},
        ParseCase{"ZeroByteEndsTheText",
                  "a" + S + "\r\nb" + std::string(1, '\0') + "\r\nc",
                  {row("a"), row("b")}},
        // The separator's bytes preceded by a lead byte are not a separator: the walk
        // steps over two-byte characters.
        ParseCase{"SeparatorOnlyAtCharacterStarts",
                  "\xB0" + S + "x",
                  {row("\xB0\xA1\xDC\xA1\xD5\xA1\xDDx")}},
        ParseCase{"LoneCarriageReturnIsText", "a\rb" + S, {row("a\rb")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatListText, WritesEveryFieldWithItsSeparatorAndEveryLineWithCrLf) {
  EXPECT_EQ(format_list_text({}), "");
  EXPECT_EQ(
      format_list_text({row(), row("0", gbk("连衣裙"), "A")}),
      S + S + S + S + S + S + "\r\n" + "0" + S + gbk("连衣裙") + S + "A" + S + S + S + S + "\r\n");
}

TEST(FormatListText, KeywordHoldingTheSeparatorShiftsTheFollowingCells) {
  const Text saved = format_list_text({row("0", "a" + S + "b", "u", "p", "q", "r")});
  EXPECT_EQ(parse_list_text(saved), std::vector{row("0", "a", "b", "u", "p", "q")});
}

// Where a two-byte walk over the cell ends: a cell that ends inside a character
// would swallow the first byte of the separator behind it.
bool ends_on_character_boundary(const Text& cell) {
  size_t i = 0;
  while (i < cell.size()) {
    i += static_cast<unsigned char>(cell[i]) >= 0x80 ? 2 : 1;
  }
  return i == cell.size();
}

// Rows without separators, line breaks or zero bytes come back unchanged, whatever
// their bytes, invalid GBK included.
TEST(ListText, ArbitraryCellsRoundTrip) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<int> length(0, 12);
  for (int round = 0; round < 300; ++round) {
    std::vector<TrackedItem> rows(3);
    for (TrackedItem& item : rows) {
      for (Text& cell : item) {
        for (int n = length(random); n > 0; --n) {
          const char c = static_cast<char>(byte(random));
          if (c != '\r' && c != '\n' && c != '\xA1') {
            cell.push_back(c);
          }
        }
        if (!ends_on_character_boundary(cell)) {
          cell.push_back('x');
        }
      }
    }
    const Text text = format_list_text(rows);
    ASSERT_EQ(parse_list_text(text), rows);
  }
}

// Whatever a file holds, loading takes it by the rules: saving what was loaded and
// loading that again gives the same rows.
TEST(ListText, RandomBytesLoadAndSettleAfterOneSave) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  Text file(1 << 20, '\0');
  for (char& c : file) {
    c = static_cast<char>(byte(random));
    if (c == '\0') {
      c = (byte(random) & 1) ? '\r' : '\n';  // many line breaks, no early end
    }
  }
  file.back() = 'x';
  const std::vector<TrackedItem> rows = parse_list_text(file);
  EXPECT_GT(rows.size(), 10u);
  EXPECT_EQ(parse_list_text(format_list_text(rows)), rows);
}

// A text that ends inside a two-byte character loses the incomplete character, so
// that what is loaded is saved and loaded back the same (found by fuzzing: the lone
// first byte swallowed the first byte of the separator written behind it).
TEST(ListText, TextEndingInsideACharacterRoundTrips) {
  const std::vector<Text> files = {"\x80", "a" + S + "\xB0", "x\r\n\xB0", Text("a\xB0\0rest", 7),
                                   "\xB0\xA1\xB0"};
  for (const Text& file : files) {
    const std::vector<TrackedItem> rows = parse_list_text(file);
    EXPECT_EQ(parse_list_text(format_list_text(rows)), rows) << ::testing::PrintToString(file);
  }
  EXPECT_EQ(parse_list_text("a" + S + "\xB0"), std::vector{row("a")});
  EXPECT_EQ(parse_list_text("\xB0\xA1\xB0"), std::vector{row("\xB0\xA1")});
}

TEST(ListText, RowLimitRefusesLongerTexts) {
  const Text three_rows = "a\r\n\r\nc";
  EXPECT_EQ(parse_list_text(three_rows, 3), std::optional(std::vector{row("a"), row(), row("c")}));
  EXPECT_EQ(parse_list_text(three_rows, 2), std::nullopt);
  EXPECT_EQ(parse_list_text("", 0), std::optional(std::vector<TrackedItem>{}));
}

// Millions of empty lines are refused by the row cap, without holding a row for each.
TEST(ReadListFile, HonoursTheCaps) {
  testing::TempDir dir;
  const auto path = dir.file("list.txt");
  EXPECT_EQ(read_list_file(path).file_problem, FileProblem::missing);

  Text bare_lines;
  for (size_t i = 0; i < 5'000'000; ++i) {
    bare_lines += "\r\n";
  }
  testing::write_file(path, bare_lines);
  ListFileRead list = read_list_file(path);
  EXPECT_TRUE(list.too_many_rows);
  EXPECT_TRUE(list.rows.empty());

  testing::write_file(path, Text(kListRowLimit * 2, '\n') + "\r\n");
  list = read_list_file(path);
  EXPECT_FALSE(list.too_many_rows);
  EXPECT_EQ(list.rows.size(), 1u);

  std::filesystem::resize_file(path, kListFileSizeLimit + 1);
  list = read_list_file(path);
  EXPECT_EQ(list.file_problem, FileProblem::too_large);
  EXPECT_TRUE(list.rows.empty());
}

TEST(FileStore, ReplacesContentAndLeavesReadOnlyFilesWhole) {
  testing::TempDir dir;
  const auto path = dir.file("list.txt");
  ASSERT_TRUE(replace_file_contents(path, "new"));
  EXPECT_EQ(read_file_bytes(path), "new");
  ASSERT_TRUE(replace_file_contents(path, ""));
  EXPECT_EQ(read_file_bytes(path), "");

  testing::write_file(path, "old");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_FALSE(replace_file_contents(path, "new"));
  EXPECT_EQ(read_file_bytes(path), "old");

  EXPECT_FALSE(replace_file_contents(dir.file("missing/list.txt"), "x"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "no temporary file is left behind";
}

}  // namespace
}  // namespace shop
