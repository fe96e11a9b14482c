// Inputs the fuzz targets found faults with, kept so the faults stay fixed.
#include "core/data_files.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/midi_port.h"
#include "tablature/settings_file.h"

namespace {

class FuzzFindings : public PavTest {};

// "canal=" with a long run of digits reads as the largest number; adding it
// to the status overflowed.
TEST_F(FuzzFindings, ChannelAtTheLargestNumber) {
  OpenDefaultPort();
  struct Case {
    int32_t channel;
    uint32_t programChange;
  } cases[] = {{INT32_MAX, 0x05BF}, {INT32_MIN, 0x05C0}, {-1, 0x05BF}, {255, 0x05BF}, {1, 0x05C1}};
  for (const Case& c : cases) {
    WorkingState.Channel = c.channel;
    EXPECT_EQ(c.programChange, SendProgramChange(5)) << c.channel;
  }
  WriteHostFile(kSettingsFile, "canal=44444444444444444\r\ninstru=3\r\n");
  char text[kPageSize + 1];
  char scratch[kPageSize + 1];
  EXPECT_EQ(1, LoadSettings(text, scratch));
  EXPECT_EQ(INT32_MAX, WorkingState.Channel);
}

}  // namespace
