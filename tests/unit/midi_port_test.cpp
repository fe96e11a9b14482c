#include "core/working_state.h"

#include "fakes/fakes.h"
#include "midi/midi_port.h"
#include "platform/midi_out.h"

namespace {

using Port = PavTest;

TEST_F(Port, WaitLengthsAndCaps) {
  struct Case {
    uint32_t tempo, length, ms;
  } cases[] = {
      {60, 4000, 1000}, {60, 8000, 500},  {60, 2666, 1500}, {60, 1000, 4000},
      {59, 1000, 4000},  // 4067 computed, capped
      {60, 0, 1000},    {200, 0, 1000},   {0, 4000, 1000},  {0, 1, 1000},
      {60, 1, 4000},    {60, 240000001, 0}, {120, 16000, 125}, {240, 16000, 62},
      {60, 2285, 1750}, {61, 4000, 983},  // each division truncates
  };
  for (const Case& c : cases) {
    OpenDefaultPort();  // a new playing: nothing carried
    WorkingState.Tempo = c.tempo;
    uint64_t before = clock.NowMs();
    EXPECT_EQ(c.ms, WaitNoteLength(c.length)) << c.tempo << " " << c.length;
    EXPECT_EQ(c.ms, clock.NowMs() - before) << c.tempo << " " << c.length;
  }
}

// What a wait cuts off is carried to the next ones: 21 sixteenths at tempo
// 84 (178.57 ms each, 3750 ms in all) last 3749 ms, not 21 x 178 = 3738.
TEST_F(Port, FractionsOfAMillisecondAreCarried) {
  OpenDefaultPort();
  WorkingState.Tempo = 84;
  uint64_t before = clock.NowMs();
  for (int i = 0; i < 21; ++i) WaitNoteLength(16000);
  EXPECT_EQ(3749u, clock.NowMs() - before);
}

TEST_F(Port, ExactBytesOfTheThreeMessages) {
  OpenDefaultPort();
  EXPECT_EQ(0x7F3C91u, SendNoteOn(60));
  EXPECT_EQ(0x003C81u, SendNoteOff(60));
  EXPECT_EQ(0x0000C1u, SendProgramChange(0));
  ASSERT_EQ(3u, Device(0).events.size());
  EXPECT_EQ((std::vector<uint8_t>{0x91, 0x3C, 0x7F}), Device(0).events[0].bytes);
  EXPECT_EQ((std::vector<uint8_t>{0x81, 0x3C, 0x00}), Device(0).events[1].bytes);
  EXPECT_EQ((std::vector<uint8_t>{0xC1, 0x00}), Device(0).events[2].bytes);
  WorkingState.Channel = 9;
  WorkingState.Velocity = 64;
  EXPECT_EQ(0x402499u, SendNoteOn(36));
}

TEST(PackShortMessage, CutsEachOperandTo8Bits) {
  EXPECT_EQ(0x002CC0u, PackShortMessage(0x1C0, 300, -1) & 0xFFFF);
  EXPECT_EQ(0xFF2CC0u, PackShortMessage(0x1C0, 300, -1));
  EXPECT_EQ(0u, PackShortMessage(0x100, 0x100, 0x100));
}

TEST_F(Port, DeviceRefusesMessagesThatAreNotChannelMessages) {
  OpenDefaultPort();
  SendNoteOn(200);                    // data byte above 127
  WorkingState.Velocity = 300;        // 300 & 0xFF = 44: fine
  SendNoteOn(60);
  WorkingState.Velocity = 200;
  SendNoteOn(61);                     // velocity byte above 127
  WorkingState.Channel = -0x20;       // status 0x70: not a status byte
  SendNoteOn(62);
  WorkingState.Channel = 0x60;        // status 0xF0: system exclusive
  SendNoteOn(63);
  WorkingState.Channel = 1;
  SendProgramChange(200);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 44"}), MidiLog());
}

// Only note-ons, note-offs and program changes ever leave the program,
// whatever channel a settings file or an indication gives.
TEST_F(Port, ChannelOutsideTheSixteenSendsNothing) {
  OpenDefaultPort();
  struct Case {
    int32_t channel;
    bool sent;
  } cases[] = {{0, true}, {15, true}, {16, false}, {31, false}, {32, false},
               {-1, false}, {255, false}, {256 + 2, true}, {INT32_MAX, false}};
  for (const Case& c : cases) {
    Device(0).events.clear();
    WorkingState.Channel = c.channel;
    SendNoteOn(60);
    SendNoteOff(60);
    SendProgramChange(5);
    EXPECT_EQ(c.sent ? 3u : 0u, Device(0).events.size()) << c.channel;
  }
  WorkingState.Channel = 16;
  EXPECT_EQ(0x7F3CA0u, SendNoteOn(60));  // still packed and returned
}

TEST_F(Port, NormalizePitchWrapsAndSetsOctave) {
  struct Case {
    int32_t pitch, result;
    int8_t octave;
  } cases[] = {{60, 60, 5}, {-5, -5, 0}, {200, -56, -4}, {0, 0, 0}, {127, 127, 10},
               {128, -128, -10}, {256 + 61, 61, 5}, {11, 11, 0}, {12, 12, 1}};
  for (const Case& c : cases) {
    WorkingState.Octave = 99;
    EXPECT_EQ(c.result, NormalizePitch(c.pitch)) << c.pitch;
    EXPECT_EQ(c.octave, WorkingState.Octave) << c.pitch;
  }
}

TEST_F(Port, OpeningAsksOnlyTheChosenDevice) {
  UseDevices({10, 20, 30});
  WorkingState.MidiDevice = 1;
  EXPECT_EQ(3, OpenMidiPort());
  EXPECT_EQ(20, WorkingState.Polyphony);
  EXPECT_EQ(0, Device(0).capacityReads) << "another device's synthesizer would be built for nothing";
  EXPECT_EQ(1, Device(1).capacityReads);
  EXPECT_EQ(0, Device(2).capacityReads);
  EXPECT_EQ(1, Device(1).opens);
  EXPECT_EQ(0, Device(0).opens + Device(2).opens);
  EXPECT_NE(nullptr, WorkingState.MidiOut);
}

TEST_F(Port, OutOfRangeDeviceIsUnusableAndOpensNothing) {
  UseDevices({10, 20, 30});
  for (int32_t device : {7, 3, -1}) {
    WorkingState.MidiDevice = device;
    EXPECT_EQ(-1, OpenMidiPort());
    EXPECT_EQ(0, WorkingState.Polyphony);
    EXPECT_EQ(nullptr, WorkingState.MidiOut);
  }
  EXPECT_EQ(0, Device(0).capacityReads + Device(1).capacityReads + Device(2).capacityReads);
  EXPECT_EQ(0, Device(0).opens + Device(1).opens + Device(2).opens);
  // Messages go nowhere, and waits still take their time.
  SendNoteOn(60);
  WorkingState.Tempo = 60;
  WaitNoteLength(4000);
  EXPECT_EQ(1000u, clock.NowMs());
}

TEST_F(Port, ZeroCapacityOrNoDeviceIsUnusable) {
  UseDevices({10, 0});
  WorkingState.MidiDevice = 1;
  EXPECT_EQ(-1, OpenMidiPort());
  EXPECT_EQ(0, WorkingState.Polyphony);
  UseDevices({});
  WorkingState.MidiDevice = 0;
  EXPECT_EQ(-1, OpenMidiPort());
  EXPECT_EQ(0, WorkingState.Polyphony);
  EXPECT_EQ(nullptr, WorkingState.MidiOut);
}

TEST_F(Port, ReopeningClosesTheOldPortAndSilencesItsNotes) {
  OpenDefaultPort();
  SendNoteOn(60);
  SendNoteOn(64);
  SendNoteOff(60);
  OpenMidiPort();
  EXPECT_EQ(1, Device(0).closes);
  EXPECT_EQ(2, Device(0).opens);
  EXPECT_TRUE(Device(0).isOpen);
  EXPECT_EQ((std::vector<std::string>{"t=0 on 60 127", "t=0 on 64 127", "t=0 off 60", "t=0 off 64"}),
            MidiLog());
  SendNoteOn(67);
  platform::CloseAllMidiPorts();
  EXPECT_EQ("t=0 off 67", MidiLog().back());
  EXPECT_FALSE(Device(0).isOpen);
}

TEST_F(Port, DeviceNumberFileForms) {
  struct Case {
    const char* text;
    int32_t device;
  } cases[] = {{"2", 2}, {"2 le fichier MIDI\r\n", 2}, {"  7\r\n", 7}, {"-3", -3},
               {"+1", 1},  {"x2", 0}, {"", 0}, {"12345678901234", INT32_MAX}};
  for (const Case& c : cases) {
    WriteHostFile("\\orfeon\\midiinit.dev", c.text);
    WorkingState.MidiDevice = 99;
    ReadDeviceNumber();
    EXPECT_EQ(c.device, WorkingState.MidiDevice) << c.text;
  }
  EXPECT_TRUE(dialogs.boxes.empty());
  std::remove(HostPath("\\orfeon\\midiinit.dev").c_str());
  WorkingState.MidiDevice = 99;
  EXPECT_EQ(0, ReadDeviceNumber());
  EXPECT_EQ(0, WorkingState.MidiDevice);
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("\\orfeon\\midiinit.dev", dialogs.boxes[0].text);
}

}  // namespace
