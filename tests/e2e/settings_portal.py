"""A stand-in for the desktop's settings portal on a test's private session bus: answers Read and
ReadOne, and sends SettingChanged when a test changes a setting through
org.quarn.TestPortal.Set(GROUP, KEY, VALUE). Usage: settings_portal.py [GROUP KEY UINT ...]
"""

import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SETTINGS = "org.freedesktop.portal.Settings"


class Portal(dbus.service.Object):
    def __init__(self, bus, settings):
        super().__init__(bus, PATH)
        self.settings = settings

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v")
    def ReadOne(self, group, key):
        if (group, key) not in self.settings:
            raise dbus.exceptions.DBusException(
                "no such setting", name="org.freedesktop.portal.Error.NotFound")
        return self.settings[(group, key)]

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v")
    def Read(self, group, key):
        return dbus.types.Variant(self.ReadOne(group, key))  # a variant in a variant, as of old

    @dbus.service.signal(SETTINGS, signature="ssv")
    def SettingChanged(self, group, key, value):
        pass

    @dbus.service.method("org.quarn.TestPortal", in_signature="ssv")
    def Set(self, group, key, value):
        self.settings[(group, key)] = value
        self.SettingChanged(group, key, value)


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    given = sys.argv[1:]
    settings = {(given[i], given[i + 1]): dbus.UInt32(int(given[i + 2]))
                for i in range(0, len(given), 3)}
    name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
    Portal(bus, settings)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name


main()
