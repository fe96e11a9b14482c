// InterpretTablature with any text, reading options, range and answers,
// and the check of the same text.
#include <cstring>
#include <memory>

#include "core/working_state.h"
#include "fuzz_support.h"
#include "tablature/tablature_check.h"
#include "tablature/tablature_interpreter.h"

namespace {

int32_t Bound(FuzzedDataProvider& input) {
  return input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-3, 3000) : input.ConsumeIntegral<int32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char kLetters[] = "acdefghimprsx \xE1";
  FuzzedDataProvider input(data, size);
  fuzzing::BeginRun();
  fuzzing::InstallDataFile("lexiton.dic");
  char options[kShortText] = {};
  int letters = input.ConsumeIntegralInRange(0, 8);
  for (int i = 0; i < letters; ++i) {
    uint8_t pick = input.ConsumeIntegral<uint8_t>();
    options[i] = pick < 200 ? kLetters[pick % (sizeof kLetters - 1)] : static_cast<char>(pick);
  }
  CopyText(WorkingState.Indications, options);
  int32_t first = Bound(input);
  int32_t last = Bound(input);
  fuzzing::TakeAnswers(input, 24);
  WorkingState.Tempo = input.ConsumeIntegralInRange<uint32_t>(0, 400);
  std::string text = input.ConsumeRemainingBytesAsString().substr(0, kPageSize);
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(buffer.get(), text.c_str(), text.size() + 1);

  static TReadingLists lists;
  InterpretTablature(buffer.get(), options, first, last, lists);
  if (lists.pitches.Count > NotesRead()) __builtin_trap();
  fuzzing::ExpectAllNotesOff();
  static char report[kLongText];
  CheckTablature(buffer.get(), report, kLongText);
  if (std::strlen(report) >= kLongText) __builtin_trap();
  return 0;
}
