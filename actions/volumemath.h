// Master volume as whole percentages: the conversions to and from the device's own units, the
// behaviour of each volume mode over a small device interface, and the VolumeUP / VolumeDOWN steps.
// Portable: no <windows.h>; the Win32 layer (devicecontrol) supplies the real devices.
#pragma once

#include <cstdint>
#include <functional>

// How the volume is reached, fixed from the system version when a control is made.
enum VolumeMode : int {
  kVolumeModeNone = 0,
  kVolumeModeMixer = 1,        // legacy mixer, before Windows 6.0
  kVolumeModeCoreAudio60 = 2,  // Core Audio on 6.0
  kVolumeModeCoreAudio = 3,    // Core Audio on later versions
};

// The mode for a system version; versionKnown false when the version could not be read.
VolumeMode VolumeModeForVersion(bool versionKnown, unsigned long major, unsigned long minor);

int ClampPercent(long long percent);

// A mixer control value 0..maximum as a percentage, rounded to the nearest; 0 for a control
// without range.
int MixerValueToPercent(uint32_t value, uint32_t maximum);
// A percentage (clamped to 0..100) as a mixer control value, rounded down.
uint32_t PercentToMixerValue(long long percent, uint32_t maximum);
// A Core Audio scalar 0.0..1.0 as a percentage. The product is formed in single precision before
// rounding, so 0.494 reads as 49 and 0.495 as 50.
int ScalarToPercent(float scalar);
// A percentage (clamped to 0..100) as a Core Audio scalar.
float PercentToScalar(long long percent);

// The four operations the executor needs, whatever the device behind them.
class IVolumeControl {
 public:
  virtual ~IVolumeControl() = default;
  virtual bool IsMuted() = 0;
  virtual void SetMute(bool on) = 0;
  virtual int GetVolume() = 0;  // percent; -1 when there is no way to reach a volume at all
  virtual void SetVolume(int percent) = 0;
};

enum class MixerControlType { Volume, Mute };

// One mixer control of the speakers line of mixer device 0. Each call opens and closes the mixer.
class IMixerBackend {
 public:
  enum class ReadResult {
    Missing,  // no mixer, no speakers line, or no control of that type
    Failed,   // the control exists but its value could not be read
    Ok,
  };
  virtual ~IMixerBackend() = default;
  virtual ReadResult Read(MixerControlType type, uint32_t& value, uint32_t& maximum) = 0;
  // Writes the value computed from the control's upper bound; does nothing when the control is missing.
  virtual void Write(MixerControlType type, const std::function<uint32_t(uint32_t maximum)>& valueFor) = 0;
};

// The default render endpoint's volume interface; a failed connection leaves no endpoint.
class IEndpointBackend {
 public:
  virtual ~IEndpointBackend() = default;
  virtual bool HasEndpoint() const = 0;
  virtual bool GetMute(bool& muted) = 0;
  virtual void SetMute(bool on) = 0;
  virtual bool GetScalar(float& scalar) = 0;
  virtual void SetScalar(float scalar) = 0;
};

// The volume control of one mode over the devices; it owns neither device.
class ModeVolume : public IVolumeControl {
 public:
  ModeVolume(VolumeMode mode, IMixerBackend& mixer, IEndpointBackend& endpoint)
      : m_mode(mode), m_mixer(mixer), m_endpoint(endpoint) {}
  VolumeMode mode() const { return m_mode; }

  bool IsMuted() override;
  void SetMute(bool on) override;
  int GetVolume() override;
  void SetVolume(int percent) override;

 private:
  bool UsesEndpoint() const { return m_mode == kVolumeModeCoreAudio60 || m_mode == kVolumeModeCoreAudio; }

  VolumeMode m_mode;
  IMixerBackend& m_mixer;
  IEndpointBackend& m_endpoint;
};

// What one VolumeUP or VolumeDOWN did: the new level, and whether this step muted the output.
struct VolumeStepResult {
  int level;
  bool muted;
};

// A muted output is unmuted first. A negative step (only a hand-edited, quoted one gets here) counts
// as no step, so VolumeUP never lowers the level and VolumeDOWN never raises it.
VolumeStepResult VolumeStepUp(IVolumeControl& control, long long step);
// At level 0 the step mutes the output instead of lowering it further.
VolumeStepResult VolumeStepDown(IVolumeControl& control, long long step);
