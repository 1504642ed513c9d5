#pragma once
// The working directory the desktop menu starts the tool in (`--user-data`).

#include <QString>

namespace shop {

// "shopkeeper" in the user's data location: $XDG_DATA_HOME/shopkeeper, or
// ~/.local/share/shopkeeper when that is not set. Only computed, never created.
QString user_data_directory();

}  // namespace shop
