#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "http/winsock_library.h"

namespace pelmorix {
namespace {

// The folders the program's own library lookups search (its run path among them). A loader
// call made through a sanitizer's interceptor would search the interceptor's instead.
std::vector<std::string> ProgramSearchPath() {
  std::vector<std::string> folders;
  void* program = dlopen(nullptr, RTLD_LAZY);
  if (program == nullptr) return folders;
  Dl_serinfo size;
  if (dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
    std::vector<char> storage(size.dls_size);
    auto* info = reinterpret_cast<Dl_serinfo*>(storage.data());
    if (dlinfo(program, RTLD_DI_SERINFOSIZE, info) == 0 &&
        dlinfo(program, RTLD_DI_SERINFO, info) == 0) {
      for (unsigned i = 0; i < info->dls_cnt; ++i) folders.push_back(info->dls_serpath[i].dls_name);
    }
  }
  dlclose(program);
  return folders;
}

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return "";
  const std::string program(path, static_cast<size_t>(length));
  return program.substr(0, program.rfind('/') + 1);
}

}  // namespace

// A bare file name is looked for beside the program, then through the program's run path; a
// name with a "/" is taken as it is.
void* OpenWinSockLibrary(const std::string& libraryFile) {
  if (libraryFile.find('/') == std::string::npos) {
    std::vector<std::string> folders = ProgramSearchPath();
    folders.insert(folders.begin(), ProgramFolder());
    for (const std::string& folder : folders) {
      const std::string candidate =
          folder + (folder.empty() || folder.back() == '/' ? "" : "/") + libraryFile;
      if (access(candidate.c_str(), F_OK) != 0) continue;
      if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    }
  }
  return dlopen(libraryFile.c_str(), RTLD_NOW | RTLD_LOCAL);
}

TLibraryProc WinSockLibraryFunction(void* library, const char* name) {
  return reinterpret_cast<TLibraryProc>(dlsym(library, name));
}

void CloseWinSockLibrary(void* library) { dlclose(library); }

std::string LoaderErrorText() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown loader error";
}

}  // namespace pelmorix
