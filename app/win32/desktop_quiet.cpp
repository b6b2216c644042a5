#include "app/win32/desktop_quiet.h"

namespace horalia::win32 {

bool NotificationStateQuiet::AsksForQuiet() {
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (FAILED(query_(&state))) {
        return false;
    }
    switch (state) {
        case QUNS_BUSY:
        case QUNS_RUNNING_D3D_FULL_SCREEN:
        case QUNS_PRESENTATION_MODE:
        case QUNS_QUIET_TIME:
            return true;
        default:
            // QUNS_ACCEPTS_NOTIFICATIONS, and also QUNS_NOT_PRESENT (locked, screen saver) and
            // QUNS_APP (a store app in front), which do not ask for quiet.
            return false;
    }
}

}  // namespace horalia::win32
