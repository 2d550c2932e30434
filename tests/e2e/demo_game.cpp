#include "tests/e2e/demo_game.h"

#include <chrono>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace pelmorix::e2e {
namespace {

const std::string kRecorder = PELMORIX_ARGV_RECORDER;

}  // namespace

TDemoGame TDemoGame::Create(int id, const std::string& folder) {
  TDemoGame game;
  game.Id = id;
  game.Folder = folder;
  game.Game = folder + "/game.exe";
  game.Uninstaller = folder + "/uninstall.exe";
  CopyProgram(kRecorder, game.Game);
  CopyProgram(kRecorder, game.Uninstaller);
  return game;
}

std::string TDemoGame::AddUnderscoreVariant() const {
  const std::string variant = Folder + "/game_.exe";
  CopyProgram(kRecorder, variant);
  return variant;
}

std::optional<TArgvRecord> TDemoGame::WaitForStart(const std::string& program, double seconds) {
  TArgvRecord record;
  const auto limit =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::duration<double>(seconds));
  if (!WaitForArgvRecord(program, record, limit)) return std::nullopt;
  return record;
}

bool TDemoGame::WasStarted(const std::string& program) {
  return std::filesystem::exists(program + ".record");
}

}  // namespace pelmorix::e2e
