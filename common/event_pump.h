// The shell's event pump: long work on the user-interface thread (an announcement, a slide) lets
// the other handlers run between its steps.
#pragma once

namespace horalia {

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Dispatches every event pending on the user-interface thread, then returns.
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace horalia
