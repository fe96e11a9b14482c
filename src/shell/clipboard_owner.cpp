#include "shell/clipboard_owner.h"

#include <gdk/gdk.h>
#include <gdk/gdkx.h>

bool ClipboardHeldHere() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display || !GDK_IS_X11_DISPLAY(display)) return true;
  Window owner = XGetSelectionOwner(GDK_DISPLAY_XDISPLAY(display),
                                    gdk_x11_get_xatom_by_name_for_display(display, "CLIPBOARD"));
  return owner == None || gdk_x11_window_lookup_for_display(display, owner) != nullptr;
}
