// The program's data files and companions, named as the program writes them:
// a leading "\" is the data root (see MapPath). Each name is written here
// only.
#pragma once

// The working copy of the current tablature, and the current information.
inline constexpr char kWorkingCopy[] = "\\orfeon\\prv.tab";
inline constexpr char kInfoFile[] = "\\orfeon\\prvinfo.tab";
// The working copy put aside while the clipboard plays in its place.
inline constexpr char kKeptWorkingCopy[] = "\\orfeon\\prvgarde.tab";
// The editor's unsaved text, kept when the window was ended by a signal or
// a logout.
inline constexpr char kKeptEditorText[] = "\\orfeon\\prvsecours.tab";

// The MIDI device number, the settings and the dictionary.
inline constexpr char kDeviceFile[] = "\\orfeon\\midiinit.dev";
inline constexpr char kSettingsFile[] = "\\orfeon\\lexiton.ini";
inline constexpr char kDictionaryFile[] = "\\orfeon\\lexiton.dic";

// What the recording devices write.
inline constexpr char kWavOutputFile[] = "\\orfeon\\sortie.wav";
inline constexpr char kMidiOutputFile[] = "\\orfeon\\sortie.mid";

// The companion programs and the help pages, as command lines.
inline constexpr char kClipboardProgram[] = "\\orfeon\\clipsend.exe";
inline constexpr char kMeasureProgram[] = "\\orfeon\\sonplay.exe";
inline constexpr char kUsagePage[] = "start \\orfeon\\orfeon_melvane.html";
inline constexpr char kTutorialPage[] = "start \\orfeon\\tutoriel.html";

// The sound cues.
inline constexpr char kEditionCue[] = "\\orfeon\\edition.wav";
inline constexpr char kErrorCue[] = "\\orfeon\\erreur.wav";
inline constexpr char kFileCue[] = "\\orfeon\\fichier.wav";
inline constexpr char kReadingCue[] = "\\orfeon\\lisez.wav";
inline constexpr char kAnnotationCue[] = "\\lm4\\wav\\lisez.wav";
