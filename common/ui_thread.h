// The one way another thread reaches the program: it hands work to the user-interface thread.
#pragma once

#include <functional>

namespace horalia {

class UiThread {
  public:
    virtual ~UiThread() = default;
    // Callable from any thread: the task runs on the user-interface thread, after the events
    // already pending there. A task posted while the program ends may never run.
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace horalia
