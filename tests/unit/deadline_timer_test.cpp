// Live devices keep time to absolute deadlines: the cost of sending does not
// add up, and after a pause the timeline restarts from the present.
#include <cstdint>
#include <vector>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "formats/deadline_timer.h"
#include "midi/play_string.h"
#include "platform/midi_out.h"

namespace {

// A wait called at `nowUs`, and the time its sleep returned.
struct Step {
  uint64_t nowUs;
  uint32_t ms;
  uint64_t deadlineUs;
  uint64_t wokeUs;
};

TEST(DeadlineTimer, Timelines) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"first wait starts from the present", {{5000, 10, 15000, 15000}}},
      {"sending between waits does not accumulate",
       {{0, 100, 100000, 100000}, {100400, 100, 200000, 200000}, {200900, 100, 300000, 300000}}},
      {"late wake-ups are caught up",
       {{0, 50, 50000, 80000}, {80100, 50, 100000, 100050}, {100100, 0, 100000, 100100}}},
      {"a pause inside the window is caught up", {{0, 50, 50000, 50000}, {70000, 50, 100000, 100000}}},
      {"a pause past the window restarts from the present",
       {{0, 50, 50000, 50000}, {70001, 50, 120001, 120001}, {120300, 50, 170001, 170001}}},
      {"a prompt of several seconds",
       {{1000, 250, 251000, 251000}, {3251000, 250, 3501000, 3501000}, {3501100, 250, 3751000, 3751000}}},
      {"a lateness up to the longest catch-up is caught up",
       {{0, 10, 10000, 10000 + 200000}, {210000, 10, 20000, 210000}}},
      {"a stall past the longest catch-up restarts",
       {{0, 10, 10000, 10000 + 200001}, {210001, 10, 220001, 220001}}},
      {"a clock that went back restarts", {{100000000, 10, 100010000, 100010000}, {5000, 10, 15000, 15000}}},
      {"the longest wait", {{0, 4000, 4000000, 4000000}, {4000100, 4000, 8000000, 8000000}}},
  };
  for (const Case& c : cases) {
    formats::DeadlineTimer timer;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      EXPECT_EQ(c.steps[i].deadlineUs, timer.Next(c.steps[i].nowUs, c.steps[i].ms)) << c.name << ", step " << i;
      timer.Woke(c.steps[i].wokeUs);
    }
  }
}

// A live device whose every message takes time to send.
class SlowDevice : public fakes::MidiDevice {
 public:
  SlowDevice(fakes::Clock& clock, uint64_t costUs) : fakes::MidiDevice("slow", 32, clock), clock_(clock), costUs_(costUs) {}
  void Send(const uint8_t* bytes, int) override {
    if (bytes[0] >= 0x90 && bytes[0] < 0xA0 && bytes[2] > 0) onsetsUs.push_back(clock_.nowUs);
    clock_.nowUs += costUs_;
  }
  std::vector<uint64_t> onsetsUs;

 private:
  fakes::Clock& clock_;
  uint64_t costUs_;
};

class LiveTiming : public PavTest {
 protected:
  SlowDevice& UseSlowDevice(uint64_t costUs) {
    auto device = std::make_unique<SlowDevice>(clock, costUs);
    SlowDevice& slow = *device;
    platform::MidiDeviceList list;
    list.push_back(std::move(device));
    platform::InstallMidiDevices(std::move(list));
    OpenDefaultPort();
    WorkingState.Tempo = 240;
    WorkingState.Octave = 4;
    return slow;
  }
};

TEST_F(LiveTiming, SendingCostDoesNotDrift) {
  SlowDevice& device = UseSlowDevice(700);
  clock.nowUs = 1000000;
  TNoteList notes{};
  TLengthList lengths{};
  std::string sixteenths;
  for (int i = 0; i < 200; ++i) sixteenths += "16c";
  ParsePlayString(sixteenths.c_str(), notes, lengths);
  PlayNoteList(0, notes, lengths);
  ASSERT_EQ(200u, device.onsetsUs.size());
  // A sixteenth at tempo 240 lasts 62.5 ms, waited 62 then 63 ms; the
  // timeline starts at the first wait and every later onset sits on its
  // grid, sending costs included.
  for (size_t i = 1; i < device.onsetsUs.size(); ++i)
    ASSERT_EQ(1000700 + i * 62500 / 1000 * 1000 + 700, device.onsetsUs[i]) << "note " << i;
}

TEST_F(LiveTiming, NoRushAfterAPrompt) {
  SlowDevice& device = UseSlowDevice(0);
  platform::TMidiOut port = WorkingState.MidiOut;
  platform::MidiOutShortMsg(port, 0x7F3C90);
  platform::MidiOutWait(port, 100);
  // The user takes five seconds to answer.
  clock.nowUs += 5000000;
  platform::MidiOutShortMsg(port, 0x7F3E90);
  platform::MidiOutWait(port, 100);
  platform::MidiOutShortMsg(port, 0x7F4090);
  ASSERT_EQ(3u, device.onsetsUs.size());
  EXPECT_EQ(100000u, device.onsetsUs[1] - device.onsetsUs[0] - 5000000);
  EXPECT_EQ(100000u, device.onsetsUs[2] - device.onsetsUs[1]);
}

}  // namespace
