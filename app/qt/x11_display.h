// Qt's own connection to the X server, for the few things the shell asks the X server itself:
// the tray selection, the global hotkey, the active window's state.
#pragma once

#include <xcb/xcb.h>

#include "common/linux/unique_handles.h"

namespace horalia::qt {

struct X11Display {
    xcb_connection_t* connection = nullptr;  // none when Qt runs on another platform
    int screen = 0;                          // the screen DISPLAY names (":0.1" is screen 1)
    xcb_window_t root = XCB_NONE;            // that screen's root window
};

X11Display QtX11Display();

// A reply, error or list xcb allocated for the caller, freed with its holder.
template <typename T>
using XcbReply = UniqueMalloc<T>;

// The atom of a name, interned on the connection; XCB_NONE when the server does not answer.
xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name);

}  // namespace horalia::qt
