#pragma once
// The working directory the desktop menu starts the tool in, and the move into a
// working directory chosen on the command line.

#include <QString>

namespace shop {

// "shopkeeper" in the user's data location: $XDG_DATA_HOME/shopkeeper, or
// ~/.local/share/shopkeeper when that is not set. Only computed, never created.
QString user_data_directory();

// Creates `path` with its missing parents and makes it the process's working directory.
// False when either fails; the working directory is then unchanged.
bool enter_working_directory(const QString& path);

}  // namespace shop
