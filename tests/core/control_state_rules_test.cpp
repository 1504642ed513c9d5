#include "app/control_state_rules.h"

#include <gtest/gtest.h>

#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::gbk;

TEST(TextToBool, AcceptsExactlyTheTrueTexts) {
  const struct {
    Text text;
    bool expected;
  } cases[] = {
      {gbk("真"), true},
      {gbk("是"), true},
      {"yes", true},
      {"1", true},
      {"TRUE", true},
      {"true", true},
      {"True", true},
      {"tRuE", true},
      {"Yes", false},
      {"YES", false},
      {gbk("假"), false},
      {"0", false},
      {"", false},
      {" true", false},
      {"true ", false},
      {gbk("真的"), false},
      // A trail byte that equals a capital letter is not one: "TRU" + 0x81 0x45.
      {"TRU\x81\x45", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text_to_bool(c.text), c.expected) << c.text;
  }
}

TEST(SingleLineValue, TurnsEachLineBreakIntoOneSpace) {
  const struct {
    Text content;
    Text stored;
  } cases[] = {
      {"a\r\nb", "a b"},
      {"a\nb\rc", "a b c"},
      {"a\n\rb", "a  b"},  // LF then CR: two line breaks
      {"\r\n\r\n", "  "},
      {"a\r", "a "},
      {"\n[x]\nk=v", " [x] k=v"},
      // Without line breaks the bytes stay as they are, invalid GBK and controls included.
      {"", ""},
      {" \"q\" \t", " \"q\" \t"},
      {gbk("连衣裙") + "\xFF\x80\x01", gbk("连衣裙") + "\xFF\x80\x01"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(single_line_value(c.content), c.stored) << c.content;
  }
}

TEST(LastPathComponent, TakesTheLastPieceOfAnyPath) {
  const struct {
    Text path;
    Text expected;
  } cases[] = {
      {"tool.exe", "tool.exe"},
      {"D:\\work\\tool.exe", "tool.exe"},
      {"/usr/local/bin/shopkeeper", "shopkeeper"},
      {"D:/work\\mixed/tool.exe", "tool.exe"},
      {"D:\\\\work\\\\tool.exe", "tool.exe"},
      {"D:\\work\\", "work"},
      {"D:\\work\\\\", "work"},
      // Three backslashes: the pair becomes one, so two remain and the last piece is empty.
      {"a\\\\\\", ""},
      {gbk("店长\\工具.exe"), gbk("工具.exe")},
      // 0x5C as the trail byte of a two-byte character is no separator.
      {"dir\\\x81\x5C.exe", "\x81\x5C.exe"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(last_path_component(c.path), c.expected) << c.path;
  }
}

}  // namespace
}  // namespace shop
