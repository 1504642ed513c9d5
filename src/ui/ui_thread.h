#pragma once

#include <functional>

namespace shop {

// Runs `work` on the user-interface thread and waits until it has run. Called on the
// user-interface thread itself, it just runs it. Every control access from a worker
// thread goes through here.
void on_ui_thread(const std::function<void()>& work);

bool is_ui_thread();

}  // namespace shop
