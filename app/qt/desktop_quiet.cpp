#include "app/qt/desktop_quiet.h"

// Before Qt: GIO's headers use the word "signals", which Qt defines as a keyword.
#include <gio/gio.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <cstdint>
#include <memory>
#include <vector>

namespace horalia::qt {
namespace {

constexpr int kNotificationsTimeoutMs = 250;

struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};

// The 32-bit values of a window's property (WINDOW, ATOM, ...: of whatever type), or none.
std::vector<std::uint32_t> Property(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t property) {
    constexpr std::uint32_t kMaxValues = 64;
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, kMaxValues),
        nullptr));
    std::vector<std::uint32_t> values;
    if (reply != nullptr && reply->format == 32) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        values.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
    }
    return values;
}

}  // namespace

bool NotificationsInhibited::AsksForQuiet() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.Notifications") << QStringLiteral("Inhibited");
    // Asking must not start a notification server that is not running.
    get.setAutoStartService(false);
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(get, QDBus::Block, kNotificationsTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    const QVariant value = reply.arguments().first().value<QDBusVariant>().variant();
    return value.typeId() == QMetaType::Bool && value.toBool();
}

// Opened on first use: the settings backend (dconf) is loaded only when it is asked.
bool GnomeBannersOff::AsksForQuiet() {
    if (!opened_) {
        opened_ = true;
        // g_settings_new aborts the program on a schema that is not installed.
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        const std::unique_ptr<GSettingsSchema, SchemaUnref> schema(
            source != nullptr
                ? g_settings_schema_source_lookup(source, "org.gnome.desktop.notifications", TRUE)
                : nullptr);
        if (schema != nullptr && g_settings_schema_has_key(schema.get(), "show-banners")) {
            settings_.reset(g_settings_new_full(schema.get(), nullptr, nullptr));
        }
    }
    return settings_ != nullptr && !g_settings_get_boolean(settings_.get(), "show-banners");
}

void GnomeBannersOff::Unref::operator()(GSettings* settings) const {
    g_object_unref(settings);
}

bool X11FullScreen::AsksForQuiet() {
    xcb_connection_t* connection = display_.connection;
    if (connection == nullptr) {
        return false;
    }
    if (activeWindow_ == XCB_NONE) {
        activeWindow_ = InternAtom(connection, "_NET_ACTIVE_WINDOW");
        state_ = InternAtom(connection, "_NET_WM_STATE");
        fullScreen_ = InternAtom(connection, "_NET_WM_STATE_FULLSCREEN");
    }
    const std::vector<std::uint32_t> active = Property(connection, display_.root, activeWindow_);
    if (active.empty() || active[0] == XCB_NONE) {
        return false;
    }
    for (const std::uint32_t atom : Property(connection, active[0], state_)) {
        if (atom == fullScreen_) {
            return true;
        }
    }
    return false;
}

QuietSources DesktopQuietSources() {
    QuietSources sources;
    sources.Add(std::make_unique<NotificationsInhibited>());
    sources.Add(std::make_unique<GnomeBannersOff>());
    sources.Add(std::make_unique<X11FullScreen>(QtX11Display()));
    return sources;
}

}  // namespace horalia::qt
