// Practice playing: the tempo as a percentage, a click on every beat on the
// percussion channel, and a count-in. While pacing is on, every wait of the
// players passes through here; while it is off the players wait exactly as
// without it.
#pragma once
#include <cstdint>

struct TPacing {
  int32_t percent;          // of the tempo, 100 = as written
  bool clicks;              // a click on every beat while playing
  int32_t beatsPerMeasure;  // the first one accented
  uint32_t beatLength;      // note value x 1000 of one beat (4000 a quarter)
};

// Percussion channel (channel 10) and its two wood blocks.
constexpr int32_t kClickStatus = 0x99;
constexpr int32_t kAccentClick = 76;
constexpr int32_t kBeatClick = 77;

void BeginPacing(const TPacing& pacing);
bool PacingOn();
// Starts the beats again from the present (a new pass) at `percent`.
void RestartBeats(int32_t percent);
// One measure of clicks; false when the user asked to stop.
bool CountIn();
// Switches the last click off and returns to plain waits.
void EndPacing();

// The wait for a length at `Tempo` scaled to the percentage, cut short when
// the user asks to stop; clicks fall on the beats it spans. Returns the
// milliseconds it was meant to last.
uint32_t PacedWait(uint32_t length);
