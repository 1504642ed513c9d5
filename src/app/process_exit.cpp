#include "app/process_exit.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace shop {
namespace {
ProcessEnder installed_ender;
}

void end_process(int code) {
  if (installed_ender) {
    installed_ender(code);
    return;
  }
  std::fflush(nullptr);
  std::_Exit(code);
}

ProcessEnder set_process_ender(ProcessEnder ender) {
  return std::exchange(installed_ender, std::move(ender));
}

}  // namespace shop
