// The main form's timers and event pump on Qt.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "app/form_timer.h"
#include "common/event_pump.h"
#include "common/ui_thread.h"

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

// Lets every pending event run (the advertisement's slide pumps between its steps), and runs
// tasks other threads hand to the user-interface thread.
class QtEventPump final : public EventPump, public UiThread {
  public:
    void ProcessPendingEvents() override;
    // Queued to an object of the pump's own: a task still pending when the pump goes is dropped.
    void Post(std::function<void()> task) override;

  private:
    QObject context_;
};

}  // namespace horalia::qt
