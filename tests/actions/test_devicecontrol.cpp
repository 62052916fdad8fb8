// The real volume and disc tray paths. The test session gives Wine a null sound device, so the
// legacy mixer and a Core Audio endpoint exist; it has no CD-ROM drive.
#include <doctest/doctest.h>

#include <windows.h>
#include <mmsystem.h>

#include "actions/devicecontrol.h"
#include "include/handles.h"

namespace {

// True when MCI still knows the alias the tray commands use, i.e. they left it open.
bool MciAliasOpen() {
  std::string status(64, '\0');
  return ::mciSendStringA("status mycd mode", &status[0], static_cast<UINT>(status.size()), nullptr) == 0;
}

}  // namespace

TEST_CASE("the system's volume mode") {
  // Wine reports Windows 6.1.
  CHECK(CVolumeControl::SystemVolumeMode() == kVolumeModeCoreAudio);
  CVolumeControl volume;
  CHECK(volume.mode() == kVolumeModeCoreAudio);
}

TEST_CASE("legacy mixer: volume and mute read back") {
  REQUIRE(::mixerGetNumDevs() > 0);
  CVolumeControl volume(kVolumeModeMixer);
  CHECK_FALSE(volume.HasEndpoint());

  volume.SetVolume(30);
  CHECK(volume.GetVolume() == 30);
  volume.SetVolume(100);
  CHECK(volume.GetVolume() == 100);
  volume.SetVolume(0);
  CHECK(volume.GetVolume() == 0);
  volume.SetVolume(120);  // clamped, not wrapped
  CHECK(volume.GetVolume() == 100);
  volume.SetVolume(-5);
  CHECK(volume.GetVolume() == 0);

  volume.SetMute(true);
  CHECK(volume.IsMuted());
  volume.SetMute(false);
  CHECK_FALSE(volume.IsMuted());

  // The volume lines' steps on the real line: down at 0 mutes it, up unmutes and raises it.
  CHECK(VolumeStepDown(volume, 10).muted);
  CHECK(volume.IsMuted());
  CHECK(VolumeStepUp(volume, 10).level == 10);
  CHECK_FALSE(volume.IsMuted());
  CHECK(volume.GetVolume() == 10);
}

TEST_CASE("legacy mixer: raw values") {
  CLegacyMixer mixer;
  mixer.Write(MixerControlType::Volume, [](uint32_t maximum) { return maximum / 2 + 1; });
  uint32_t value = 0;
  uint32_t maximum = 0;
  REQUIRE(mixer.Read(MixerControlType::Volume, value, maximum) == IMixerBackend::ReadResult::Ok);
  CHECK(maximum == 65535);
  CHECK(value == 32768);
  CHECK(MixerValueToPercent(value, maximum) == 50);
}

TEST_CASE("Core Audio: the endpoint is found and released") {
  CVolumeControl volume(kVolumeModeCoreAudio);
  REQUIRE(volume.HasEndpoint());
  int level = volume.GetVolume();
  CHECK(level >= 0);
  CHECK(level <= 100);
  volume.SetVolume(level);  // a failing call (Wine lacks the scalar setter) must pass silently
  volume.SetMute(true);
  CHECK(volume.IsMuted());
  volume.SetMute(false);
  CHECK_FALSE(volume.IsMuted());

  volume.Release();
  CHECK(volume.mode() == kVolumeModeNone);
  CHECK_FALSE(volume.HasEndpoint());
  CHECK(volume.GetVolume() == -1);
  CHECK_FALSE(volume.IsMuted());
  volume.Release();  // a second release has nothing left to let go of
}

TEST_CASE("Core Audio: COM stays usable after a control is released") {
  ComScope com;
  {
    CVolumeControl volume(kVolumeModeCoreAudio60);
    CHECK(volume.HasEndpoint());
  }
  // The control's CoUninitialize matched its own CoInitialize: this thread's COM is still there.
  GUID guid{};
  CHECK(SUCCEEDED(::CoCreateGuid(&guid)));
  IUnknown* unknown = nullptr;
  const CLSID enumeratorClass = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
  HRESULT hr = ::CoCreateInstance(enumeratorClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown));
  CHECK(SUCCEEDED(hr));
  ComPtr<IUnknown> owner;
  if (SUCCEEDED(hr)) owner.reset(unknown);
}

TEST_CASE("mode 0 does nothing") {
  CVolumeControl volume(kVolumeModeNone);
  CHECK(volume.GetVolume() == -1);
  CHECK_FALSE(volume.IsMuted());
  volume.SetVolume(50);
  volume.SetMute(true);
  CHECK_FALSE(volume.HasEndpoint());
}

TEST_CASE("no CD-ROM drive: empty list, and the tray commands fail silently") {
  CHECK(ListCdromDrives().empty());
  SetDiscTrayDoor("D:", true);
  SetDiscTrayDoor("D:", false);
  SetDiscTrayDoor("", true);
  SetDiscTrayDoor("not a drive at all", false);
  SetDiscTrayDoor(std::string(5000, 'Z'), true);
  CHECK_FALSE(MciAliasOpen());
}
