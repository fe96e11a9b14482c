// The commands of the program by id: the menus, accelerators, tool bar,
// console lines and every registration name them by these. The numbers are
// a contract: users' scripts send them to the console.
#pragma once

enum TCommandId : int {
  kNoCommand = 0,  // a separator in the menus and the tool bar

  // Tabla
  kExitCommand = 24310,
  kNewCommand = 24331,
  kOpenCommand = 24332,
  kSaveCommand = 24333,
  kSaveAsCommand = 24334,
  kPrintCommand = 24337,
  kPrintSetupCommand = 24338,
  kPrintPreviewCommand = 24340,
  kImportCommand = 24345,
  kExportCommand = 24346,

  // Edit
  kEditNoteCommand = 24319,
  kEditRhythmCommand = 24320,
  kUndoCommand = 24321,
  kCutCommand = 24322,
  kCopyCommand = 24323,
  kPasteCommand = 24324,
  kDeleteCommand = 24325,
  kClearCommand = 24326,

  // Rechercher
  kFindCommand = 24351,
  kReplaceCommand = 24352,
  kFindNextCommand = 24353,

  // Init
  kDefaultsCommand = 400,
  kMidiInitCommand = 401,
  kTempoCommand = 402,
  kInstrumentCommand = 403,
  kVolumeCommand = 404,
  kVoiceCommand = 405,
  kTransposeCommand = 406,
  kBankCommand = 407,

  // Harm
  kPlayScaleCommand = 500,
  kKeyCommand = 501,
  kDegreeCommand = 502,
  kScaleCommand = 503,
  kChordCommand = 504,
  kRhythmCommand = 505,
  kPlayChordCommand = 506,
  kRepetitionCommand = 507,
  kInvertCommand = 508,
  kClipboardInfoCommand = 509,
  kCadenceCommand = 510,

  // Outils
  kPlayAllCommand = 600,
  kPlayMeasureCommand = 601,
  kNextMeasureCommand = 602,
  kPreviousMeasureCommand = 603,
  kKeySignatureReadingCommand = 604,
  kAdviceReadingCommand = 605,
  kFingeringReadingCommand = 606,
  kHarmonyReadingCommand = 607,
  kMeasureReadingCommand = 608,
  kDynamicsReadingCommand = 609,
  kLyricsReadingCommand = 610,
  kPlayClipboardCommand = 611,

  // Pratique
  kCheckCommand = 700,
  kLoopCommand = 701,
  kLoopSettingsCommand = 702,
  kCountInCommand = 703,
  kMetronomeCommand = 704,

  // Aide
  kAboutCommand = 2009,
  kUsageCommand = 2010,
  kTutorialCommand = 2011,
};
