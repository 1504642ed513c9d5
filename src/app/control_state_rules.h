#pragma once
// Pure rules of the control-state file: how a stored text reads as a selected or
// ticked state, and the file-name part of a path.

#include "web/text.h"

namespace shop {

// True for exactly "真", "是", "yes" or "1", and for any text that reads "TRUE" once its
// letters a-z are capitalised (two-byte characters are left alone).
bool text_to_bool(const Text& text);

// The last component of a path: forward slashes count as backslashes, a doubled
// backslash as one, and a trailing backslash gives no empty last component.
Text last_path_component(const Text& path);

}  // namespace shop
