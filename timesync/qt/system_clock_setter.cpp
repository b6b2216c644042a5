#include "timesync/qt/system_clock_setter.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>
#include <cerrno>
#include <ctime>

namespace horalia::qt {
namespace {

const QString kTimedatedService = QStringLiteral("org.freedesktop.timedate1");
const QString kTimedatedPath = QStringLiteral("/org/freedesktop/timedate1");
const QString kTimedatedInterface = QStringLiteral("org.freedesktop.timedate1");
constexpr int kPropertyTimeoutMs = 2000;
// The person may take a while to authorise the change.
constexpr int kAuthorisationTimeoutMs = 120000;

bool HoldsCapSysTime() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    return (data[CAP_TO_INDEX(CAP_SYS_TIME)].effective & CAP_TO_MASK(CAP_SYS_TIME)) != 0;
}

TimedatedState AskTimedatedState(const QDBusConnection& bus) {
    TimedatedState state;
    if (!bus.isConnected()) {
        return state;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kTimedatedService, kTimedatedPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    call << kTimedatedInterface;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kPropertyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return state;
    }
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    state.reachable = true;
    state.ntp = properties.value(QStringLiteral("NTP")).toBool();
    state.ntpSynchronized = properties.value(QStringLiteral("NTPSynchronized")).toBool();
    return state;
}

std::int64_t NowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// The request goes out as a change relative to the clock: the user may take a while to authorise
// it, and an absolute time would then set the clock behind by that while. The answer goes to
// `answered` unless `context` has gone first.
void SendSetTime(QDBusConnection& bus, std::int64_t targetMilliseconds, bool interactive,
                 QObject* context, std::function<void(ClockSetResult)> answered) {
    const std::int64_t offset = targetMilliseconds * 1000 - NowMicroseconds();
    QDBusMessage call = QDBusMessage::createMethodCall(
        kTimedatedService, kTimedatedPath, kTimedatedInterface, QStringLiteral("SetTime"));
    call << static_cast<qlonglong>(offset) << true /*relative*/ << interactive;
    call.setInteractiveAuthorizationAllowed(interactive);
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call, kAuthorisationTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answered = std::move(answered)](QDBusPendingCallWatcher* finished) {
                         const bool set = !finished->isError();
                         finished->deleteLater();
                         answered(set ? ClockSetResult::kSet : ClockSetResult::kNotAllowed);
                     });
}

}  // namespace

ClockSetResult SystemClockSetter::SetClock(const ClockValue& value, ClockBase base, bool mayAsk) {
    const std::optional<std::int64_t> target = TargetMilliseconds(value, base, SystemZoneClock());
    if (!target) {
        return ClockSetResult::kRefused;
    }
    QDBusConnection bus = QDBusConnection::systemBus();
    switch (ChooseClockSetting(AskTimedatedState(bus), HoldsCapSysTime())) {
        case ClockSettingMethod::SetDirectly: {
            const timespec time{static_cast<time_t>(*target / 1000),
                                static_cast<long>(*target % 1000) * 1000000};
            if (clock_settime(CLOCK_REALTIME, &time) == 0) {
                return ClockSetResult::kSet;
            }
            return errno == EPERM ? ClockSetResult::kNotAllowed : ClockSetResult::kRefused;
        }
        case ClockSettingMethod::AskTimedated:
            SendSetTime(bus, *target, mayAsk, &context_, [this](ClockSetResult result) {
                if (answered_) {
                    answered_(result);
                }
            });
            return ClockSetResult::kAsked;
        case ClockSettingMethod::LeaveAlone:
            return ClockSetResult::kLeftToSystem;
        case ClockSettingMethod::NoWay:
            break;
    }
    return ClockSetResult::kNotAllowed;
}

}  // namespace horalia::qt
