#pragma once

#include <string>
#include <vector>

namespace pelmorix {

struct TPublishFile {
  std::string Name;    // in the folder, and as the list names it
  std::string Target;  // where the launcher puts it
};

// pelmorix-publish keygen [FOLDER]
// pelmorix-publish sign --key PRIVATE.pem --id ID --type TYPE --name NAME --version VERSION
//                       --url URL-PREFIX --out LIST FOLDER [FILE=TARGET ...]
struct TPublishCommand {
  std::string Verb;  // "keygen" or "sign"
  std::string Folder = ".";
  std::string KeyFile;
  std::string InstallationId;
  std::string PatchType;
  std::string PatchName;
  std::string PatchVersion;
  std::string UrlPrefix;
  std::string ListFile;
  std::vector<TPublishFile> Files;
};

// Reads the arguments after the program name; false for anything else than the forms above.
bool ParsePublishArguments(const std::vector<std::string>& arguments, TPublishCommand& command);

extern const char kPublishUsage[];

}  // namespace pelmorix
