#include "app/menu_table.h"

namespace {

constexpr TAccelerator kNone{0, TKey::None};
constexpr TAccelerator Key(TKey key) { return {0, key}; }
constexpr TAccelerator Alt(TKey key) { return {kAltKey, key}; }
constexpr TAccelerator Ctrl(TKey key) { return {kCtrlKey, key}; }
constexpr TAccelerator Shift(TKey key) { return {kShiftKey, key}; }

constexpr TMenuItem kSeparator{kNoCommand, "", kNone, false, ""};

const TMenuItem kTabla[] = {
    // The keys every editor has for these.
    {kNewCommand, "&Nouveau\tCtrl+N", Ctrl(TKey::N), false, "Creates a new window"},
    {kOpenCommand, "&Ouvrir...\tCtrl+O", Ctrl(TKey::O), false, "Opens a window"},
    kSeparator,
    {kSaveCommand, "&Sauver\tCtrl+S", Ctrl(TKey::S), true, "Saves the active document"},
    {kSaveAsCommand, "Enregistrer sous...", kNone, true, "Saves the active document with a new name"},
    kSeparator,
    {kImportCommand, "&Importer...", kNone, false, ""},
    {kExportCommand, "Exporter en &MusicXML...", kNone, false, ""},
    kSeparator,
    {kPrintPreviewCommand, "Print Pre&view...", kNone, true, "Displays full pages as read-only"},
    {kPrintCommand, "&Print...", kNone, true, "Prints the active document"},
    {kPrintSetupCommand, "P&rint Setup...", kNone, true, "Sets print characteristics for the active document"},
    kSeparator,
    // Alt+F4 is the system's: closing the window, not an accelerator of ours.
    {kExitCommand, "E&xit\tAlt+F4", kNone, false, "Quits PavSdi and prompts to save the documents"},
};

const TMenuItem kEdit[] = {
    {kEditNoteCommand, "Edit &note", kNone, false, ""},
    {kEditRhythmCommand, "Edit &rythme", kNone, false, "Edit operations"},
    {kUndoCommand, "&Undo\tAlt+BkSp", Alt(TKey::Backspace), true, "Reverses the last operation"},
    kSeparator,
    {kCutCommand, "&Couper\tShift+Del", Shift(TKey::Delete), true,
     "Cuts the selection and puts it on the Clipboard"},
    {kCopyCommand, "&Copier\tCtrl+Ins", Ctrl(TKey::Insert), true,
     "Copies the selection and puts it on the Clipboard"},
    {kPasteCommand, "&Coller\tShift+Ins", Shift(TKey::Insert), true,
     "Inserts the Clipboard contents at the insertion point"},
    kSeparator,
    {kClearCommand, "Clear &All\tCtrl+Del", Ctrl(TKey::Delete), true, "Clears the active document"},
    // Delete is the edit control's own key.
    {kDeleteCommand, "&Delete\tDel", kNone, true, "Deletes the selection"},
};

const TMenuItem kSearch[] = {
    {kFindCommand, "&Chercher...", kNone, true, "Finds the specified text"},
    {kReplaceCommand, "&Remplacer...", kNone, true, "Finds the specified text and changes it"},
    {kFindNextCommand, "&Suivant", kNone, true, "Finds the next match"},
};

const TMenuItem kInit[] = {
    {kDefaultsCommand, "&Défaut\tCTRL+F1", Ctrl(TKey::F1), false, ""},
    {kMidiInitCommand, "&MidiInit\tALT+F1", Alt(TKey::F1), false, ""},
    {kTempoCommand, "&Tempo\tF12", Key(TKey::F12), false, ""},
    {kInstrumentCommand, "&Instrument\tALT+F9", Alt(TKey::F9), false, ""},
    {kVolumeCommand, "&Volume", kNone, false, ""},
    {kVoiceCommand, "&Voix\tALT+F5", Alt(TKey::F5), false, ""},
    {kTransposeCommand, "Transp&o\tALT+F7", Alt(TKey::F7), false, ""},
    {kBankCommand, "&Banque\tALT+F8", Alt(TKey::F8), false, ""},
};

const TMenuItem kHarm[] = {
    {kPlayScaleCommand, "&Jouer Gamme\tF7", Key(TKey::F7), false, ""},
    {kPlayChordCommand, "Jouer A&ccord\tF8", Key(TKey::F8), false, ""},
    {kKeyCommand, "&Ton\tALT+F10", Alt(TKey::F10), false, ""},
    {kDegreeCommand, "&Degré\tALT+F11", Alt(TKey::F11), false, ""},
    {kScaleCommand, "&Gamme\tF2", Key(TKey::F2), false, ""},
    {kChordCommand, "&Accord\tF3", Key(TKey::F3), false, ""},
    {kCadenceCommand, "&Cadence\tF4", Key(TKey::F4), false, ""},
    {kInvertCommand, "Ren&verser", kNone, false, ""},
    {kRepetitionCommand, "Répét&ition\tALT+F12", Alt(TKey::F12), false, ""},
    {kRhythmCommand, "&Rythme\tF11", Key(TKey::F11), false, ""},
    {kClipboardInfoCommand, "&Presse-papier", kNone, false, ""},
};

const TMenuItem kOutils[] = {
    {kPlayAllCommand, "Jouer&Tout\tF5", Key(TKey::F5), false, ""},
    {kPlayClipboardCommand, "Jouer&PressePapier\tF6", Key(TKey::F6), false, ""},
    {kPlayMeasureCommand, "&JouerMesure", kNone, false, ""},
    {kPreviousMeasureCommand, "&Précédent", kNone, false, ""},
    {kNextMeasureCommand, "&Suivant", kNone, false, ""},
    {kKeySignatureReadingCommand, "&Armature", kNone, false, ""},
    {kAdviceReadingCommand, "&Conseil", kNone, false, ""},
    {kFingeringReadingCommand, "&Doigté", kNone, false, ""},
    {kHarmonyReadingCommand, "&Harmonie", kNone, false, ""},
    {kMeasureReadingCommand, "&Mesure", kNone, false, ""},
    {kDynamicsReadingCommand, "&Nuance", kNone, false, ""},
    {kLyricsReadingCommand, "&Parole", kNone, false, ""},
};

const TMenuItem kPratique[] = {
    {kCheckCommand, "&Vérifier\tCTRL+F7", Ctrl(TKey::F7), false, ""},
    {kLoopCommand, "&Boucle\tF9", Key(TKey::F9), false, ""},
    {kLoopSettingsCommand, "&Réglages de la boucle\tCTRL+F9", Ctrl(TKey::F9), false, ""},
    kSeparator,
    {kCountInCommand, "&Décompte", kNone, false, ""},
    {kMetronomeCommand, "&Métronome", kNone, false, ""},
};

const TMenuItem kAide[] = {
    {kAboutCommand, "&A propos...", kNone, false, "About the PavSdi application"},
    {kUsageCommand, "&Usage", kNone, false, ""},
    {kTutorialCommand, "&Tutoriel\tF1", Key(TKey::F1), false, ""},
};

template <int N>
constexpr TMenuPopup Popup(const char* title, const TMenuItem (&items)[N]) {
  return {title, items, N};
}

}  // namespace

const TMenuPopup kMenuBar[] = {
    Popup("&Tabla", kTabla), Popup("&Edit", kEdit),     Popup("&Rechercher", kSearch),
    Popup("&Init", kInit),   Popup("&Harm", kHarm),     Popup("&Outils", kOutils),
    Popup("&Pratique", kPratique), Popup("&Aide", kAide),
};
const int kMenuPopupCount = sizeof kMenuBar / sizeof kMenuBar[0];

const TCommandId kToolBarButtons[] = {
    kNewCommand,  kOpenCommand,  kSaveCommand,     kNoCommand,   kCutCommand,
    kCopyCommand, kPasteCommand, kNoCommand,       kUndoCommand, kNoCommand,
    kFindCommand, kFindNextCommand, kNoCommand,    kPrintCommand, kPrintPreviewCommand,
};
const int kToolBarButtonCount = sizeof kToolBarButtons / sizeof kToolBarButtons[0];

const TMenuItem* FindMenuItem(int id) {
  if (id == kNoCommand) return nullptr;
  for (const TMenuPopup& popup : kMenuBar)
    for (int i = 0; i < popup.count; ++i)
      if (popup.items[i].id == id) return &popup.items[i];
  return nullptr;
}

const char* MenuHint(int id) {
  const TMenuItem* item = FindMenuItem(id);
  return item ? item->hint : "";
}

const TCommandWord kCommandWords[] = {
    // Tabla
    {kNewCommand, "nouveau", "", true, "vide la fenêtre pour un nouveau texte"},
    {kOpenCommand, "ouvrir", "CHEMIN", false, "fait d'un fichier .tab la tablature courante"},
    {kSaveCommand, "sauver", "", true, "enregistre le texte de la fenêtre"},
    {kSaveAsCommand, "enregistrer-sous", "", true, "enregistre le texte sous un autre nom"},
    {kImportCommand, "importer", "CHEMIN", false, "fait d'une partition MusicXML ou MIDI la tablature courante"},
    {kExportCommand, "exporter", "CHEMIN", false, "écrit la tablature courante en MusicXML"},
    {kPrintPreviewCommand, "aperçu", "", true, "montre les pages avant l'impression"},
    {kPrintCommand, "imprimer", "", true, "imprime le texte de la fenêtre"},
    {kPrintSetupCommand, "mise-en-page", "", true, "règle l'imprimante et la page"},
    {kExitCommand, "quitter", "", false, "quitte PavSdi"},
    // Edit
    {kEditNoteCommand, "edit-note", "", false, "le presse-papier devient le motif de notes"},
    {kEditRhythmCommand, "edit-rythme", "", false, "le presse-papier devient le rythme"},
    {kUndoCommand, "défaire", "", true, "annule la dernière modification du texte"},
    {kCutCommand, "couper", "", true, "coupe la sélection vers le presse-papier"},
    {kCopyCommand, "copier", "", true, "copie la sélection dans le presse-papier"},
    {kPasteCommand, "coller", "", true, "colle le presse-papier dans le texte"},
    {kClearCommand, "tout-effacer", "", true, "efface tout le texte"},
    {kDeleteCommand, "supprimer", "", true, "supprime la sélection"},
    // Rechercher
    {kFindCommand, "chercher", "", true, "cherche un texte"},
    {kReplaceCommand, "remplacer", "", true, "cherche un texte et le remplace"},
    {kFindNextCommand, "chercher-suivant", "", true, "trouve le texte cherché plus loin"},
    // Init
    {kDefaultsCommand, "défaut", "", false, "remet les paramètres par défaut"},
    {kMidiInitCommand, "midiinit", "", false, "relit les paramètres de lexiton.ini"},
    {kTempoCommand, "tempo", "", false, "règle le tempo"},
    {kInstrumentCommand, "instrument", "", false, "choisit l'instrument"},
    {kVolumeCommand, "volume", "", false, "règle le volume"},
    {kVoiceCommand, "voix", "", false, "choisit la voix, le registre des exercices"},
    {kTransposeCommand, "transpo", "", false, "transpose par demi-tons"},
    {kBankCommand, "banque", "", false, "choisit la banque de sons"},
    // Harm
    {kPlayScaleCommand, "jouer-gamme", "", false, "joue le mode du degré, montant ou descendant"},
    {kPlayChordCommand, "jouer-accord", "", false, "rejoue l'accord courant"},
    {kKeyCommand, "ton", "", false, "change la tonalité"},
    {kDegreeCommand, "degré", "", false, "change le degré des accords"},
    {kScaleCommand, "gamme", "", false, "choisit une gamme et la joue"},
    {kChordCommand, "accord", "", false, "choisit un accord sur le degré et le joue"},
    {kCadenceCommand, "cadence", "", false, "joue une cadence"},
    {kInvertCommand, "renverser", "", false, "renverse l'accord courant"},
    {kRepetitionCommand, "répétition", "", false, "règle le nombre de répétitions"},
    {kRhythmCommand, "rythme", "", false, "choisit le rythme des exercices"},
    {kClipboardInfoCommand, "presse-papier", "", false, "met l'information courante dans le presse-papier"},
    // Outils
    {kPlayAllCommand, "jouer-tout", "", false, "joue toute la tablature"},
    {kPlayClipboardCommand, "jouer-presse-papier", "", false, "joue le texte du presse-papier"},
    {kPlayMeasureCommand, "mesure", "", false, "joue la tablature mesure par mesure"},
    {kPreviousMeasureCommand, "précédent", "", false, "recule d'une mesure et joue depuis elle"},
    {kNextMeasureCommand, "suivant", "", false, "avance d'une mesure et joue depuis elle"},
    {kKeySignatureReadingCommand, "armature", "", false, "lecture guidée : lit l'armature"},
    {kAdviceReadingCommand, "conseil", "", false, "lecture guidée : lit les conseils"},
    {kFingeringReadingCommand, "doigté", "", false, "lecture guidée : lit les doigtés"},
    {kHarmonyReadingCommand, "harmonie", "", false, "lecture guidée : lit l'harmonie"},
    {kMeasureReadingCommand, "lecture-mesure", "", false, "lecture guidée : lit les mesures"},
    {kDynamicsReadingCommand, "nuance", "", false, "lecture guidée : lit les nuances"},
    {kLyricsReadingCommand, "parole", "", false, "lecture guidée : lit les paroles"},
    // Pratique
    {kCheckCommand, "vérifier", "", false, "dit ce que la lecture de la tablature saute ou compte mal"},
    {kLoopCommand, "boucle", "", false, "rejoue la mesure ou le passage, sans question, jusqu'à Échap"},
    {kLoopSettingsCommand, "réglages-boucle", "", false, "choisit le passage, les passages, la vitesse et l'accélération"},
    {kCountInCommand, "décompte", "", false, "une mesure de clics avant de jouer, oui ou non"},
    {kMetronomeCommand, "métronome", "", false, "un clic à chaque temps en jouant, oui ou non"},
    // Aide
    {kAboutCommand, "à-propos", "", false, "la version de PavSdi"},
    {kUsageCommand, "usage", "", false, "ouvre la page d'usage"},
    {kTutorialCommand, "tutoriel", "", false, "ouvre le tutoriel"},
};
const int kCommandWordCount = sizeof kCommandWords / sizeof kCommandWords[0];

const TCommandWord* FindCommandWord(int id) {
  for (const TCommandWord& word : kCommandWords)
    if (word.id == id) return &word;
  return nullptr;
}
