#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "drivers/live_synth_device.h"
#include "drivers/sound_files.h"
#include "drivers/sound_output.h"
#include "drivers/synthesizer.h"
#include "drivers/wav_render_device.h"
#include "fakes/fakes.h"
#include "formats/wav_files.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

TEST(Wav, HeaderAndSamplesOfPcm16) {
  struct Case {
    int channels;
    int rate;
    std::vector<int16_t> samples;
  } cases[] = {
      {2, 44100, {0, 1, -1, 32767, -32768, 256}},
      {1, 22050, {1000, -1000, 7}},
      {2, 44100, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channels);
    size_t frames = c.samples.size() / static_cast<size_t>(c.channels);
    std::vector<uint8_t> wav = formats::BuildWav(c.samples.data(), frames, c.channels, c.rate);
    ASSERT_EQ(44 + c.samples.size() * 2, wav.size());
    EXPECT_EQ(0, std::memcmp(wav.data(), "RIFF", 4));
    EXPECT_EQ(wav.size() - 8, Le32(wav, 4));
    EXPECT_EQ(0, std::memcmp(wav.data() + 8, "WAVEfmt ", 8));
    EXPECT_EQ(1, Le16(wav, 20));  // PCM
    EXPECT_EQ(c.channels, Le16(wav, 22));
    EXPECT_EQ(uint32_t(c.rate), Le32(wav, 24));
    EXPECT_EQ(uint32_t(c.rate * c.channels * 2), Le32(wav, 28));
    EXPECT_EQ(c.channels * 2, Le16(wav, 32));
    EXPECT_EQ(16, Le16(wav, 34));
    EXPECT_EQ(0, std::memcmp(wav.data() + 36, "data", 4));
    EXPECT_EQ(c.samples.size() * 2, Le32(wav, 40));
    for (size_t i = 0; i < c.samples.size(); ++i)
      EXPECT_EQ(c.samples[i], static_cast<int16_t>(Le16(wav, 44 + 2 * i)));
  }
}

TEST(Wav, ReadingBackAndMissingFiles) {
  drivers::PcmSound sound;
  EXPECT_FALSE(drivers::ReadSoundFile("/nonexistent/cue.wav", &sound));
  char path[] = "/tmp/pavsdi-wav-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(4, write(fd, "RIFF", 4));  // cut short: not a sound
  close(fd);
  EXPECT_FALSE(drivers::ReadSoundFile(path, &sound));
  std::vector<int16_t> samples = {5, -5, 300, -300};
  std::vector<uint8_t> wav = formats::BuildWav(samples.data(), 2, 2, 22050);
  FILE* f = std::fopen(path, "wb");
  std::fwrite(wav.data(), 1, wav.size(), f);
  std::fclose(f);
  ASSERT_TRUE(drivers::ReadSoundFile(path, &sound));
  EXPECT_EQ(2, sound.channels);
  EXPECT_EQ(22050, sound.rate);
  EXPECT_EQ(samples, sound.samples);
  std::remove(path);
}

TEST(SoundOutput, ForcedByTheEnvironment) {
  struct Case {
    const char* value;
    std::vector<drivers::SoundOutput> outputs;
  } cases[] = {
      {"none", {}},
      {"alsa", {drivers::SoundOutput::kAlsa}},
      {"pulseaudio", {drivers::SoundOutput::kPulseAudio}},
  };
  for (const Case& c : cases) {
    ScopedEnv audio("PAVSDI_AUDIO", c.value);
    EXPECT_EQ(c.outputs, drivers::SoundOutputs()) << c.value;
  }
}

TEST(LiveSynth, NoSoundOutputMeansNoCapacity) {
  ScopedEnv audio("PAVSDI_AUDIO", "none");
  drivers::LiveSynthDevice device("Synthétiseur intégré", drivers::FindSoundFont());
  EXPECT_EQ(0, device.NoteCapacity());
  EXPECT_FALSE(device.Open());
  uint8_t on[3] = {0x91, 60, 127};
  device.Send(on, 3);  // goes nowhere, harmlessly
  device.Close();
}

class WavRender : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    if (drivers::FindSoundFont().empty()) GTEST_SKIP() << "no soundfont installed";
  }
  static size_t Frames(const drivers::WavRenderDevice& d) { return d.Frames(); }
  static size_t FirstSound(const std::vector<int16_t>& s) {
    for (size_t i = 0; i < s.size(); ++i)
      if (s[i] != 0) return i / 2;
    return s.size() / 2;
  }
  // The samples of the output file as written at the last close.
  std::vector<int16_t> Written() {
    drivers::PcmSound sound;
    EXPECT_TRUE(drivers::ReadSoundFile(HostPath("\\orfeon\\sortie.wav"), &sound));
    EXPECT_EQ(2, sound.channels);
    EXPECT_EQ(44100, sound.rate);
    return sound.samples;
  }
  static int Peak(const std::vector<int16_t>& s, size_t fromFrame, size_t toFrame) {
    int peak = 0;
    for (size_t i = fromFrame * 2; i < toFrame * 2 && i < s.size(); ++i) peak = std::max(peak, std::abs(int{s[i]}));
    return peak;
  }
  void Send(drivers::WavRenderDevice& d, uint8_t status, uint8_t a, uint8_t b) {
    uint8_t bytes[3] = {status, a, b};
    d.Send(bytes, 3);
  }
};

TEST_F(WavRender, WaitsRenderExactlyTheirFramesWithoutDrift) {
  drivers::WavRenderDevice device("wav", "\\orfeon\\sortie.wav", drivers::FindSoundFont());
  ASSERT_GT(device.NoteCapacity(), 0);
  ASSERT_TRUE(device.Open());
  // Odd milliseconds are 44.1 frames each: the count follows the timeline,
  // never the sum of rounded waits.
  const uint32_t waits[] = {1, 1, 1, 7, 333, 0, 2000, 9};
  uint64_t totalMs = 0;
  for (uint32_t ms : waits) {
    device.Wait(ms);
    totalMs += ms;
    EXPECT_EQ(totalMs * 44100 / 1000, Frames(device)) << "after " << totalMs << " ms";
  }
  EXPECT_EQ(0u, clock.NowMs());  // rendering never sleeps
}

TEST_F(WavRender, NoteStartsAtItsTimeAfterExactSilence) {
  drivers::WavRenderDevice device("wav", "\\orfeon\\sortie.wav", drivers::FindSoundFont());
  ASSERT_TRUE(device.Open());
  device.Wait(100);
  Send(device, 0x91, 60, 127);
  device.Wait(250);
  Send(device, 0x81, 60, 0);
  device.Wait(2000);
  device.Close();
  std::vector<int16_t> s = Written();
  size_t onset = FirstSound(s);
  EXPECT_GE(onset, 4410u);
  EXPECT_LT(onset, 4410u + 88u);  // within 2 ms
  // Once the release and the reverberation have died out the rest is exact
  // silence: no dither, no noise.
  for (size_t i = (350 + 1500) * 441 / 10 * 2; i < s.size(); ++i) ASSERT_EQ(0, s[i]) << "frame " << i / 2;
}

TEST_F(WavRender, ClosingWritesTheFileAndReopeningContinuesIt) {
  drivers::WavRenderDevice device("wav", "\\orfeon\\sortie.wav", drivers::FindSoundFont());
  ASSERT_TRUE(device.Open());
  Send(device, 0xC1, 19, 0);  // organ
  Send(device, 0x91, 67, 100);
  device.Wait(50);
  Send(device, 0x81, 67, 0);
  device.Close();
  // The organ's release rings on after the timeline, then fades out.
  std::vector<int16_t> first = Written();
  size_t firstFrames = first.size() / 2;
  EXPECT_GT(firstFrames, 2205u);
  EXPECT_LE(firstFrames, 2205u + 3 * 44100u);
  EXPECT_EQ(device.Frames(), firstFrames);
  EXPECT_LT(Peak(first, firstFrames - 441, firstFrames), 33) << "the last 10 ms are below -60 dBFS";
  // Opened again: nothing is written before a note, then the recording goes on.
  ASSERT_TRUE(device.Open());
  device.Wait(50);
  device.Close();
  EXPECT_EQ(first, Written());
  ASSERT_TRUE(device.Open());
  Send(device, 0x91, 67, 100);
  device.Wait(50);
  Send(device, 0x81, 67, 0);
  device.Close();
  std::vector<int16_t> second = Written();
  ASSERT_GT(second.size(), first.size() + 2 * 4410u);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), second.begin()));
  EXPECT_EQ(0, Peak(second, firstFrames, firstFrames + 2205)) << "the silent opening";
  EXPECT_EQ(device.Frames(), second.size() / 2);
}

TEST_F(WavRender, OldRecordingStaysUntilTheCloseAndAFailedWriteIsReported) {
  WriteHostFile("\\orfeon\\sortie.wav", "previous recording");
  drivers::WavRenderDevice device("wav", "\\orfeon\\sortie.wav", drivers::FindSoundFont());
  ASSERT_TRUE(device.Open());
  device.Wait(100);
  Send(device, 0x91, 60, 100);
  device.Wait(100);
  EXPECT_EQ("previous recording", ReadHostFile("\\orfeon\\sortie.wav"));
  {
    ScopedFileSizeLimit full(4096);  // the disk fills up while it renders
    device.Wait(1000);
    device.Close();
  }
  EXPECT_EQ("previous recording", ReadHostFile("\\orfeon\\sortie.wav"));
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("impossible d'écrire", dialogs.boxes[0].caption);
  EXPECT_EQ("\\orfeon\\sortie.wav\nle fichier est trop grand", dialogs.boxes[0].text);
}

TEST_F(WavRender, WithoutSoundfontItCannotPlayButKeepsTime) {
  drivers::WavRenderDevice device("wav", "\\orfeon\\sortie.wav", "/nonexistent/gm.sf2");
  EXPECT_EQ(0, device.NoteCapacity());
  EXPECT_FALSE(device.Open());
  Send(device, 0x91, 60, 127);
  device.Wait(10);
  EXPECT_EQ(441u, Frames(device));
  device.Close();
  std::vector<int16_t> s = Written();
  EXPECT_EQ(441u * 2, s.size());
  EXPECT_EQ(0, Peak(s, 0, 441));
}

}  // namespace
