// Plays long pieces in real time on a device that timestamps every message
// and compares the note-ons with the ideal timeline: the live devices'
// deadline waits against the plain sleep-per-note loop, unloaded and with a
// second process keeping both cores busy. BENCH_QUICK=1 plays short pieces;
// BENCH_MIXED_SECONDS sets the length of the mixed piece.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_system.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "midi/play_string.h"
#include "onset_stats.h"
#include "platform/midi_out.h"
#include "platform/platform.h"

namespace {

// A live device that only notes when each message arrives.
class StampDevice : public platform::LiveMidiDevice {
 public:
  std::string Name() const override { return "horodatage"; }
  uint16_t NoteCapacity() override { return 32; }
  bool Open() override { return true; }
  void Send(const uint8_t* bytes, int) override {
    uint64_t now = platform::SystemClock().NowUs();
    if ((bytes[0] & 0xF0) == 0x90 && bytes[2] > 0) onsetsUs.push_back(now);
  }
  void Close() override {}
  std::vector<uint64_t> onsetsUs;
};

// The baseline: each wait sleeps its length from whenever it starts.
class SleepPerNoteDevice : public StampDevice {
 public:
  void Wait(uint32_t ms) override { platform::SystemClock().SleepMs(ms); }
};

struct Piece {
  std::vector<std::string> chunks;  // play-strings of at most 2047 characters
};

Piece Sixteenths(int count) {
  Piece piece;
  while (count > 0) {
    int here = count > 2000 ? 2000 : count;
    piece.chunks.push_back("t240 o4 16" + std::string(static_cast<size_t>(here), 'c'));
    count -= here;
  }
  return piece;
}

// Mixed values, dots and rests at tempo 120, about `seconds` long.
Piece Mixed(int seconds) {
  struct Value {
    const char* length;
    bool dotted;
    double ms;
  };
  static const Value kValues[] = {{"1", false, 2000}, {"2", false, 1000}, {"4", false, 500},
                                  {"8", false, 250},  {"16", false, 125}, {"4", true, 750},
                                  {"8", true, 375},   {"2", true, 1500}};
  static const char kNotes[] = "cdefgab";
  std::mt19937 random(1789);
  Piece piece;
  double total = 0;
  std::string chunk;
  while (total < seconds * 1000.0) {
    if (chunk.empty()) chunk = "t120 o4 ";
    const Value& v = kValues[random() % 8];
    char note = random() % 10 == 0 ? 'p' : kNotes[random() % 7];
    chunk += std::string(v.length) + note + (v.dotted ? ". " : " ");
    total += v.ms;
    if (chunk.size() > 1900) {
      piece.chunks.push_back(chunk);
      chunk.clear();
    }
  }
  if (!chunk.empty()) piece.chunks.push_back(chunk);
  return piece;
}

// The exact length of a note or rest, as the player keeps it: the fractions
// of a millisecond its whole-millisecond waits cut off are carried on.
uint64_t ExactLengthUs(uint32_t length) {
  uint32_t ms = NoteLengthMs(length);
  if (length == 0 || WorkingState.Tempo == 0 || ms >= 4000) return uint64_t{ms} * 1000;
  return 240000000000ull / length / WorkingState.Tempo;
}

// Plays the piece on `device` (installed as the only device) and measures.
OnsetStats Play(const Piece& piece, std::unique_ptr<StampDevice> owned) {
  StampDevice& device = *owned;
  platform::MidiDeviceList list;
  list.push_back(std::move(owned));
  platform::InstallMidiDevices(std::move(list));
  WorkingState = TWorkingState{};
  WorkingState.MidiDevice = 0;
  OpenMidiPort();
  WorkingState.Channel = 0;
  WorkingState.Velocity = 100;
  WorkingState.Octave = 4;
  WorkingState.NoteLength = 4;

  constexpr size_t kMaxChunks = 64;
  static TNoteList notes[kMaxChunks];
  static TLengthList lengths[kMaxChunks];
  if (piece.chunks.size() > kMaxChunks) std::abort();
  std::vector<uint64_t> waitsUs;  // of every entry, rests included
  std::vector<bool> sounding;
  std::vector<uint32_t> tempos;
  for (size_t c = 0; c < piece.chunks.size(); ++c) {
    ParsePlayString(piece.chunks[c].c_str(), notes[c], lengths[c]);
    tempos.push_back(WorkingState.Tempo);
    for (int k = 1; k <= notes[c].Count; ++k) {
      waitsUs.push_back(ExactLengthUs(lengths[c][k]));
      sounding.push_back(notes[c][k] != 0);
    }
  }
  for (size_t c = 0; c < piece.chunks.size(); ++c) {
    WorkingState.Tempo = tempos[c];
    PlayNoteList(0, notes[c], lengths[c]);
  }
  // The end of the last wait (a piece may end with a rest).
  uint64_t endUs = platform::SystemClock().NowUs();
  platform::MidiOutClose(WorkingState.MidiOut);
  WorkingState.MidiOut = nullptr;

  // The ideal timeline starts at the first note-on.
  std::vector<uint64_t> ideal;
  uint64_t at = device.onsetsUs.empty() ? 0 : device.onsetsUs[0];
  for (size_t i = 0; i < waitsUs.size(); ++i) {
    if (sounding[i]) ideal.push_back(at);
    at += waitsUs[i];
  }
  return Measure(device.onsetsUs, ideal, endUs, at);
}

// With the share of one core the player took while playing: a wait that
// kept a core busy would show near 100 %.
void Report(const char* piece, const char* method, const Piece& notes, std::unique_ptr<StampDevice> device) {
  uint64_t cpuBefore = ProcessCpuUs();
  uint64_t start = platform::SystemClock().NowUs();
  OnsetStats s = Play(notes, std::move(device));
  double cpu = 100.0 * double(ProcessCpuUs() - cpuBefore) / double(platform::SystemClock().NowUs() - start);
  std::printf("%-38s %-16s %9.3f %9.3f %9.3f %10.3f %6.1f\n", piece, method, s.medianUs / 1000, s.p99Us / 1000,
              s.maxUs / 1000, s.endDriftUs / 1000, cpu);
  std::fflush(stdout);
}

void Compare(const char* name, const Piece& piece) {
  Report(name, "deadlines", piece, std::make_unique<StampDevice>());
  Report(name, "sleep per note", piece, std::make_unique<SleepPerNoteDevice>());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == kBusyCoresArgument) RunBusyCores();
  bool quick = std::getenv("BENCH_QUICK") && std::getenv("BENCH_QUICK")[0] == '1';
  int sixteenths = quick ? 300 : 2000;
  int mixedSeconds = quick ? 40 : 600;
  if (const char* seconds = std::getenv("BENCH_MIXED_SECONDS")) mixedSeconds = std::atoi(seconds) > 0 ? std::atoi(seconds) : mixedSeconds;
  std::printf("Onset error against the ideal timeline, in ms%s\n", quick ? " (BENCH_QUICK: short pieces)" : "");
  std::printf("%-38s %-16s %9s %9s %9s %10s %6s\n", "piece", "waits", "median", "p99", "max", "end drift", "CPU %");
  char name[64];
  std::snprintf(name, sizeof name, "%d sixteenths, tempo 240", sixteenths);
  Compare(name, Sixteenths(sixteenths));
  Piece mixed = Mixed(mixedSeconds);
  std::snprintf(name, sizeof name, "mixed values, %d s", mixedSeconds);
  Compare(name, mixed);
  std::snprintf(name, sizeof name, "mixed values, %d s, both cores busy", mixedSeconds);
  BusyCores* load = StartBusyCores();
  Compare(name, mixed);
  StopBusyCores(load);
  return 0;
}
