// The master volume of the default playback device, and the CD-ROM drive trays. Every operation
// fails silently: without a device the neutral value comes back and nothing changes.
#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <memory>
#include <string>
#include <vector>

#include "actions/disctray.h"
#include "actions/volumemath.h"
#include "include/handles.h"

// Control values of the speakers line of mixer device 0, the mixer opened and closed per call.
class CLegacyMixer : public IMixerBackend {
 public:
  ReadResult Read(MixerControlType type, uint32_t& value, uint32_t& maximum) override;
  void Write(MixerControlType type, const std::function<uint32_t(uint32_t maximum)>& valueFor) override;
};

// The volume interface of the default render endpoint, held from Connect to Release.
class CCoreAudioEndpoint : public IEndpointBackend {
 public:
  CCoreAudioEndpoint() = default;
  CCoreAudioEndpoint(const CCoreAudioEndpoint&) = delete;
  CCoreAudioEndpoint& operator=(const CCoreAudioEndpoint&) = delete;
  ~CCoreAudioEndpoint() override { Release(); }

  // Initialises COM on this thread and connects; a failed step leaves the later interfaces empty.
  void Connect();
  // Releases the enumerator, the device and the endpoint volume, then COM. Safe to call again.
  void Release();

  bool HasEndpoint() const override { return static_cast<bool>(m_endpoint); }
  bool GetMute(bool& muted) override;
  void SetMute(bool on) override;
  bool GetScalar(float& scalar) override;
  void SetScalar(float scalar) override;

 private:
  std::unique_ptr<ComScope> m_com;
  GUID m_context{};  // marks our own changes in the notifications other programs get
  ComPtr<IMMDeviceEnumerator> m_enumerator;
  ComPtr<IMMDevice> m_device;
  ComPtr<IAudioEndpointVolume> m_endpoint;
};

// One volume action's view of the master volume; made and released per action.
class CVolumeControl : public IVolumeControl {
 public:
  // The mode this system calls for.
  CVolumeControl();
  // A given mode, so each one can be exercised on any system.
  explicit CVolumeControl(VolumeMode mode);
  CVolumeControl(const CVolumeControl&) = delete;
  CVolumeControl& operator=(const CVolumeControl&) = delete;
  ~CVolumeControl() override { Release(); }

  static VolumeMode SystemVolumeMode();

  VolumeMode mode() const { return m_mode; }
  bool HasEndpoint() const { return m_endpoint.HasEndpoint(); }

  bool IsMuted() override;
  void SetMute(bool on) override;
  int GetVolume() override;  // -1 in mode 0
  void SetVolume(int percent) override;

  // Lets go of Core Audio and falls back to mode 0; later calls have no effect.
  void Release();

 private:
  ModeVolume Volume() { return ModeVolume(m_mode, m_mixer, m_endpoint); }

  VolumeMode m_mode;
  CLegacyMixer m_mixer;
  CCoreAudioEndpoint m_endpoint;
};

// Opens (open true) or closes the tray of a drive given as "D:".
void SetDiscTrayDoor(const std::string& drive, bool open);

// The CD-ROM drives ("D:"), in the order the system lists the drives.
std::vector<std::string> ListCdromDrives();
