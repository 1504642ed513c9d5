#include "codegen/snippets.h"

#include <gtest/gtest.h>

#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::gbk;

const Text kHost = "status.example";

TEST(MusicSnippet, InsertsTheAddressOnceAndUnchanged) {
  EXPECT_EQ(music_snippet("http://m.example/a.mp3"),
            "<bgsound balance=\"0\" src=\"http://m.example/a.mp3\" volume=\"0\" "
            "loop=\"infinite\"></bgsound>");
  const Text odd = gbk("x{音乐}\" & y");
  EXPECT_EQ(music_snippet(odd),
            "<bgsound balance=\"0\" src=\"" + odd + "\" volume=\"0\" loop=\"infinite\"></bgsound>");
}

TEST(WangwangSnippet, ReplacesIdThenTipThenStyle) {
  const Text style1 =
      "<a target=\"_blank\" href=\"http://status.example/msg.aw?v=2&uid=abc&site=cntaobao&s=1"
      "&charset=utf-8\" ><img border=\"0\" src=\"http://status.example/online.aw?v=2&uid=abc"
      "&site=cntaobao&s=1&charset=utf-8\" alt=\"hi\" /></a>";
  EXPECT_EQ(wangwang_snippet(kHost, "abc", "hi", "1"), style1);

  // Only the picture's style changes; the message link keeps s=1.
  Text style2 = style1;
  style2.replace(style2.rfind("&s=1"), 4, "&s=2");
  EXPECT_EQ(wangwang_snippet(kHost, "abc", "hi", "2"), style2);

  struct Case {
    const char* what;
    Text id, tip, style;
    Text uid, alt, s;  // what stands after uid=, in alt and after the picture's s=
  };
  const Case cases[] = {
      {"a tip placeholder in the id", gbk("a{提示}b"), "T", "2", "aTb", "T", "2"},
      {"a style placeholder in the tip", "abc", gbk("x{风格}"), "1", "abc", "x1", "1"},
      {"no style chosen", "abc", "hi", "", "abc", "hi", gbk("{风格}")},
      {"quotes, ampersands and blanks", "a\"b&c d", " <&> ", "1", "a\"b&c d", " <&> ", "1"},
      {"an id placeholder in the id", "{ww}", "hi", "1", "{ww}", "hi", "1"},
  };
  for (const Case& c : cases) {
    const Text expected =
        "<a target=\"_blank\" href=\"http://status.example/msg.aw?v=2&uid=" + c.uid +
        "&site=cntaobao&s=1&charset=utf-8\" ><img border=\"0\" "
        "src=\"http://status.example/online.aw?v=2&uid=" +
        c.uid + "&site=cntaobao&s=" + c.s + "&charset=utf-8\" alt=\"" + c.alt + "\" /></a>";
    EXPECT_EQ(wangwang_snippet(kHost, c.id, c.tip, c.style), expected) << c.what;
  }
}

}  // namespace
}  // namespace shop
