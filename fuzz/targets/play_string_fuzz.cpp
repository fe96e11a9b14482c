// ParsePlayString over any text and working state, then played.
#include <cstring>
#include <memory>

#include "core/working_state.h"
#include "fuzz_support.h"
#include "midi/play_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  fuzzing::BeginRun();
  WorkingState.Tempo = input.ConsumeIntegral<uint32_t>();
  WorkingState.Octave = input.ConsumeIntegral<int8_t>();
  WorkingState.NoteLength = input.ConsumeIntegral<uint32_t>();
  CopyText(WorkingState.KeySignature, input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 12)).c_str());
  int8_t base = input.ConsumeIntegral<int8_t>();
  // At most 2047 characters, in a buffer of exactly that size.
  std::string text = input.ConsumeRemainingBytesAsString().substr(0, kLongText - 1);
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(buffer.get(), text.c_str(), text.size() + 1);

  static TNoteList notes;
  static TLengthList lengths;
  ParsePlayString(buffer.get(), notes, lengths);
  if (notes.Count > kMaxListEntries || lengths[0] != static_cast<uint32_t>(notes.Count)) __builtin_trap();
  WorkingState.Tempo = 1 + WorkingState.Tempo % 300;
  PlayNoteList(base, notes, lengths);
  fuzzing::ExpectAllNotesOff();
  return 0;
}
