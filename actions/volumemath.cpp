#include "actions/volumemath.h"

#include <cmath>

VolumeMode VolumeModeForVersion(bool versionKnown, unsigned long major, unsigned long minor) {
  if (!versionKnown) return kVolumeModeNone;
  if (major <= 5) return kVolumeModeMixer;
  if (major == 6 && minor == 0) return kVolumeModeCoreAudio60;
  return kVolumeModeCoreAudio;
}

int ClampPercent(long long percent) {
  if (percent < 0) return 0;
  if (percent > 100) return 100;
  return static_cast<int>(percent);
}

int MixerValueToPercent(uint32_t value, uint32_t maximum) {
  if (maximum == 0) return 0;
  // A driver may report a value above its own bound; the level still stays a percentage.
  double percent = std::trunc(static_cast<double>(value) * 100.0 / static_cast<double>(maximum) + 0.5);
  return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

uint32_t PercentToMixerValue(long long percent, uint32_t maximum) {
  return static_cast<uint32_t>(std::trunc(static_cast<double>(maximum) * ClampPercent(percent) / 100.0));
}

int ScalarToPercent(float scalar) {
  // NaN fails both tests and reads as 0; anything outside the range is cut to it.
  if (!(scalar > 0.0f)) return 0;
  if (scalar >= 1.0f) return 100;
  float product = scalar * 100.0f;
  return static_cast<int>(product + 0.5f);
}

float PercentToScalar(long long percent) { return static_cast<float>(ClampPercent(percent)) / 100.0f; }

bool ModeVolume::IsMuted() {
  if (m_mode == kVolumeModeMixer) {
    uint32_t value = 0;
    uint32_t maximum = 0;
    switch (m_mixer.Read(MixerControlType::Mute, value, maximum)) {
      case IMixerBackend::ReadResult::Missing: return false;
      // An unreadable mute control is taken as muted, so the next step tries to unmute it.
      case IMixerBackend::ReadResult::Failed: return true;
      case IMixerBackend::ReadResult::Ok: return value != 0;
    }
    return false;
  }
  if (UsesEndpoint() && m_endpoint.HasEndpoint()) {
    bool muted = false;
    return m_endpoint.GetMute(muted) && muted;
  }
  return false;
}

void ModeVolume::SetMute(bool on) {
  if (m_mode == kVolumeModeMixer) {
    m_mixer.Write(MixerControlType::Mute, [on](uint32_t) { return on ? 1u : 0u; });
  } else if (UsesEndpoint() && m_endpoint.HasEndpoint()) {
    m_endpoint.SetMute(on);
  }
}

int ModeVolume::GetVolume() {
  if (m_mode == kVolumeModeMixer) {
    uint32_t value = 0;
    uint32_t maximum = 0;
    if (m_mixer.Read(MixerControlType::Volume, value, maximum) != IMixerBackend::ReadResult::Ok) return 0;
    return MixerValueToPercent(value, maximum);
  }
  if (UsesEndpoint()) {
    float scalar = 0.0f;
    if (!m_endpoint.HasEndpoint() || !m_endpoint.GetScalar(scalar)) return 0;
    return ScalarToPercent(scalar);
  }
  return -1;
}

void ModeVolume::SetVolume(int percent) {
  if (m_mode == kVolumeModeMixer) {
    m_mixer.Write(MixerControlType::Volume,
                  [percent](uint32_t maximum) { return PercentToMixerValue(percent, maximum); });
  } else if (UsesEndpoint() && m_endpoint.HasEndpoint()) {
    m_endpoint.SetScalar(PercentToScalar(percent));
  }
}

VolumeStepResult VolumeStepUp(IVolumeControl& control, long long step) {
  if (control.IsMuted()) control.SetMute(false);
  int level = ClampPercent(ClampPercent(control.GetVolume()) + ClampPercent(step));
  control.SetVolume(level);
  return {level, false};
}

VolumeStepResult VolumeStepDown(IVolumeControl& control, long long step) {
  if (control.IsMuted()) control.SetMute(false);
  int current = control.GetVolume();
  bool muted = false;
  if (current == 0 && !control.IsMuted()) {
    control.SetMute(true);
    // Only a mute that took hold is announced as one; a device without a mute control stays "normal".
    muted = control.IsMuted();
  }
  // Steps beyond 100 go no further than 100 would, and cannot overflow the sum.
  int lowered = ClampPercent(current) - ClampPercent(step);
  int level = lowered > 0 ? lowered : 0;
  control.SetVolume(level);
  return {level, muted};
}
