// ApplyKeySignature over any text and key signature; its output is parsed.
#include <cstring>
#include <memory>

#include "core/working_state.h"
#include "fuzz_support.h"
#include "midi/play_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  fuzzing::BeginRun();
  CopyText(WorkingState.KeySignature, input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 79)).c_str());
  // Room for the blank it appends and the NUL, in buffers of exactly 2048.
  std::string text = input.ConsumeRemainingBytesAsString().substr(0, kLongText - 2);
  auto buffer = std::make_unique<char[]>(kLongText);
  auto out = std::make_unique<char[]>(kLongText);
  std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
  ApplyKeySignature(buffer.get(), out.get());
  if (!std::memchr(out.get(), 0, kLongText) || !std::memchr(WorkingState.KeySignature, 0, kShortText))
    __builtin_trap();

  static TNoteList notes;
  static TLengthList lengths;
  ParsePlayString(out.get(), notes, lengths);
  return 0;
}
