#include "midi/pacing.h"

#include "core/working_state.h"
#include "midi/midi_port.h"
#include "platform/stop_request.h"

namespace {

struct State {
  bool on = false;
  TPacing pacing{};
  uint64_t elapsedMs = 0;  // since the beats started
  uint64_t nextBeatMs = 0;
  int64_t beat = 0;
  uint32_t beatTempo = 0;  // the tempo the next beat was placed at
  int32_t clickSounding = 0;  // the click note still on, 0 when none
};
State state;

// The longest wait of a note, as at full speed, stretched by the percentage.
uint32_t ScaledMs(uint32_t length) {
  uint64_t percent = static_cast<uint64_t>(state.pacing.percent);
  uint64_t tempo = WorkingState.Tempo;
  uint64_t longest = 4000 * 100 / percent;
  if (length == 0 || tempo == 0) return static_cast<uint32_t>(1000 * 100 / percent);
  uint64_t wait = 24000000000ull / length / tempo / percent;
  return static_cast<uint32_t>(wait > longest ? longest : wait);
}

void ClickOff() {
  if (state.clickSounding == 0) return;
  platform::MidiOutShortMsg(WorkingState.MidiOut, PackShortMessage(kClickStatus, state.clickSounding, 0));
  state.clickSounding = 0;
}

void Click() {
  ClickOff();
  bool accent = state.beat % state.pacing.beatsPerMeasure == 0;
  state.clickSounding = accent ? kAccentClick : kBeatClick;
  platform::MidiOutShortMsg(WorkingState.MidiOut,
                            PackShortMessage(kClickStatus, state.clickSounding, accent ? 127 : 90));
  ++state.beat;
}

}  // namespace

void BeginPacing(const TPacing& pacing) {
  state = State{};
  state.pacing = pacing;
  if (state.pacing.percent < 1) state.pacing.percent = 100;
  if (state.pacing.beatsPerMeasure < 1) state.pacing.beatsPerMeasure = 4;
  if (state.pacing.beatLength == 0) state.pacing.beatLength = 4000;
  state.on = true;
}

bool PacingOn() { return state.on; }

void RestartBeats(int32_t percent) {
  if (percent >= 1) state.pacing.percent = percent;
  state.elapsedMs = 0;
  state.nextBeatMs = 0;
  state.beat = 0;
  state.beatTempo = 0;
}

bool CountIn() {
  RestartBeats(state.pacing.percent);
  uint32_t beatMs = ScaledMs(state.pacing.beatLength);
  for (int32_t i = 0; i < state.pacing.beatsPerMeasure; ++i) {
    if (platform::StopRequested()) break;
    Click();
    WaitUnlessStopped(beatMs);
  }
  ClickOff();
  RestartBeats(state.pacing.percent);
  return !platform::StopRequested();
}

void EndPacing() {
  ClickOff();
  state.on = false;
}

uint32_t PacedWait(uint32_t length) {
  uint32_t ms = ScaledMs(length);
  uint64_t end = state.elapsedMs + ms;
  if (state.pacing.clicks) {
    // At a change of tempo the beat under way ends at the new tempo.
    uint32_t tempo = WorkingState.Tempo;
    if (state.beatTempo != 0 && tempo != 0 && tempo != state.beatTempo && state.nextBeatMs > state.elapsedMs)
      state.nextBeatMs = state.elapsedMs + (state.nextBeatMs - state.elapsedMs) * state.beatTempo / tempo;
    state.beatTempo = tempo;
    uint64_t beatMs = ScaledMs(state.pacing.beatLength);
    // A beat that falls on the start of this wait sounds with the note that
    // starts there; one at its end belongs to the next wait, so no click
    // follows the last note.
    while (state.nextBeatMs < end) {
      WaitUnlessStopped(state.nextBeatMs > state.elapsedMs ? state.nextBeatMs - state.elapsedMs : 0);
      if (platform::StopRequested()) break;
      state.elapsedMs = state.nextBeatMs > state.elapsedMs ? state.nextBeatMs : state.elapsedMs;
      Click();
      state.nextBeatMs += beatMs > 0 ? beatMs : 1;
    }
  }
  WaitUnlessStopped(end > state.elapsedMs ? end - state.elapsedMs : 0);
  state.elapsedMs = end;
  return ms;
}
