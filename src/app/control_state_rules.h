#pragma once
// Pure rules of the control-state file: how a stored text reads as a selected or
// ticked state, how a content is written as one line, and the file-name part of a path.

#include "web/text.h"

namespace shop {

// True for exactly "真", "是", "yes" or "1", and for any text that reads "TRUE" once its
// letters a-z are capitalised (two-byte characters are left alone).
bool text_to_bool(const Text& text);

// The text a content is stored as: every line break (CR LF, a lone CR or a lone LF)
// becomes one space, so that a value never adds a line to the file. A text without
// line breaks is stored unchanged.
Text single_line_value(const Text& content);

// The last component of a path: forward slashes count as backslashes, a doubled
// backslash as one, and a trailing backslash gives no empty last component.
Text last_path_component(const Text& path);

}  // namespace shop
