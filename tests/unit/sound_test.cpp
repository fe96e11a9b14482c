#include <unistd.h>

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
  static size_t Frames(const drivers::WavRenderDevice& d) { return d.Samples().size() / 2; }
  static size_t FirstSound(const drivers::WavRenderDevice& d) {
    const std::vector<int16_t>& s = d.Samples();
    for (size_t i = 0; i < s.size(); ++i)
      if (s[i] != 0) return i / 2;
    return s.size() / 2;
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
  size_t onset = FirstSound(device);
  EXPECT_GE(onset, 4410u);
  EXPECT_LT(onset, 4410u + 88u);  // within 2 ms
  // Once the release and the reverberation have died out the rest is exact
  // silence: no dither, no noise.
  const std::vector<int16_t>& s = device.Samples();
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
  drivers::PcmSound written;
  ASSERT_TRUE(drivers::ReadSoundFile(HostPath("\\orfeon\\sortie.wav"), &written));
  EXPECT_EQ(2, written.channels);
  EXPECT_EQ(44100, written.rate);
  EXPECT_EQ(2205u * 2, written.samples.size());
  ASSERT_TRUE(device.Open());
  device.Wait(50);
  device.Close();
  ASSERT_TRUE(drivers::ReadSoundFile(HostPath("\\orfeon\\sortie.wav"), &written));
  EXPECT_EQ(device.Samples(), written.samples);
  EXPECT_EQ(4410u * 2, written.samples.size());
}

TEST_F(WavRender, WithoutSoundfontItCannotPlayButKeepsTime) {
  drivers::WavRenderDevice device("wav", "\\orfeon\\sortie.wav", "/nonexistent/gm.sf2");
  EXPECT_EQ(0, device.NoteCapacity());
  EXPECT_FALSE(device.Open());
  Send(device, 0x91, 60, 127);
  device.Wait(10);
  EXPECT_EQ(441u, Frames(device));
  EXPECT_EQ(Frames(device), FirstSound(device));
}

}  // namespace
