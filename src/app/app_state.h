#pragma once
// The process-wide shared state: created before the main window, never destroyed
// while the process runs (the process ends without running destructors).

#include <vector>

#include "app/control_state_store.h"
#include "app/settings.h"
#include "ranking/worker_pool.h"
#include "web/text.h"

namespace shop {

struct AppState {
  Settings settings = default_settings();
  // Pieces 0-2 frame the Paipai search address, pieces 3-4 the Taobao one.
  std::vector<Text> search_address_parts;
  // The main window's input values in the control-state file.
  ControlStateStore control_state;
  // The ranking checks' worker threads.
  WorkerPool worker_pool;
};

}  // namespace shop
