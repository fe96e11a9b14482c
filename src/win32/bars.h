// The tool bar and the status bar of the main window (common controls):
// the status bar shows the hint of the menu item or button under the
// pointer or the selection, and the caps, num and scroll lock indicators.
#pragma once
#include <windows.h>

struct TBars {
  HWND toolBar = nullptr;
  HWND statusBar = nullptr;
};

TBars CreateBars(HWND frame);
// Lays them out after the frame's size changed; returns the height left
// between them for the editor, from `top` on.
void LayOutBars(const TBars& bars, int* top, int* height);
// The hint of a command in the status bar, "" for none.
void ShowHint(const TBars& bars, int id);
// The lock indicators as the keyboard has them now.
void ShowLockKeys(const TBars& bars);
// What F5 and the measure commands play, whatever the editor shows.
void ShowCurrentTablature(const TBars& bars);
// The tool bar's notifications (the tip of a button); true when handled.
bool OnBarNotify(const TBars& bars, NMHDR* header, LRESULT* result);
// Greys the buttons whose commands cannot act now.
void EnableToolButtons(const TBars& bars);
