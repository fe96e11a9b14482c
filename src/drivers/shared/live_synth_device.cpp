#include "drivers/live_synth_device.h"

namespace drivers {
namespace {

// Long enough for a sound server that is merely busy, short enough that a
// machine whose output is stuck still starts promptly.
constexpr int kOutputTimeoutMs = 2000;

}  // namespace

LiveSynthDevice::LiveSynthDevice(std::string name, std::string soundFont)
    : name_(std::move(name)), soundFont_(std::move(soundFont)) {}

uint16_t LiveSynthDevice::NoteCapacity() {
  if (capacity_ >= 0) return static_cast<uint16_t>(capacity_);
  capacity_ = 0;
  if (!IsSoundFont(soundFont_)) return 0;
  synth_ = Synthesizer::Create();
  if (!synth_ || !synth_->StartOutput(kOutputTimeoutMs)) {
    synth_.reset();
    return 0;
  }
  synth_->StopOutput();
  capacity_ = kSynthPolyphony;
  return kSynthPolyphony;
}

bool LiveSynthDevice::Open() {
  if (NoteCapacity() == 0) return false;
  return synth_->LoadSoundFont(soundFont_) && synth_->StartOutput(kOutputTimeoutMs);
}

void LiveSynthDevice::Send(const uint8_t* bytes, int length) {
  if (synth_ && synth_->HasSoundFont()) synth_->Send(bytes, length);
}

void LiveSynthDevice::Close() {
  if (synth_) synth_->StopOutput();
}

}  // namespace drivers
