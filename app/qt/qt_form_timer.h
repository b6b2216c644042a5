// The main form's timers and event pump on Qt.
#pragma once

#include <QTimer>
#include <functional>

#include "app/form_timer.h"
#include "voice/clip_player.h"

namespace horalia::qt {

// One single-shot precise QTimer: the core re-arms it for every tick.
class QtFormTimer final : public FormTimerPort {
  public:
    QtFormTimer();
    void OnFire(std::function<void()> fired) { fired_ = std::move(fired); }

    void Arm(std::int32_t delayMilliseconds) override;
    void Cancel() override;

    bool Pending() const { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> fired_;
};

// Lets every pending event run: between two clips, the tray, the timers and the socket stay alive.
class QtEventPump final : public EventPump {
  public:
    void ProcessPendingEvents() override;
};

}  // namespace horalia::qt
