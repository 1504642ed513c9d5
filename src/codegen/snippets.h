#pragma once
// The two HTML snippets for a shop page: a background-music tag and a Wangwang
// online-status button. Both are plain substitutions into a fixed template.

#include "web/text.h"

namespace shop {

// One placeholder, "{音乐}".
extern const Text kMusicTemplate;

// Placeholders "{ww}" (twice), "{风格}" and "{提示}"; the status host stands in
// both addresses.
Text wangwang_template(const Text& status_host);

Text music_snippet(const Text& music_address);

// `style` is "1", "2", or empty when no style is chosen ("{风格}" then stays).
Text wangwang_snippet(const Text& status_host, const Text& id, const Text& tip, const Text& style);

}  // namespace shop
