#include "drivers/wav_render_device.h"

#include "formats/file_bytes.h"
#include "formats/smf_writer.h"
#include "formats/wav_files.h"
#include "platform/paths.h"

namespace drivers {

WavRenderDevice::WavRenderDevice(std::string name, const char* programPath, std::string soundFont)
    : name_(std::move(name)), programPath_(programPath), soundFont_(std::move(soundFont)) {}

uint16_t WavRenderDevice::NoteCapacity() {
  if (capacity_ < 0) capacity_ = IsSoundFont(soundFont_) ? kSynthPolyphony : 0;
  return static_cast<uint16_t>(capacity_);
}

bool WavRenderDevice::Open() {
  if (!synth_) synth_ = Synthesizer::Create();
  return synth_ && synth_->LoadSoundFont(soundFont_);
}

void WavRenderDevice::Send(const uint8_t* bytes, int length) {
  if (synth_ && synth_->HasSoundFont()) synth_->Send(bytes, length);
  unsaved_ = true;
}

void WavRenderDevice::Wait(uint32_t ms) {
  nowMs_ += ms;
  if (ms > 0) unsaved_ = true;
  // Frames are counted from the start of the recording, so that waits of
  // odd milliseconds never drift from the timeline.
  size_t target = static_cast<size_t>(nowMs_ * kSynthRate / 1000);
  size_t done = samples_.size() / 2;
  if (target <= done) return;
  samples_.resize(target * 2);
  if (synth_ && synth_->HasSoundFont()) synth_->Render(samples_.data() + done * 2, target - done);
}

void WavRenderDevice::Close() {
  if (!unsaved_) return;
  std::vector<uint8_t> wav = formats::BuildWav(samples_.data(), samples_.size() / 2, 2, kSynthRate);
  if (formats::WriteFileAtomically(platform::MapPath(programPath_), wav.data(), wav.size())) unsaved_ = false;
}

}  // namespace drivers
