// pelmorix-publish: makes the vendor's patch signing key, and signs patches with it.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "tools/publish/key_files.h"
#include "tools/publish/patch_signing.h"
#include "tools/publish/publish_arguments.h"

int main(int argc, char** argv) {
  using namespace pelmorix;
  TPublishCommand command;
  if (!ParsePublishArguments(std::vector<std::string>(argv + 1, argv + argc), command)) {
    std::cerr << kPublishUsage;
    return 2;
  }
  try {
    if (command.Verb == "keygen") {
      WriteNewKeyPair(command.Folder);
    } else {
      SignPatch(command);
    }
  } catch (const std::exception& error) {
    // Messages of the file streams are Windows-1252 texts.
    std::cerr << "pelmorix-publish: " << Cp1252ToUtf8(error.what()) << "\n";
    return 1;
  }
  return 0;
}
