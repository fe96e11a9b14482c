#include "shell/tool_rect.h"

#include <gtk/gtk.h>

namespace {

// The toolkit's bar may sit in a box of its own.
GtkWidget* Toolbar(GtkWidget* widget) {
  while (widget && !GTK_IS_TOOLBAR(widget))
    widget = GTK_IS_BIN(widget) ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
  return widget;
}

}  // namespace

wxRect ToolRect(wxToolBar* bar, int pos) {
  GtkWidget* handle = Toolbar(bar->GetHandle());
  if (!handle) return wxRect();
  GtkToolItem* item = gtk_toolbar_get_nth_item(GTK_TOOLBAR(handle), pos);
  if (!item) return wxRect();
  int x = 0, y = 0;
  if (!gtk_widget_translate_coordinates(GTK_WIDGET(item), bar->GetHandle(), 0, 0, &x, &y)) return wxRect();
  return wxRect(x, y, gtk_widget_get_allocated_width(GTK_WIDGET(item)),
                gtk_widget_get_allocated_height(GTK_WIDGET(item)));
}

const wxToolBarToolBase* ToolAt(wxToolBar* bar, const wxPoint& at) {
  for (size_t pos = 0; pos < bar->GetToolsCount(); ++pos)
    if (ToolRect(bar, static_cast<int>(pos)).Contains(at)) return bar->GetToolByPos(static_cast<int>(pos));
  return nullptr;
}
