// Where a tool of a tool bar lies: the toolkit finds no tool at a point.
#pragma once
#include <wx/gdicmn.h>
#include <wx/toolbar.h>

// The tool at `pos` (separators counted) in the bar's client coordinates;
// empty when there is none.
wxRect ToolRect(wxToolBar* bar, int pos);

// The tool under a point of the bar's client area, or nullptr.
const wxToolBarToolBase* ToolAt(wxToolBar* bar, const wxPoint& at);
