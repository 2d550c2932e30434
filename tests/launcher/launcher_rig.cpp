#include "tests/launcher/launcher_rig.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/registry/registry_types.h"

namespace pelmorix {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// No other processes and no windows: the takeover finds nothing to close.
TProcessServices EmptyDesktop() {
  TProcessServices services = TProcessServices::System();
  services.EnumWindows = [](WNDENUMPROC, LPARAM) -> BOOL { return 1; };
  return services;
}

}  // namespace

std::string ButtonRows(const std::string& row0) {
  std::string rows = row0;
  for (int row = 1; row <= 12; ++row) {
    rows += "\n" + std::to_string(row) + (row == 8 ? "|0|0|12" : "|0|0|0");
  }
  return rows;
}

TDemoServer::TDemoServer(const std::string& folder)
    : scenario_(folder + "/scenario"), log_(folder + "/requests.log") {
  std::filesystem::copy(PELMORIX_SOURCE_DIR "/tools/demo-server/scenario", scenario_,
                        std::filesystem::copy_options::recursive);
  const std::string portFile = folder + "/server.port";
  pid_ = fork();
  if (pid_ == 0) {
    execlp("python3", "python3", PELMORIX_SOURCE_DIR "/tools/demo-server/demo_server.py", "--port",
           "0", "--port-file", portFile.c_str(), "--scenario", scenario_.c_str(), "--log",
           log_.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 200 && port_ == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::string text = ReadFile(portFile);
    if (!text.empty()) port_ = std::stoi(text);
  }
  if (port_ == 0) throw std::runtime_error("the demo server did not start");
}

TDemoServer::~TDemoServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

void TDemoServer::Put(const std::string& name, const std::string& content) const {
  const std::filesystem::path path = scenario_ + "/" + name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> TDemoServer::Requests() const {
  std::vector<std::string> lines;
  std::stringstream log(ReadFile(log_));
  for (std::string line; std::getline(log, line);) {
    if (line.rfind("GET ", 0) == 0) line.erase(0, 4);
    const size_t version = line.rfind(" HTTP/");
    if (version != std::string::npos) line.erase(version);
    lines.push_back(line);
  }
  return lines;
}

size_t TDemoServer::RequestsContaining(const std::string& text) const {
  size_t count = 0;
  for (const auto& request : Requests()) count += request.find(text) != std::string::npos;
  return count;
}

TLauncherRig::TLauncherRig(std::vector<std::string> params, std::string exePath)
    : WorkFolder(Folder / "work"),
      Server(Folder.Path()),
      Registry(Folder / "registry"),
      Environment{Registry, Shell, std::move(params), std::move(exePath), ""} {
  std::filesystem::create_directories(WorkFolder);
  previousFolder_ = std::filesystem::current_path().string();
  std::filesystem::current_path(WorkFolder);
  Environment.ConfigServer = Server.Base();
  Environment.Processes = EmptyDesktop();
}

TLauncherRig::~TLauncherRig() {
  Browser.reset();
  Form.reset();
  Launcher.reset();
  Application.reset();
  std::filesystem::current_path(previousFolder_);
}

void TLauncherRig::AddInstallation(int id, const std::map<std::string, std::string>& values) {
  for (const auto& [name, value] : values) {
    const HKEY root = name == "tempdir" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::string subKey = "SOFTWARE\\velkora\\tarnovia\\" + std::to_string(id);
    HKEY key = 0;
    if (Registry.RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 nullptr) != ERROR_SUCCESS) {
      throw std::runtime_error("cannot create " + subKey);
    }
    Registry.RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
    Registry.RegCloseKey(key);
  }
}

void TLauncherRig::Start() {
  Application = std::make_unique<TApplication>(Ui, "Pelmorix");
  Launcher = std::make_unique<TLauncher>(Environment, PatchKeys);
  Form = std::make_unique<TForm1>(*Application, *Launcher);
  Browser = std::make_unique<TScriptedBrowser>(*Form->wb);
}

void TLauncherRig::Show() { Form->ShowWindow(); }

void TLauncherRig::LoadPage(const std::string& markup) {
  Browser->LoadPage(Browser->Navigations.empty() ? "about:blank" : Browser->Navigations.back(),
                    markup);
}

std::string TLauncherRig::InstalledVersion(int id) {
  State().Settings.SelectedInstallation = id;
  return State().Settings.ReadSetting("version");
}

}  // namespace pelmorix
