#include "shell/accessibility.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace {

AtkObject* Accessible(wxWindow* window) {
  GtkWidget* widget = window->GetHandle();
  // A multi-line text sits in a scrolled window; the reader meets the text.
  if (GTK_IS_SCROLLED_WINDOW(widget) && gtk_bin_get_child(GTK_BIN(widget)))
    widget = gtk_bin_get_child(GTK_BIN(widget));
  return gtk_widget_get_accessible(widget);
}

}  // namespace

void SetAccessibleName(wxWindow* window, const wxString& name) {
  atk_object_set_name(Accessible(window), name.utf8_str());
}

void ReadAsAlert(wxWindow* window, const wxString& text) {
  AtkObject* box = Accessible(window);
  atk_object_set_role(box, ATK_ROLE_ALERT);
  // Readers say an alert's description after its name; its labels are not
  // found when it opens.
  atk_object_set_description(box, text.utf8_str());
}

void FocusWhenShown(wxWindow* window) {
  GtkWidget* widget = window->GetHandle();
  gtk_widget_realize(widget);
  GdkWindow* shown = gtk_widget_get_window(widget);
  if (GDK_IS_X11_WINDOW(shown)) gdk_x11_window_set_user_time(shown, gdk_x11_get_server_time(shown));
}
