#include "actions/devicecontrol.h"

#include <mmsystem.h>

#include "include/systemdlls.h"

namespace {

// winmm.dll is loaded with the first volume or disc tray command, not with the program.
template <typename Fn, typename... Args>
MMRESULT CallWinmm(const char* name, Args... args) {
  auto f = WinmmDll().Function<Fn>(name);
  return f ? f(args...) : MMSYSERR_NODRIVER;
}

const CLSID kClsidMMDeviceEnumerator = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID kIidMMDeviceEnumerator = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const IID kIidAudioEndpointVolume = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

struct MixerTraits {
  static HMIXER Invalid() { return nullptr; }
  static void Close(HMIXER h) { CallWinmm<decltype(&::mixerClose)>("mixerClose", h); }
};
using MixerHandle = UniqueHandle<HMIXER, MixerTraits>;

// Room for all 26 drive roots (four bytes each: letter, colon, backslash, terminator) and the end.
constexpr DWORD kDriveStringsBuffer = 128;

HMIXEROBJ AsObject(const MixerHandle& mixer) { return reinterpret_cast<HMIXEROBJ>(mixer.get()); }

// Opens mixer 0 and finds the control of `type` on its speakers line. The handle is passed as a
// handle (MIXER_OBJECTF_HMIXER) to every call, so none of them takes it for a device number.
bool OpenMixerControl(MixerControlType type, MixerHandle& mixer, MIXERCONTROLA& control) {
  HMIXER handle = nullptr;
  if (CallWinmm<decltype(&::mixerOpen)>("mixerOpen", &handle, 0, 0, 0, 0) != MMSYSERR_NOERROR || !handle)
    return false;
  mixer.reset(handle);

  MIXERLINEA line{};
  line.cbStruct = sizeof(line);
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  if (CallWinmm<decltype(&::mixerGetLineInfoA)>("mixerGetLineInfoA", AsObject(mixer), &line,
                                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
      MMSYSERR_NOERROR) {
    return false;
  }

  control = MIXERCONTROLA{};
  control.cbStruct = sizeof(control);
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof(controls);
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = type == MixerControlType::Volume ? MIXERCONTROL_CONTROLTYPE_VOLUME
                                                            : MIXERCONTROL_CONTROLTYPE_MUTE;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof(control);
  controls.pamxctrl = &control;
  return CallWinmm<decltype(&::mixerGetLineControlsA)>("mixerGetLineControlsA", AsObject(mixer), &controls,
                                                       MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
         MMSYSERR_NOERROR;
}

// One uniform channel with one 4-byte value: the volume is unsigned, the mute flag a boolean.
MIXERCONTROLDETAILS OneValueDetails(const MIXERCONTROLA& control, DWORD* value) {
  static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == sizeof(DWORD), "one 4-byte value");
  static_assert(sizeof(MIXERCONTROLDETAILS_BOOLEAN) == sizeof(DWORD), "one 4-byte value");
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof(details);
  details.dwControlID = control.dwControlID;
  details.cChannels = 1;
  details.cMultipleItems = 0;
  details.cbDetails = sizeof(DWORD);
  details.paDetails = value;
  return details;
}

}  // namespace

IMixerBackend::ReadResult CLegacyMixer::Read(MixerControlType type, uint32_t& value, uint32_t& maximum) {
  MixerHandle mixer;
  MIXERCONTROLA control{};
  if (!OpenMixerControl(type, mixer, control)) return ReadResult::Missing;
  DWORD raw = 0;
  MIXERCONTROLDETAILS details = OneValueDetails(control, &raw);
  if (CallWinmm<decltype(&::mixerGetControlDetailsA)>("mixerGetControlDetailsA", AsObject(mixer), &details,
                                                       MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR) {
    return ReadResult::Failed;
  }
  value = raw;
  maximum = control.Bounds.dwMaximum;
  return ReadResult::Ok;
}

void CLegacyMixer::Write(MixerControlType type, const std::function<uint32_t(uint32_t maximum)>& valueFor) {
  MixerHandle mixer;
  MIXERCONTROLA control{};
  if (!OpenMixerControl(type, mixer, control)) return;
  DWORD raw = valueFor(control.Bounds.dwMaximum);
  MIXERCONTROLDETAILS details = OneValueDetails(control, &raw);
  CallWinmm<decltype(&::mixerSetControlDetails)>("mixerSetControlDetails", AsObject(mixer), &details,
                                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

void CCoreAudioEndpoint::Connect() {
  if (m_endpoint) return;
  // Whatever CoInitialize says, COM is usable after it (or already was); the scope only undoes
  // a call that succeeded.
  if (!m_com) m_com = std::make_unique<ComScope>();
  if (FAILED(::CoCreateGuid(&m_context))) return;

  // Each reference is taken over only from a call that succeeded; a failed call may leave
  // anything in its out parameter.
  IMMDeviceEnumerator* enumerator = nullptr;
  if (FAILED(::CoCreateInstance(kClsidMMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, kIidMMDeviceEnumerator,
                                reinterpret_cast<void**>(&enumerator))) ||
      enumerator == nullptr) {
    return;
  }
  m_enumerator.reset(enumerator);

  IMMDevice* device = nullptr;
  if (FAILED(m_enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device)) || device == nullptr) return;
  m_device.reset(device);

  IAudioEndpointVolume* endpoint = nullptr;
  if (FAILED(m_device->Activate(kIidAudioEndpointVolume, CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&endpoint))) ||
      endpoint == nullptr) {
    return;
  }
  m_endpoint.reset(endpoint);
}

void CCoreAudioEndpoint::Release() {
  m_enumerator.reset();
  m_device.reset();
  m_endpoint.reset();
  m_com.reset();
}

bool CCoreAudioEndpoint::GetMute(bool& muted) {
  BOOL value = FALSE;
  if (!m_endpoint || FAILED(m_endpoint->GetMute(&value))) return false;
  muted = value != FALSE;
  return true;
}

void CCoreAudioEndpoint::SetMute(bool on) {
  if (m_endpoint) m_endpoint->SetMute(on ? TRUE : FALSE, &m_context);
}

bool CCoreAudioEndpoint::GetScalar(float& scalar) {
  float value = 0.0f;
  if (!m_endpoint || FAILED(m_endpoint->GetMasterVolumeLevelScalar(&value))) return false;
  scalar = value;
  return true;
}

void CCoreAudioEndpoint::SetScalar(float scalar) {
  if (m_endpoint) m_endpoint->SetMasterVolumeLevelScalar(scalar, &m_context);
}

CVolumeControl::CVolumeControl() : CVolumeControl(SystemVolumeMode()) {}

CVolumeControl::CVolumeControl(VolumeMode mode) : m_mode(mode) {
  if (m_mode == kVolumeModeCoreAudio60 || m_mode == kVolumeModeCoreAudio) m_endpoint.Connect();
}

VolumeMode CVolumeControl::SystemVolumeMode() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  bool known = ::GetVersionExA(&info) != FALSE;
  return VolumeModeForVersion(known, info.dwMajorVersion, info.dwMinorVersion);
}

bool CVolumeControl::IsMuted() { return Volume().IsMuted(); }
void CVolumeControl::SetMute(bool on) { Volume().SetMute(on); }
int CVolumeControl::GetVolume() { return Volume().GetVolume(); }
void CVolumeControl::SetVolume(int percent) { Volume().SetVolume(percent); }

void CVolumeControl::Release() {
  m_endpoint.Release();
  m_mode = kVolumeModeNone;
}

void SetDiscTrayDoor(const std::string& drive, bool open) {
  SendDiscTrayCommands(drive, open,
                       [](const std::string& command) { SendMciString(command); });
}

std::vector<std::string> ListCdromDrives() {
  std::string buffer(kDriveStringsBuffer, '\0');
  DWORD result = ::GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), &buffer[0]);
  return CdromDrivesFromRoots(DriveRootsFromBuffer(buffer.data(), buffer.size(), result),
                              [](const std::string& root) { return ::GetDriveTypeA(root.c_str()) == DRIVE_CDROM; });
}
