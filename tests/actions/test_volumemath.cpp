#include <doctest/doctest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "actions/volumemath.h"

namespace {

// A mixer with a volume and a mute control that keeps what is written and logs every access.
class FakeMixer : public IMixerBackend {
 public:
  uint32_t volume = 0;
  uint32_t maximum = 65535;
  uint32_t mute = 0;
  ReadResult volumeRead = ReadResult::Ok;
  ReadResult muteRead = ReadResult::Ok;
  std::vector<std::string> log;

  ReadResult Read(MixerControlType type, uint32_t& value, uint32_t& max) override {
    bool isVolume = type == MixerControlType::Volume;
    log.push_back(isVolume ? "read volume" : "read mute");
    ReadResult r = isVolume ? volumeRead : muteRead;
    if (r == ReadResult::Ok) {
      value = isVolume ? volume : mute;
      max = isVolume ? maximum : 1;
    }
    return r;
  }
  void Write(MixerControlType type, const std::function<uint32_t(uint32_t)>& valueFor) override {
    bool isVolume = type == MixerControlType::Volume;
    if ((isVolume ? volumeRead : muteRead) == ReadResult::Missing) return;
    uint32_t v = valueFor(isVolume ? maximum : 1);
    log.push_back((isVolume ? "write volume " : "write mute ") + std::to_string(v));
    (isVolume ? volume : mute) = v;
  }
};

class FakeEndpoint : public IEndpointBackend {
 public:
  bool present = true;
  bool muted = false;
  float scalar = 0.0f;
  bool readsFail = false;
  std::vector<std::string> log;

  bool HasEndpoint() const override { return present; }
  bool GetMute(bool& m) override {
    if (readsFail) return false;
    m = muted;
    return true;
  }
  void SetMute(bool on) override {
    log.push_back(on ? "mute on" : "mute off");
    muted = on;
  }
  bool GetScalar(float& s) override {
    if (readsFail) return false;
    s = scalar;
    return true;
  }
  void SetScalar(float s) override {
    log.push_back("scalar");
    scalar = s;
  }
};

// A whole-percent device for the step rules.
class FakeVolume : public IVolumeControl {
 public:
  int level = 50;
  bool muted = false;
  bool canMute = true;
  std::vector<std::string> log;

  bool IsMuted() override { return muted; }
  void SetMute(bool on) override {
    log.push_back(on ? "mute on" : "mute off");
    if (canMute) muted = on;
  }
  int GetVolume() override { return level; }
  void SetVolume(int p) override {
    log.push_back("set " + std::to_string(p));
    level = p;
  }
};

}  // namespace

TEST_CASE("volume mode from the system version") {
  CHECK(VolumeModeForVersion(false, 6, 1) == kVolumeModeNone);
  CHECK(VolumeModeForVersion(true, 5, 1) == kVolumeModeMixer);
  CHECK(VolumeModeForVersion(true, 4, 0) == kVolumeModeMixer);
  CHECK(VolumeModeForVersion(true, 6, 0) == kVolumeModeCoreAudio60);
  CHECK(VolumeModeForVersion(true, 6, 1) == kVolumeModeCoreAudio);
  CHECK(VolumeModeForVersion(true, 10, 0) == kVolumeModeCoreAudio);
}

TEST_CASE("mixer values and percentages") {
  CHECK(MixerValueToPercent(32768, 65535) == 50);
  CHECK(PercentToMixerValue(50, 65535) == 32767);
  CHECK(MixerValueToPercent(0, 65535) == 0);
  CHECK(MixerValueToPercent(65535, 65535) == 100);
  CHECK(MixerValueToPercent(327, 65535) == 0);   // 0.499 %
  CHECK(MixerValueToPercent(328, 65535) == 1);   // 0.5005 %
  CHECK(PercentToMixerValue(100, 65535) == 65535);
  CHECK(PercentToMixerValue(1, 65535) == 655);
  CHECK(PercentToMixerValue(33, 100) == 33);
  // A control without range, or a value past the bound, cannot give a level outside 0..100.
  CHECK(MixerValueToPercent(5, 0) == 0);
  CHECK(MixerValueToPercent(0xFFFFFFFF, 100) == 100);
  CHECK(PercentToMixerValue(100, 0xFFFFFFFF) == 0xFFFFFFFF);
  // Percentages outside 0..100 are clamped instead of wrapping round to a loud level.
  CHECK(PercentToMixerValue(-5, 65535) == 0);
  CHECK(PercentToMixerValue(120, 65535) == 65535);
  CHECK(PercentToMixerValue(std::numeric_limits<long long>::min(), 65535) == 0);
  for (int p = 0; p <= 100; ++p) {
    CAPTURE(p);
    CHECK(MixerValueToPercent(PercentToMixerValue(p, 65535), 65535) == p);
  }
}

TEST_CASE("Core Audio scalars and percentages") {
  CHECK(ScalarToPercent(0.494f) == 49);
  CHECK(ScalarToPercent(0.495f) == 50);
  CHECK(ScalarToPercent(0.0f) == 0);
  CHECK(ScalarToPercent(1.0f) == 100);
  CHECK(ScalarToPercent(0.004f) == 0);
  CHECK(ScalarToPercent(0.005f) == 1);
  CHECK(ScalarToPercent(-0.5f) == 0);
  CHECK(ScalarToPercent(7.0f) == 100);
  CHECK(ScalarToPercent(std::nanf("")) == 0);
  CHECK(ScalarToPercent(std::numeric_limits<float>::infinity()) == 100);
  CHECK(PercentToScalar(50) == doctest::Approx(0.5f));
  CHECK(PercentToScalar(120) == 1.0f);
  CHECK(PercentToScalar(-5) == 0.0f);
  for (int p = 0; p <= 100; ++p) {
    CAPTURE(p);
    CHECK(ScalarToPercent(PercentToScalar(p)) == p);
  }
}

TEST_CASE("mode 1 runs on the mixer") {
  FakeMixer mixer;
  FakeEndpoint endpoint;
  ModeVolume v(kVolumeModeMixer, mixer, endpoint);
  mixer.volume = 32768;
  CHECK(v.GetVolume() == 50);
  v.SetVolume(50);
  CHECK(mixer.volume == 32767);
  CHECK_FALSE(v.IsMuted());
  v.SetMute(true);
  CHECK(mixer.mute == 1);
  CHECK(v.IsMuted());
  v.SetMute(false);
  CHECK(mixer.mute == 0);
  v.SetVolume(120);
  CHECK(mixer.volume == 65535);
  CHECK(endpoint.log.empty());
}

TEST_CASE("mode 1 without mixer, line or control") {
  FakeMixer mixer;
  FakeEndpoint endpoint;
  ModeVolume v(kVolumeModeMixer, mixer, endpoint);
  mixer.volumeRead = IMixerBackend::ReadResult::Missing;
  mixer.muteRead = IMixerBackend::ReadResult::Missing;
  CHECK(v.GetVolume() == 0);
  CHECK_FALSE(v.IsMuted());
  v.SetVolume(30);
  v.SetMute(true);
  CHECK(mixer.volume == 0);
  CHECK(mixer.mute == 0);

  SUBCASE("a mute value that cannot be read counts as muted") {
    mixer.muteRead = IMixerBackend::ReadResult::Failed;
    CHECK(v.IsMuted());
  }
  SUBCASE("a volume value that cannot be read counts as 0") {
    mixer.volume = 65535;
    mixer.volumeRead = IMixerBackend::ReadResult::Failed;
    CHECK(v.GetVolume() == 0);
  }
}

TEST_CASE("modes 2 and 3 run on the endpoint") {
  for (VolumeMode mode : {kVolumeModeCoreAudio60, kVolumeModeCoreAudio}) {
    CAPTURE(static_cast<int>(mode));
    FakeMixer mixer;
    FakeEndpoint endpoint;
    ModeVolume v(mode, mixer, endpoint);
    endpoint.scalar = 0.495f;
    CHECK(v.GetVolume() == 50);
    v.SetVolume(120);
    CHECK(endpoint.scalar == 1.0f);
    v.SetVolume(-5);
    CHECK(endpoint.scalar == 0.0f);
    v.SetVolume(37);
    CHECK(v.GetVolume() == 37);
    v.SetMute(true);
    CHECK(v.IsMuted());
    CHECK(mixer.log.empty());

    endpoint.readsFail = true;
    CHECK_FALSE(v.IsMuted());
    CHECK(v.GetVolume() == 0);
  }
}

TEST_CASE("modes 2 and 3 without an endpoint") {
  FakeMixer mixer;
  FakeEndpoint endpoint;
  endpoint.present = false;
  endpoint.muted = true;
  endpoint.scalar = 0.8f;
  ModeVolume v(kVolumeModeCoreAudio, mixer, endpoint);
  CHECK_FALSE(v.IsMuted());
  CHECK(v.GetVolume() == 0);
  v.SetVolume(10);
  v.SetMute(false);
  CHECK(endpoint.log.empty());
}

TEST_CASE("mode 0 reaches nothing") {
  FakeMixer mixer;
  FakeEndpoint endpoint;
  ModeVolume v(kVolumeModeNone, mixer, endpoint);
  CHECK(v.GetVolume() == -1);
  CHECK_FALSE(v.IsMuted());
  v.SetVolume(10);
  v.SetMute(true);
  CHECK(mixer.log.empty());
  CHECK(endpoint.log.empty());
}

TEST_CASE("VolumeUP steps") {
  FakeVolume v;
  SUBCASE("capped at 100") {
    v.level = 95;
    CHECK(VolumeStepUp(v, 10).level == 100);
    VolumeStepResult again = VolumeStepUp(v, 10);
    CHECK(again.level == 100);
    CHECK_FALSE(again.muted);
    CHECK(v.log == std::vector<std::string>{"set 100", "set 100"});
  }
  SUBCASE("a muted output is unmuted first") {
    v.level = 0;
    v.muted = true;
    VolumeStepResult r = VolumeStepUp(v, 10);
    CHECK(r.level == 10);
    CHECK_FALSE(v.muted);
    CHECK(v.log == std::vector<std::string>{"mute off", "set 10"});
  }
  SUBCASE("absurd and negative steps, up and down") {
    v.level = 40;
    CHECK(VolumeStepUp(v, std::numeric_limits<long long>::max()).level == 100);
    CHECK(VolumeStepDown(v, std::numeric_limits<long long>::max()).level == 0);
    v.level = 40;
    for (long long step : {-10LL, std::numeric_limits<long long>::min()}) {
      CHECK(VolumeStepUp(v, step).level == 40);
      CHECK(VolumeStepDown(v, step).level == 40);
    }
  }
  SUBCASE("no device at all") {
    v.level = -1;
    CHECK(VolumeStepUp(v, 10).level == 10);
  }
}

TEST_CASE("VolumeDOWN steps") {
  FakeVolume v;
  SUBCASE("down to 0 without muting") {
    v.level = 5;
    VolumeStepResult r = VolumeStepDown(v, 10);
    CHECK(r.level == 0);
    CHECK_FALSE(r.muted);
    CHECK_FALSE(v.muted);
  }
  SUBCASE("at 0 it mutes, and the next VolumeUP unmutes") {
    v.level = 0;
    VolumeStepResult r = VolumeStepDown(v, 10);
    CHECK(r.level == 0);
    CHECK(r.muted);
    CHECK(v.muted);
    CHECK(v.log == std::vector<std::string>{"mute on", "set 0"});
    VolumeStepResult up = VolumeStepUp(v, 10);
    CHECK(up.level == 10);
    CHECK_FALSE(v.muted);
  }
  SUBCASE("a muted output at 40 is unmuted and lowered") {
    v.level = 40;
    v.muted = true;
    VolumeStepResult r = VolumeStepDown(v, 10);
    CHECK(r.level == 30);
    CHECK_FALSE(r.muted);
    CHECK_FALSE(v.muted);
  }
  SUBCASE("a muted output at 0 is unmuted and muted again") {
    v.level = 0;
    v.muted = true;
    VolumeStepResult r = VolumeStepDown(v, 10);
    CHECK(r.muted);
    CHECK(v.log == std::vector<std::string>{"mute off", "mute on", "set 0"});
  }
  SUBCASE("a mute that does not take hold is not announced") {
    v.level = 0;
    v.canMute = false;
    CHECK_FALSE(VolumeStepDown(v, 10).muted);
  }
  SUBCASE("a level read beyond 100 is lowered from 100") {
    v.level = 250;
    CHECK(VolumeStepDown(v, 10).level == 90);
  }
}
