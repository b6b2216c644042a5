// The shell's own word on whether the user may be disturbed now (SHQueryUserNotificationState):
// a full-screen program, a presentation or the quiet hour after a first log-on ask for quiet.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "app/main_form_ports.h"

namespace horalia::win32 {

class NotificationStateQuiet final : public QuietSource {
  public:
    using Query = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);

    explicit NotificationStateQuiet(Query query = &SHQueryUserNotificationState) : query_(query) {}
    // A failed query says no.
    bool AsksForQuiet() override;

  private:
    Query query_;
};

}  // namespace horalia::win32
