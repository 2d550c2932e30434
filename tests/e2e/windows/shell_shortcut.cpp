#include "tests/e2e/windows/shell_shortcut.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h.
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <stdexcept>

namespace pelmorix::e2e {
namespace {

template <typename T>
struct TReleasing {
  T* Object = nullptr;
  ~TReleasing() {
    if (Object != nullptr) Object->Release();
  }
};

std::string Folder(int id) {
  char path[MAX_PATH] = {};
  if (::SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
    throw std::runtime_error("the shell names no folder " + std::to_string(id));
  }
  return path;
}

bool ReadThroughShellLink(const std::wstring& path, TShellShortcut& shortcut) {
  TReleasing<IShellLinkA> link;
  TReleasing<IPersistFile> file;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.Object))) ||
      FAILED(
          link.Object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.Object))) ||
      FAILED(file.Object->Load(path.c_str(), STGM_READ))) {
    return false;
  }
  char text[MAX_PATH * 2] = {};
  if (FAILED(link.Object->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) return false;
  shortcut.Program = text;
  if (FAILED(link.Object->GetArguments(text, sizeof text))) return false;
  shortcut.Arguments = text;
  if (FAILED(link.Object->GetWorkingDirectory(text, sizeof text))) return false;
  shortcut.WorkingDirectory = text;
  return true;
}

}  // namespace

std::optional<TShellShortcut> ReadShellShortcut(const std::string& path) {
  std::wstring wide(path.size() + 1, L'\0');
  wide.resize(::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(),
                                    static_cast<int>(wide.size())));
  const HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TShellShortcut shortcut;
  const bool read = ReadThroughShellLink(wide, shortcut);
  if (SUCCEEDED(started)) ::CoUninitialize();
  if (!read) return std::nullopt;
  return shortcut;
}

std::string CommonProgramsFolder() { return Folder(CSIDL_COMMON_PROGRAMS); }

std::string ProgramFilesFolder() { return Folder(CSIDL_PROGRAM_FILES); }

}  // namespace pelmorix::e2e
