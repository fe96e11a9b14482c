// The clipboard and help commands of the menus.
#pragma once

// 611, F6: plays the clipboard's text as the tablature, for once (Yes) or
// keeping it as the current tablature (No).
void PlayClipboard();
// Puts back the working copy a killed run left aside during PlayClipboard.
void RestoreKeptTablature();
// 509: hands the information file to the companion clipsend, which puts it
// on the clipboard.
void CopyInfoToClipboard();
// 2010 and 2011 (F1): open the usage and tutorial pages in the browser.
void ShowUsage();
void ShowTutorial();

void RegisterClipboardCommands();
