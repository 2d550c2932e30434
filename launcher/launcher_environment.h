#pragma once

#include <string>
#include <vector>

#include "launcher/process_services.h"
#include "platform/registry/registry_api.h"
#include "platform/shell/shell.h"

namespace pelmorix {

// What the launcher is given by the program entry: the platform services it calls, its command
// line and where it runs. Tests build one with a registry folder of their own, a recording shell
// and a made-up desktop.
struct TLauncherEnvironment {
  TRegistryApi& Registry;
  TShell& Shell;
  // The command-line parameters after the program name; ParamStr(1) is Params[0].
  std::vector<std::string> Params;
  // The full path of the running executable.
  std::string ExePath;
  // Scheme, host and optional port of the fixed configuration server, without a closing "/".
  std::string ConfigServer;
  TProcessServices Processes = TProcessServices::System();

  // Parameter n (from 1), empty when absent.
  std::string ParamStr(size_t n) const { return n >= 1 && n <= Params.size() ? Params[n - 1] : ""; }
};

}  // namespace pelmorix
