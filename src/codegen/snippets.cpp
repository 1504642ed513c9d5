#include "codegen/snippets.h"

#include "web/system_texts.h"

namespace shop {
namespace {

const Text kIdPlaceholder = "{ww}";

}  // namespace

const Text kMusicTemplate = Text("<bgsound balance=\"0\" src=\"") + kMusicPlaceholder +
                            "\" volume=\"0\" loop=\"infinite\"></bgsound>";

Text wangwang_template(const Text& status_host) {
  return "<a target=\"_blank\" href=\"http://" + status_host +
         "/msg.aw?v=2&uid={ww}&site=cntaobao&s=1&charset=utf-8\" ><img border=\"0\" "
         "src=\"http://" +
         status_host + "/online.aw?v=2&uid={ww}&site=cntaobao&s=" + kStylePlaceholder +
         "&charset=utf-8\" alt=\"" + kTipPlaceholder + "\" /></a>";
}

Text music_snippet(const Text& music_address) {
  return replace_text(kMusicTemplate, kMusicPlaceholder, music_address);
}

// The id goes in first, then the tip, then the style: each later step also scans
// what the earlier ones inserted.
Text wangwang_snippet(const Text& status_host, const Text& id, const Text& tip, const Text& style) {
  Text snippet = replace_text(wangwang_template(status_host), kIdPlaceholder, id);
  snippet = replace_text(snippet, kTipPlaceholder, tip);
  if (!style.empty()) {
    snippet = replace_text(snippet, kStylePlaceholder, style);
  }
  return snippet;
}

}  // namespace shop
