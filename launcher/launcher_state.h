#pragma once

#include <string>
#include <utility>
#include <vector>

#include "launcher/button_table.h"
#include "launcher/inet.h"
#include "launcher/installation_settings.h"
#include "launcher/jpeg_image.h"
#include "launcher/launcher_environment.h"
#include "launcher/patch_signature.h"
#include "platform/ui/bitmap.h"

namespace pelmorix {

// The module-wide values of the form unit, from unit start-up to shut-down.
struct TLauncherState {
  TLauncherState(TRegistryApi& registry, std::vector<std::string> patchKeys)
      : Settings(registry), PatchSignature(std::move(patchKeys)) {}

  // InstallationId, SelectedInstallation, InstallationIdText and the registry reads.
  TInstallationSettings Settings;
  // The server list's reply, kept exactly; prefix of every "index.php" request.
  std::string ServerBase;
  // Run-once guard of the start-up.
  bool StartupPending = true;
  // Set by the cancel button, read and cleared by the patch run.
  bool CancelRequested = false;
  TButtonTable ButtonTable;
  bool FirstNoticeShown = false;
  bool SecondNoticeShown = false;
  // Every button picture passes through these two.
  TBitmap ButtonBitmap;
  TJPEGImage ButtonJpeg;
  // The keys whose patches this launcher installs; with none, patches go unchecked.
  TPatchSignature PatchSignature;
};

// A whole launcher short of its window: the environment it was given, the network unit and the
// form unit's state, created in the order of the unit start-ups.
class TLauncher {
 public:
  // patchKeys: the public keys (PEM texts) of the patch signatures it trusts.
  TLauncher(const TLauncherEnvironment& environment, std::vector<std::string> patchKeys)
      : Environment(environment),
        Inet(environment.ConfigServer),
        State(environment.Registry, std::move(patchKeys)) {}
  // The form unit's shut-down empties these two before the network unit goes.
  ~TLauncher() {
    State.ServerBase.clear();
    State.Settings.InstallationIdText.clear();
  }
  TLauncher(const TLauncher&) = delete;
  TLauncher& operator=(const TLauncher&) = delete;

  TLauncherEnvironment Environment;
  TInet Inet;
  TLauncherState State;
};

}  // namespace pelmorix
