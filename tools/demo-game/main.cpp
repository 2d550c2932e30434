// The demo game a vendor's setup installs beside the launcher: it shows that it was started, in
// which working folder and with which parameters, in a box, and leaves the same lines in
// "gestartet.txt" beside itself, so a person or a test can see how the launcher started it.
// Under Program Files a standard user may not write there; the box still shows.
#include <string>

#include "base/exception.h"
#include "base/stream.h"
#include "platform/environment/command_line_text.h"
#include "platform/files/files.h"
#include "platform/files/replace_file.h"
#include "tools/demo-game/start_box.h"

namespace {

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Written under another name and renamed whole, so a reader never sees half of it.
void WriteStartRecord(const std::string& text) {
  const std::string record = FolderOf(pelmorix::GetModuleFileName()) + "\\gestartet.txt";
  try {
    {
      pelmorix::TFileStream file(record + ".part", pelmorix::fmCreate);
      file.Write(text.data(), static_cast<int64_t>(text.size()));
    }
    pelmorix::MoveFileReplacing(record + ".part", record);
  } catch (const pelmorix::Exception&) {
    pelmorix::DeleteFile(record + ".part");
  }
}

}  // namespace

int main() {
  const std::string text = "Arbeitsordner: " + pelmorix::GetCurrentDir() +
                           "\r\nParameter: " + pelmorix::CommandLineParameters() + "\r\n";
  WriteStartRecord(text);
  pelmorix::ShowStartBox("Das Demospiel wurde gestartet.\r\n\r\n" + text);
  return 0;
}
