#include "drivers/wav_render_device.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "core/text_files.h"
#include "formats/file_bytes.h"
#include "formats/wav_files.h"
#include "platform/interrupt.h"
#include "platform/paths.h"

namespace drivers {
namespace {

constexpr size_t kChunkFrames = 4096;
constexpr size_t kTailBlockFrames = kSynthRate / 100;  // 10 ms
constexpr size_t kMaxTailFrames = 3 * kSynthRate;
// -60 dBFS of a 16-bit sample.
constexpr int kSilentPeak = 33;

bool IsNoteOn(const uint8_t* bytes, int length) { return length == 3 && (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0; }

int Peak(const int16_t* samples, size_t count) {
  int peak = 0;
  for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  return peak;
}

}  // namespace

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
  if (!file_.IsOpen() && IsNoteOn(bytes, length)) StartFile();
  if (synth_ && synth_->HasSoundFont()) synth_->Send(bytes, length);
}

void WavRenderDevice::Wait(uint32_t ms) {
  nowMs_ += ms;
  // Frames are counted from the start of the recording, so that waits of
  // odd milliseconds never drift from the timeline.
  RenderTo(static_cast<size_t>(nowMs_ * kSynthRate / 1000) + tailFrames_);
}

void WavRenderDevice::RenderTo(size_t target) {
  int16_t chunk[kChunkFrames * 2];
  while (frames_ < target) {
    size_t n = std::min(kChunkFrames, target - frames_);
    if (synth_ && synth_->HasSoundFont()) {
      synth_->Render(chunk, n);
    } else {
      std::fill(chunk, chunk + n * 2, int16_t{0});
    }
    lastPeak_ = Peak(chunk, n * 2);
    if (file_.IsOpen()) WriteFrames(chunk, n);
    frames_ += n;
    // A long render still answers Ctrl+C, and the file is then closed whole.
    platform::CheckInterrupted();
  }
}

void WavRenderDevice::WriteFrames(const int16_t* samples, size_t frames) {
  uint8_t bytes[kChunkFrames * 4];
  for (size_t i = 0; i < frames * 2; ++i) {
    uint16_t v = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<uint8_t>(v);
    bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  file_.Write(bytes, frames * 4);
  fileFrames_ += frames;
}

void WavRenderDevice::StartFile() {
  std::string path = platform::MapPath(programPath_);
  if (!file_.Open(path)) {
    ShowWriteFailure(programPath_, errno);
    return;
  }
  std::vector<uint8_t> header = formats::WavHeader(0, 2, kSynthRate);
  file_.Write(header.data(), header.size());
  fileFrames_ = 0;
  // What this run recorded before, as the output holds it.
  uint8_t bytes[kChunkFrames * 4];
  if (committedFrames_ > 0) {
    std::FILE* old = formats::OpenRegularFile(path, formats::TLinks::kRefuse);
    if (old && std::fseek(old, static_cast<long>(formats::kWavHeaderSize), SEEK_SET) != 0) {
      std::fclose(old);
      old = nullptr;
    }
    while (old && fileFrames_ < committedFrames_) {
      size_t want = std::min(kChunkFrames, committedFrames_ - fileFrames_) * 4;
      size_t frames = std::fread(bytes, 1, want, old) / 4;
      if (frames == 0) break;
      file_.Write(bytes, frames * 4);
      fileFrames_ += frames;
    }
    if (old) std::fclose(old);
  }
  // Silence up to now: nothing sounded since.
  std::fill(bytes, bytes + sizeof bytes, uint8_t{0});
  while (fileFrames_ < frames_) {
    size_t n = std::min(kChunkFrames, frames_ - fileFrames_);
    file_.Write(bytes, n * 4);
    fileFrames_ += n;
  }
}

void WavRenderDevice::Close() {
  if (!file_.IsOpen()) return;
  size_t tailStart = frames_;
  while (lastPeak_ >= kSilentPeak && frames_ - tailStart < kMaxTailFrames)
    RenderTo(frames_ + kTailBlockFrames);
  tailFrames_ += frames_ - tailStart;
  std::vector<uint8_t> header = formats::WavHeader(fileFrames_, 2, kSynthRate);
  file_.WriteAt(0, header.data(), header.size());
  if (file_.Commit()) {
    committedFrames_ = fileFrames_;
  } else {
    ShowWriteFailure(programPath_, errno);
  }
}

}  // namespace drivers
