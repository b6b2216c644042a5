#include "app/qt/desktop_quiet.h"

// Before Qt: GIO's headers use the word "signals", which Qt defines as a keyword. Only their
// types are used: the library itself is loaded when it is first needed.
#include <dlfcn.h>
#include <gio/gio.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace horalia::qt {

// GIO's settings functions, from the library loaded on first use: the desktop's quiet is off
// by default, and GIO with the type system it starts would otherwise take memory in every run.
struct GioSettings {
    decltype(&g_settings_schema_source_get_default) sourceGetDefault;
    decltype(&g_settings_schema_source_lookup) sourceLookup;
    decltype(&g_settings_schema_has_key) hasKey;
    decltype(&g_settings_schema_unref) schemaUnref;
    decltype(&g_settings_new_full) newFull;
    decltype(&g_settings_get_boolean) getBoolean;
    decltype(&g_object_unref) objectUnref;
};

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

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// Nullptr where GIO is not installed. Loaded once and kept for the rest of the run.
const GioSettings* LoadGioSettings() {
    static const std::optional<GioSettings> gio = []() -> std::optional<GioSettings> {
        void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return std::nullopt;
        }
        GioSettings f{};
        const bool complete =
            Resolve(library, "g_settings_schema_source_get_default", f.sourceGetDefault) &&
            Resolve(library, "g_settings_schema_source_lookup", f.sourceLookup) &&
            Resolve(library, "g_settings_schema_has_key", f.hasKey) &&
            Resolve(library, "g_settings_schema_unref", f.schemaUnref) &&
            Resolve(library, "g_settings_new_full", f.newFull) &&
            Resolve(library, "g_settings_get_boolean", f.getBoolean) &&
            Resolve(library, "g_object_unref", f.objectUnref);  // GIO links GObject
        return complete ? std::optional<GioSettings>(f) : std::nullopt;
    }();
    return gio ? &*gio : nullptr;
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

// Opened on first use: GIO and the settings backend (dconf) are loaded only when it is asked.
bool GnomeBannersOff::AsksForQuiet() {
    if (!opened_) {
        opened_ = true;
        gio_ = LoadGioSettings();
        // g_settings_new aborts the program on a schema that is not installed.
        GSettingsSchemaSource* source = gio_ != nullptr ? gio_->sourceGetDefault() : nullptr;
        GSettingsSchema* schema =
            source != nullptr ? gio_->sourceLookup(source, "org.gnome.desktop.notifications", TRUE)
                              : nullptr;
        if (schema != nullptr && gio_->hasKey(schema, "show-banners")) {
            settings_ = gio_->newFull(schema, nullptr, nullptr);
        }
        if (schema != nullptr) {
            gio_->schemaUnref(schema);
        }
    }
    return settings_ != nullptr && !gio_->getBoolean(settings_, "show-banners");
}

GnomeBannersOff::~GnomeBannersOff() {
    if (settings_ != nullptr) {
        gio_->objectUnref(settings_);
    }
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
