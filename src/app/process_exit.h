#pragma once

#include <functional>

namespace shop {

// Ends the process at once with `code`. No destructor runs: worker threads may be in
// the middle of a fetch, and nothing needs saving because every change is already on
// disk.
void end_process(int code);

// Tests replace the ending so that closing a window does not end the test program.
using ProcessEnder = std::function<void(int code)>;
ProcessEnder set_process_ender(ProcessEnder ender);

}  // namespace shop
