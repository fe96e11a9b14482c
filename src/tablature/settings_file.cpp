#include "tablature/settings_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/data_files.h"
#include "core/numbers.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "formats/file_lock.h"
#include "formats/host_path.h"
#include "midi/midi_port.h"
#include "platform/paths.h"
#include "tablature/practice_player.h"

namespace {

// Where the value of `key` starts in the text, or null when the key is not
// there. Keys are found anywhere, first occurrence only, equals sign included
// so that "mesure=" never matches "mesuredeb=".
const char* ValueOf(const char* text, const char* key) {
  const char* found = std::strstr(text, key);
  return found ? found + std::strlen(key) : nullptr;
}

// A text value runs to the line feed. One too long for its field would be
// cut into another path or option: it is refused, the field keeps its value.
void LoadTextKey(const char* text, const char* key, char* field, char* scratch) {
  const char* value = ValueOf(text, key);
  if (!value) return;
  const char* end = std::strchr(value, '\n');
  int length = end ? static_cast<int>(end - value) : static_cast<int>(std::strlen(value));
  if (length > kShortText - 1) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "la valeur de la clé %s dépasse %d caractères : elle est ignorée", key,
                  kShortText - 1);
    ShowInfo(message, kSettingsFile);
    return;
  }
  MidText(scratch, value, 1, length);
  CopyText(field, kShortText, scratch);
}

bool LoadNumberKey(const char* text, const char* key, int32_t* number) {
  const char* value = ValueOf(text, key);
  if (!value) return false;
  *number = ReadNumber(value);
  return true;
}

bool NotSaved(const char* reason, const char* key, int32_t value) {
  char message[160];
  std::snprintf(message, sizeof message, "%s : le réglage %s%d n'est pas enregistré", reason, key,
                static_cast<int>(value));
  ShowInfo(message, kSettingsFile);
  return false;
}

}  // namespace

int LoadSettings(char* settingsText, char* scratch) {
  TWorkingState& ws = WorkingState;
  settingsText[0] = 0;
  scratch[0] = 0;
  if (ReadTextPage(settingsText, 1, kSettingsFile) == 0) {
    settingsText[0] = 0;
    return 0;
  }
  CopyText(scratch, kPageSize + 1, settingsText);

  LoadTextKey(settingsText, "arma=", ws.KeySignature, scratch);
  LoadTextKey(settingsText, "fictab=", ws.TabFile, scratch);
  LoadTextKey(settingsText, "indi=", ws.Indications, scratch);

  int32_t n;
  if (LoadNumberKey(settingsText, "canal=", &n)) ws.Channel = n;
  if (LoadNumberKey(settingsText, "dur=", &n)) ws.NoteLength = static_cast<uint32_t>(n);
  if (LoadNumberKey(settingsText, "octa=", &n)) ws.Octave = static_cast<int8_t>(static_cast<uint8_t>(n));
  if (LoadNumberKey(settingsText, "trans=", &n)) ws.Transpose = static_cast<int8_t>(static_cast<uint8_t>(n));
  if (LoadNumberKey(settingsText, "tempo=", &n)) ws.Tempo = static_cast<uint32_t>(n);
  if (LoadNumberKey(settingsText, "mesuredeb=", &n)) ws.Measure = n < 1 ? 1 : n;
  if (LoadNumberKey(settingsText, "mesurefin=", &n)) ws.LastMeasure = n;
  if (LoadNumberKey(settingsText, "mesure=", &n)) ws.MeasureSpan = static_cast<uint32_t>(n);
  // Compared unsigned: negative values are above 127 too.
  if (LoadNumberKey(settingsText, "vol=", &n)) ws.Velocity = static_cast<uint32_t>(n) > 127 ? 127 : static_cast<uint32_t>(n);
  if (LoadNumberKey(settingsText, "instru=", &n)) ws.Instrument = n;
  if (LoadNumberKey(settingsText, "num=", &n)) ws.TimeNumerator = n;
  if (LoadNumberKey(settingsText, "den=", &n)) ws.TimeDenominator = n;

  if (LoadNumberKey(settingsText, "decompte=", &n)) Practice.countIn = n != 0;
  if (LoadNumberKey(settingsText, "metronome=", &n)) Practice.metronome = n != 0;

  SendProgramChange(ws.Instrument);
  return 1;
}

bool SaveSettingsNumber(const char* key, int32_t value) {
  std::string path = platform::MapPath(kSettingsFile);
  // Another program on the data directory may be changing it too.
  formats::FileChangeLock lock(path);
  std::string bytes;
  // A file that is there but cannot be read is never replaced by the key alone.
  if (!formats::ReadFileBytes(path, &bytes) && std::filesystem::exists(formats::HostPath(path)))
    return NotSaved("le fichier ne peut pas être lu", key, value);
  std::string number = std::to_string(value);
  // Only the first page is read: a key found there keeps its place, a new
  // one goes first.
  size_t at = bytes.substr(0, kPageSize).find(key);
  if (at != std::string::npos) {
    size_t from = at + std::strlen(key);
    size_t to = bytes.find_first_of("\r\n", from);
    bytes.replace(from, (to == std::string::npos ? bytes.size() : to) - from, number);
  } else {
    bytes.insert(0, std::string(key) + number + "\r\n");
  }
  if (!formats::WriteFileBytes(path, bytes)) return NotSaved("le fichier ne peut pas être écrit", key, value);
  return true;
}
