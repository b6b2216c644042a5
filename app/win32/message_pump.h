// The event pump on Windows: lets the user-interface thread's pending messages through between
// two steps of long work (the advertisement's slide).
#pragma once

#include "common/event_pump.h"

namespace horalia::win32 {

class MessagePump final : public EventPump {
  public:
    // Dispatches every pending message and returns. A WM_QUIT is left for the message loop: it
    // is posted again and the pump returns at once.
    void ProcessPendingEvents() override;
};

// The program's message loop; returns the exit code that WM_QUIT carries.
int RunMessageLoop();

}  // namespace horalia::win32
