#pragma once

#include <optional>
#include <string>

#include "tests/support/argv_record.h"

namespace pelmorix::e2e {

// The programs of a demo installation: copies of the argv recorder as the game ("game.exe")
// and the uninstaller ("uninstall.exe"). Each one started leaves "<program>.record" with the
// working directory and the arguments it was started with.
struct TDemoGame {
  int Id = 0;
  std::string Folder;       // the installation's "folder" value
  std::string Game;         // Folder + "/game.exe"
  std::string Uninstaller;  // Folder + "/uninstall.exe"

  // Places the programs in the folder.
  static TDemoGame Create(int id, const std::string& folder);
  // Adds the "_.exe" variant of the game that command 6 prefers ("game_.exe").
  std::string AddUnderscoreVariant() const;

  // Waits until the program was started; how it was started, or nothing.
  static std::optional<TArgvRecord> WaitForStart(const std::string& program, double seconds = 30);
  // Whether the program has been started by now.
  static bool WasStarted(const std::string& program);
};

}  // namespace pelmorix::e2e
