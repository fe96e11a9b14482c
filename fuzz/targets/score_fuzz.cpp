// The score readers (MusicXML, .mxl, MIDI) over any bytes, and the
// tablature written from what they accept.
#include <string>
#include <vector>

#include "formats/score_files.h"
#include "fuzz_support.h"
#include "tablature/score_tablature.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  std::string data(reinterpret_cast<const char*>(bytes), size);
  formats::TScore score;
  std::string error;
  if (!formats::ReadScoreBytes(data, &score, &error)) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  for (const formats::TScorePart& part : score.parts) {
    std::vector<std::string> report;
    ScoreToTablature(part, "", &report);
  }
  return 0;
}
