#pragma once

#include <functional>

namespace shop {

// Runs `work` on the user-interface thread and waits until it has run. Called on the
// user-interface thread itself, it just runs it. Every control access from a worker
// thread goes through here.
void on_ui_thread(const std::function<void()>& work);

bool is_ui_thread();

// Queues `work` to run on the user-interface thread and returns at once; calls
// queued here and through on_ui_thread run in the order they were given.
void post_to_ui_thread(std::function<void()> work);

}  // namespace shop
