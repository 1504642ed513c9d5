#include "app/control_state_rules.h"

#include "web/system_texts.h"
#include "web/text.h"

namespace shop {
bool text_to_bool(const Text& text) {
  if (text == kTrueText || text == kYesText || text == "yes" || text == "1") {
    return true;
  }
  Text upper;
  upper.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      // A two-byte character: its trail byte may look like a letter but is not one.
      upper += c;
      if (i + 1 < text.size()) {
        upper += text[++i];
      }
    } else {
      upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
  }
  return upper == "TRUE";
}

Text single_line_value(const Text& content) {
  // CR and LF are never the trail byte of a two-byte character, so bytes will do.
  Text line;
  line.reserve(content.size());
  for (size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c == '\r' || c == '\n') {
      line += ' ';
      if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
        ++i;
      }
    } else {
      line += c;
    }
  }
  return line;
}

Text last_path_component(const Text& path) {
  const Text backslashed = replace_text(path, "/", "\\");
  const Text single = replace_text(backslashed, "\\\\", "\\");
  const std::vector<Text> pieces = split_text(single, "\\");
  return pieces.empty() ? Text() : pieces.back();
}

}  // namespace shop
