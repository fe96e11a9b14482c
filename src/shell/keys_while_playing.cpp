#include "shell/keys_while_playing.h"

#include <cstdint>

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <wx/utils.h>

// Last: its macros would upset the toolkit's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {

struct TWatch {
  Display* display = nullptr;
  int inputOpcode = -1;  // of XInput 2, -1 without it
  KeyCode escape = 0;
  Window stamp = 0;  // a window of ours whose property changes tell the server's time
  Atom stampAtom = 0;
  bool played = false;  // the stop poll was asked since the last pause
  bool dropping = false;
  Time dropBefore = 0;  // key events stamped earlier reach no window
};
TWatch watch;

// Reads what the server sent; true when Escape was pressed.
bool ReadPresses() {
  bool escape = false;
  while (XPending(watch.display) > 0) {
    XEvent event;
    XNextEvent(watch.display, &event);
    XGenericEventCookie& cookie = event.xcookie;
    if (cookie.type != GenericEvent || cookie.extension != watch.inputOpcode) continue;
    if (!XGetEventData(watch.display, &cookie)) continue;
    if (cookie.evtype == XI_RawKeyPress && static_cast<XIRawEvent*>(cookie.data)->detail == watch.escape)
      escape = true;
    XFreeEventData(watch.display, &cookie);
  }
  return escape;
}

// The server's present time, from a property change of our own window.
Time ServerTime() {
  XChangeProperty(watch.display, watch.stamp, watch.stampAtom, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XEvent event;
  XWindowEvent(watch.display, watch.stamp, PropertyChangeMask, &event);
  return event.xproperty.time;
}

// Server times wrap around after 49 days.
bool Before(Time time, Time limit) {
  return static_cast<int32_t>(static_cast<uint32_t>(time) - static_cast<uint32_t>(limit)) < 0;
}

// Sees every event of the window's own connection before the toolkit does.
GdkFilterReturn DropKeysTypedWhilePlaying(GdkXEvent* native, GdkEvent*, gpointer) {
  if (!watch.dropping) return GDK_FILTER_CONTINUE;
  auto* event = static_cast<XEvent*>(native);
  Time time;
  if (event->type == KeyPress || event->type == KeyRelease) {
    time = event->xkey.time;
  } else if (event->type == GenericEvent && event->xcookie.extension == watch.inputOpcode && event->xcookie.data &&
             (event->xcookie.evtype == XI_KeyPress || event->xcookie.evtype == XI_KeyRelease)) {
    time = static_cast<XIDeviceEvent*>(event->xcookie.data)->time;
  } else {
    return GDK_FILTER_CONTINUE;
  }
  return Before(time, watch.dropBefore) ? GDK_FILTER_REMOVE : GDK_FILTER_CONTINUE;
}

// While no music plays, what is pressed is the window's business.
gboolean ForgetWhileIdle(gint, GIOCondition, gpointer) {
  ReadPresses();
  return G_SOURCE_CONTINUE;
}

bool SelectRawKeys() {
  int event, error, major = 2, minor = 0;
  if (!XQueryExtension(watch.display, "XInputExtension", &watch.inputOpcode, &event, &error) ||
      XIQueryVersion(watch.display, &major, &minor) != Success) {
    watch.inputOpcode = -1;
    return false;
  }
  unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(mask, XI_RawKeyPress);
  XIEventMask events{XIAllMasterDevices, sizeof mask, mask};
  XISelectEvents(watch.display, DefaultRootWindow(watch.display), &events, 1);
  watch.escape = XKeysymToKeycode(watch.display, XK_Escape);
  return true;
}

}  // namespace

bool WatchKeysWhilePlaying() {
  watch.display = XOpenDisplay(gdk_display_get_name(gdk_display_get_default()));
  if (!watch.display) return false;
  XSetWindowAttributes attributes;
  attributes.event_mask = PropertyChangeMask;
  watch.stamp = XCreateWindow(watch.display, DefaultRootWindow(watch.display), 0, 0, 1, 1, 0, 0, InputOnly,
                              CopyFromParent, CWEventMask, &attributes);
  watch.stampAtom = XInternAtom(watch.display, "PAVSDI_TIME", False);
  bool raw = SelectRawKeys();
  XSync(watch.display, False);
  g_unix_fd_add(ConnectionNumber(watch.display), G_IO_IN, ForgetWhileIdle, nullptr);
  gdk_window_add_filter(nullptr, DropKeysTypedWhilePlaying, nullptr);
  return raw;
}

bool EscapePressedWhilePlaying() {
  watch.played = true;
  if (watch.inputOpcode < 0) return wxGetKeyState(WXK_ESCAPE);
  return ReadPresses();
}

void BetweenPlayings() {
  if (!watch.display) return;
  if (watch.played) {
    watch.dropBefore = ServerTime();
    watch.dropping = true;
    watch.played = false;
  }
  ReadPresses();
}
