#include "app/qt/x11_display.h"

#include <QGuiApplication>
#include <cstring>

namespace horalia::qt {

X11Display QtX11Display() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return {};
    }
    X11Display display{.connection = x11->connection()};
    const QByteArray name = qgetenv("DISPLAY");
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > name.lastIndexOf(':')) {
        display.screen = name.mid(dot + 1).toInt();
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(display.connection));
    for (int skip = display.screen; skip > 0 && screens.rem > 0; --skip) {
        xcb_screen_next(&screens);
    }
    if (screens.rem > 0) {
        display.root = screens.data->root;
    }
    return display;
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply != nullptr ? reply->atom : XCB_NONE;
}

}  // namespace horalia::qt
