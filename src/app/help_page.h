#pragma once
// The help page bundled with the program, put where the system browser can open it.

#include <optional>

#include "web/text.h"

namespace shop {

// Writes the bundled help page into the user's own cache folder (a folder only the
// user may enter) and returns its file:// address; none when it could not be written,
// so that no stale or foreign file is ever opened in its place.
std::optional<Text> write_bundled_help_page();

}  // namespace shop
