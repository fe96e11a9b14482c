// LoadSettings over any settings file; the settings it leaves must still
// make well-formed messages.
#include <cstring>
#include <memory>

#include "core/data_files.h"
#include "core/working_state.h"
#include "fuzz_support.h"
#include "midi/midi_port.h"
#include "tablature/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::BeginRun();
  fuzzing::WriteProgramFile(kSettingsFile, std::string(reinterpret_cast<const char*>(data), size));
  auto text = std::make_unique<char[]>(kPageSize + 1);
  auto scratch = std::make_unique<char[]>(kPageSize + 1);
  LoadSettings(text.get(), scratch.get());
  const TWorkingState& ws = WorkingState;
  if (!std::memchr(text.get(), 0, kPageSize + 1) || !std::memchr(ws.TabFile, 0, kShortText) ||
      !std::memchr(ws.Indications, 0, kShortText) || !std::memchr(ws.KeySignature, 0, kShortText))
    __builtin_trap();
  SendNoteOn(60);
  WaitNoteLength(ws.NoteLength);
  SendNoteOff(60);
  fuzzing::ExpectAllNotesOff();
  return 0;
}
