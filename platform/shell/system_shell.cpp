#include "platform/shell/system_shell.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/path.h"
#include "base/text.h"
#include "platform/files/files.h"
#include "platform/shell/command_line.h"
#include "platform/shell/detached_start.h"

namespace pelmorix {
namespace {

std::string TextOf(const char* value) { return value != nullptr ? value : ""; }

std::string Unquoted(std::string file) {
  if (file.size() >= 2 && file.front() == '"' && file.back() == '"') {
    return file.substr(1, file.size() - 2);
  }
  if (!file.empty() && file.front() == '"') return file.substr(1);
  return file;
}

// A web address has a scheme of two or more letters before its colon; "C:\..." does not.
bool IsUrl(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i) {
    const char c = text[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(i > 0 && other)) return false;
  }
  return true;
}

bool IsExplorer(const std::string& file) {
  return SameText(file, "explorer") || SameText(file, "explorer.exe");
}

bool IsKnownVerb(const std::string& verb) {
  return verb.empty() || SameText(verb, "open") || SameText(verb, "explore") ||
         SameText(verb, "explorer");
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsExecutableFile(const std::string& path) {
  return FileExists(path) && access(path.c_str(), X_OK) == 0;
}

// The program's name on PATH, or empty.
std::string SearchPath(const std::string& name) {
  const char* path = getenv("PATH");
  const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    const size_t colon = folders.find(':', start);
    const std::string folder =
        folders.substr(start, colon == std::string::npos ? colon : colon - start);
    // An empty entry means the current directory.
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string::npos) return "";
    start = colon + 1;
  }
}

int AnswerOf(const TStartFailure& failure) {
  switch (failure.Step) {
    case TStartFailure::None:
      return SE_STARTED;
    case TStartFailure::Prepare:
      return failure.Error == ENOMEM ? SE_ERR_OOM : 0;
    case TStartFailure::ChangeFolder:
      return failure.Error == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_PNF;
    case TStartFailure::Execute:
      break;
  }
  switch (failure.Error) {
    case ENOENT:
      return SE_ERR_FNF;
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return SE_ERR_PNF;
    case ENOEXEC:
    case ELIBBAD:
      return ERROR_BAD_FORMAT;
    case ENOMEM:
    case E2BIG:
      return SE_ERR_OOM;
    case ETXTBSY:
      return SE_ERR_SHARE;
    default:
      return SE_ERR_ACCESSDENIED;
  }
}

}  // namespace

TSystemShell::TSystemShell() : TSystemShell(FolderOf(GetModuleFileName()), "xdg-open") {}

TSystemShell::TSystemShell(std::string programFolder, std::string urlOpener)
    : programFolder_(std::move(programFolder)), urlOpener_(std::move(urlOpener)) {}

int TSystemShell::ShellExecuteA(HWND, const char* operation, const char* file,
                                const char* parameters, const char* directory, int) {
  if (!IsKnownVerb(TextOf(operation))) return SE_ERR_NOASSOC;
  const std::string target = Unquoted(TextOf(file));
  const std::vector<std::string> arguments = SplitCommandLine(TextOf(parameters));
  const std::string workingFolder = NativePath(TextOf(directory));
  if (target.empty()) return SE_ERR_FNF;
  if (IsUrl(target)) return OpenWithUrlOpener(target, workingFolder);
  if (IsExplorer(target)) {
    if (arguments.empty()) return SE_ERR_NOASSOC;
    return OpenWithUrlOpener(IsUrl(arguments[0]) ? arguments[0] : NativePath(arguments[0]),
                             workingFolder);
  }
  const std::string path = NativePath(target);
  if (DirectoryExists(path)) return OpenWithUrlOpener(path, workingFolder);
  return StartProgram(path, arguments, workingFolder);
}

int TSystemShell::OpenWithUrlOpener(const std::string& target, const std::string& directory) const {
  const std::string opener =
      urlOpener_.find('/') != std::string::npos ? urlOpener_ : SearchPath(urlOpener_);
  if (opener.empty() || !IsExecutableFile(opener)) return SE_ERR_NOASSOC;
  if (!directory.empty() && !DirectoryExists(directory)) return SE_ERR_PNF;
  return AnswerOf(StartDetached(opener, {opener, target}, directory));
}

int TSystemShell::StartProgram(const std::string& file, const std::vector<std::string>& parameters,
                               const std::string& directory) const {
  std::string program;
  if (!FindProgram(file, program)) {
    const bool hasFolder = file.find('/') != std::string::npos;
    return hasFolder && !DirectoryExists(FolderOf(file)) ? SE_ERR_PNF : SE_ERR_FNF;
  }
  if (!directory.empty() && !DirectoryExists(directory)) return SE_ERR_PNF;
  std::vector<std::string> arguments{program};
  arguments.insert(arguments.end(), parameters.begin(), parameters.end());
  return AnswerOf(StartDetached(program, arguments, directory));
}

// The program as an absolute path, so that the working directory cannot change its meaning.
bool TSystemShell::FindProgram(const std::string& file, std::string& found) const {
  if (file.front() == '/') {
    found = file;
    return FileExists(found);
  }
  for (const std::string& folder : {GetCurrentDir(), programFolder_}) {
    if (!folder.empty() && FileExists(folder + "/" + file)) {
      found = folder + "/" + file;
      return true;
    }
  }
  if (file.find('/') != std::string::npos) return false;
  found = SearchPath(file);
  return !found.empty();
}

}  // namespace pelmorix
