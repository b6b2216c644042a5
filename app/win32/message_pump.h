// The event pump of the voice on Windows: lets the user-interface thread's pending messages
// through between two clips.
#pragma once

#include "voice/clip_player.h"

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
