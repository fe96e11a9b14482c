#include "core/working_state.h"

#include "drivers/device_table.h"
#include "drivers/midi_file_device.h"
#include "fakes/fakes.h"
#include "formats/smf_writer.h"
#include "midi/midi_port.h"
#include "platform/midi_out.h"

namespace {

TEST(Smf, BytesOfAShortRecording) {
  std::vector<formats::TimedMessage> messages = {
      {0, {0xC1, 0x00, 0}, 2},
      {0, {0x91, 60, 127}, 3},
      {1000, {0x81, 60, 0}, 3},
      {1200, {0x91, 62, 100}, 3},  // 200 ms: a two-byte delta
      {1200 + 20000, {0x81, 62, 0}, 3},
  };
  std::vector<uint8_t> smf = formats::BuildSmf(messages, 21700);
  std::vector<uint8_t> expected = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xF4,  // format 0, 500 per quarter
      'M', 'T', 'r', 'k', 0, 0, 0, 35,
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 500000 us per quarter
      0x00, 0xC1, 0x00,
      0x00, 0x91, 60, 127,
      0x87, 0x68, 0x81, 60, 0,   // 1000
      0x81, 0x48, 0x91, 62, 100, // 200
      0x81, 0x9C, 0x20, 0x81, 62, 0,  // 20000
      0x83, 0x74, 0xFF, 0x2F, 0x00,   // trailing rest of 500
  };
  EXPECT_EQ(expected, smf);
}

class MidiFile : public PavTest {
 protected:
  void UseFileDevice() {
    platform::MidiDeviceList list = drivers::BuildDeviceTable();
    platform::InstallMidiDevices(std::move(list));
    WorkingState.MidiDevice = 2;
    WorkingState.Channel = 1;
    WorkingState.Velocity = 127;
    WorkingState.Tempo = 60;
  }
};

TEST_F(MidiFile, FixedDeviceOrder) {
  platform::MidiDeviceList list = drivers::BuildDeviceTable();
  ASSERT_GE(list.size(), 3u);
  EXPECT_EQ("Synthétiseur intégré", list[0]->Name());
  EXPECT_EQ("Synthétiseur intégré -> \\orfeon\\sortie.wav", list[1]->Name());
  EXPECT_EQ("Fichier MIDI -> \\orfeon\\sortie.mid", list[2]->Name());
  EXPECT_GT(list[2]->NoteCapacity(), 0);
}

TEST_F(MidiFile, RecordsOnItsOwnClockAndContinuesAfterReopening) {
  UseFileDevice();
  ASSERT_EQ(128, OpenMidiPort() > 0 ? WorkingState.Polyphony : -1);
  SendNoteOn(60);
  WaitNoteLength(4000);
  SendNoteOff(60);
  WaitNoteLength(8000);  // a trailing rest
  EXPECT_EQ(0u, clock.NowMs()) << "a recorder never sleeps";
  OpenMidiPort();  // closes (writes) and reopens
  std::string first = ReadHostFile("\\orfeon\\sortie.mid");
  std::vector<uint8_t> expected = formats::BuildSmf(
      {{0, {0x91, 60, 127}, 3}, {1000, {0x81, 60, 0}, 3}}, 1500);
  EXPECT_EQ(std::string(expected.begin(), expected.end()), first);

  SendNoteOn(62);  // left sounding: closing switches it off
  WaitNoteLength(4000);
  platform::CloseAllMidiPorts();
  expected = formats::BuildSmf({{0, {0x91, 60, 127}, 3},
                                 {1000, {0x81, 60, 0}, 3},
                                 {1500, {0x91, 62, 127}, 3},
                                 {2500, {0x81, 62, 0}, 3}},
                                2500);
  EXPECT_EQ(std::string(expected.begin(), expected.end()), ReadHostFile("\\orfeon\\sortie.mid"));
}

}  // namespace

namespace {

TEST_F(MidiFile, AnotherProgramsFileIsNotOverwrittenWithNothingNew) {
  UseFileDevice();
  OpenMidiPort();
  SendNoteOn(60);
  WaitNoteLength(4000);
  SendNoteOff(60);
  platform::MidiOutClose(WorkingState.MidiOut);  // as for the companion player
  WorkingState.MidiOut = nullptr;
  WriteHostFile("\\orfeon\\sortie.mid", "the companion's recording");
  OpenMidiPort();
  platform::CloseAllMidiPorts();
  EXPECT_EQ("the companion's recording", ReadHostFile("\\orfeon\\sortie.mid"));
  // Something new is recorded again: the whole recording is written.
  OpenMidiPort();
  SendProgramChange(3);
  platform::CloseAllMidiPorts();
  EXPECT_NE("the companion's recording", ReadHostFile("\\orfeon\\sortie.mid"));
}

}  // namespace
