#pragma once

#include <string>
#include <vector>

#include "platform/shell/shell.h"

namespace pelmorix {

// ShellExecuteA on this system. The Windows build calls the system's own; what follows is the
// Linux build's. The file text loses the double quotes around it and has "\"
// turned into "/". A relative program is looked up in the current directory, then in the
// program folder (the launcher's own), then, for a bare name, on PATH. The parameters are split
// by the Windows command-line rules (SplitCommandLine) and the program starts detached in the
// given working directory. Web addresses, folders, and "explorer" with an address or folder as
// its parameter go to the URL opener (xdg-open). The verb may be empty, "open", "explore" or
// "explorer"; the owner window and the show command have no effect here.
class TSystemShell : public TShell {
 public:
  TSystemShell();  // on Linux the folder of the running executable, and "xdg-open" from PATH
  // Linux only: the program folder and the URL opener given.
  TSystemShell(std::string programFolder, std::string urlOpener);

  int ShellExecuteA(HWND window, const char* operation, const char* file, const char* parameters,
                    const char* directory, int showCommand) override;

 private:
  int OpenWithUrlOpener(const std::string& target, const std::string& directory) const;
  int StartProgram(const std::string& file, const std::vector<std::string>& parameters,
                   const std::string& directory) const;
  bool FindProgram(const std::string& file, std::string& found) const;

  std::string programFolder_;
  std::string urlOpener_;
};

}  // namespace pelmorix
