#!/usr/bin/python3
"""Stand-ins for two session services, on the session bus, for the tests of the desktop leaves.
No notification server in Debian 12 that runs here has the Inhibited property (dunst,
xfce4-notifyd and notification-daemon lack it; KDE Plasma's needs plasmashell), and its
xdg-desktop-portal 1.16 has no GlobalShortcuts interface, nor a backend for one.

    fake_desktop_services.py MODE
MODE: inhibited, not-inhibited, without-property (a notification server that lacks it), silent (one
that never answers); portal (GlobalShortcuts, version 1), portal-without-shortcuts (without it).
Prints "ready" once the name is owned; the portal prints what it is asked: "bind ID DESCRIPTION
TRIGGER" and "close SESSION". When bound, the portal activates three shortcuts: one of another
session, one of another id, and the bound one.
"""
import sys
import time

from gi.repository import Gio, GLib

mode = sys.argv[1]
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
PORTAL = "/org/freedesktop/portal/desktop"


def own(name):
    bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                  "RequestName", GLib.Variant("(su)", (name, 4)), None, 0, -1, None)
    print("ready", flush=True)


def interface(xml):
    return Gio.DBusNodeInfo.new_for_xml("<node>%s</node>" % xml).interfaces[0]


def portal_call(connection, sender, path, iface, method, params, invocation):
    caller = sender[1:].replace(".", "_")
    if method == "CreateSession":
        options = params.unpack()[0]
        request = "%s/request/%s/%s" % (PORTAL, caller, options["handle_token"])
        session = "%s/session/%s/%s" % (PORTAL, caller, options["session_handle_token"])
        registrations[session] = connection.register_object(session, SESSION, session_call,
                                                            None, None)
        invocation.return_value(GLib.Variant("(o)", (request,)))
        results = {"session_handle": GLib.Variant("s", session)}
    else:  # BindShortcuts
        session, shortcuts, _, options = params.unpack()
        for shortcut_id, properties in shortcuts:
            print("bind", shortcut_id, properties.get("description"),
                  properties.get("preferred_trigger"), flush=True)
        request = "%s/request/%s/%s" % (PORTAL, caller, options["handle_token"])
        invocation.return_value(GLib.Variant("(o)", (request,)))
        results = {}
    connection.emit_signal(sender, request, "org.freedesktop.portal.Request", "Response",
                           GLib.Variant("(ua{sv})", (0, results)))
    if method == "BindShortcuts":
        for activated_session, shortcut_id in ((session + "x", "announce"), (session, "other"),
                                               (session, "announce")):
            connection.emit_signal(sender, PORTAL, "org.freedesktop.portal.GlobalShortcuts",
                                   "Activated", GLib.Variant("(osta{sv})", (
                                       activated_session, shortcut_id, 1, {})))


def session_call(connection, sender, path, iface, method, params, invocation):
    print("close", path, flush=True)
    connection.unregister_object(registrations.pop(path))
    invocation.return_value(None)


registrations = {}
SESSION = interface("""<interface name="org.freedesktop.portal.Session">
  <method name="Close"/></interface>""")

if mode.startswith("portal"):
    if mode == "portal":
        shortcuts = interface("""<interface name="org.freedesktop.portal.GlobalShortcuts">
          <method name="CreateSession">
            <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/></method>
          <method name="BindShortcuts">
            <arg type="o" direction="in"/><arg type="a(sa{sv})" direction="in"/>
            <arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
            <arg type="o" direction="out"/></method>
          <property name="version" type="u" access="read"/></interface>""")
        bus.register_object(PORTAL, shortcuts, portal_call, lambda *_: GLib.Variant("u", 1), None)
    else:
        settings = interface("""<interface name="org.freedesktop.portal.Settings">
          <property name="version" type="u" access="read"/></interface>""")
        bus.register_object(PORTAL, settings, None, lambda *_: GLib.Variant("u", 1), None)
    own("org.freedesktop.portal.Desktop")
else:
    inhibited = "" if mode == "without-property" else \
        '<property name="Inhibited" type="b" access="read"/>'
    notifications = interface("""<interface name="org.freedesktop.Notifications">
      <method name="GetCapabilities"><arg type="as" direction="out"/></method>%s</interface>"""
                              % inhibited)
    bus.register_object("/org/freedesktop/Notifications", notifications, None,
                        lambda *_: GLib.Variant("b", mode == "inhibited"), None)
    own("org.freedesktop.Notifications")
    if mode == "silent":  # the calls wait in the main loop's queue, never answered
        time.sleep(3600)
GLib.MainLoop().run()
