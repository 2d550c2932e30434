#include "tools/publish/publish_arguments.h"

#include <map>

namespace pelmorix {

const char kPublishUsage[] =
    "usage: pelmorix-publish keygen [FOLDER]\n"
    "       pelmorix-publish sign --key PRIVATE.pem --id ID --type TYPE --name NAME\n"
    "                             --version VERSION --url URL-PREFIX --out LIST\n"
    "                             FOLDER [FILE=TARGET ...]\n";

namespace {

bool ParseSign(const std::vector<std::string>& arguments, TPublishCommand& command) {
  const std::map<std::string, std::string*> options{
      {"--key", &command.KeyFile},          {"--id", &command.InstallationId},
      {"--type", &command.PatchType},       {"--name", &command.PatchName},
      {"--version", &command.PatchVersion}, {"--url", &command.UrlPrefix},
      {"--out", &command.ListFile}};
  std::map<std::string, bool> given;
  size_t i = 1;
  for (; i < arguments.size() && arguments[i].rfind("--", 0) == 0; i += 2) {
    const auto option = options.find(arguments[i]);
    if (option == options.end() || i + 1 >= arguments.size() || given[arguments[i]]) return false;
    given[arguments[i]] = true;
    *option->second = arguments[i + 1];
  }
  if (given.size() != options.size() || i >= arguments.size()) return false;
  command.Folder = arguments[i++];
  for (; i < arguments.size(); ++i) {
    const size_t equals = arguments[i].find('=');
    if (equals == 0 || equals == std::string::npos) return false;
    command.Files.push_back({arguments[i].substr(0, equals), arguments[i].substr(equals + 1)});
  }
  return true;
}

}  // namespace

bool ParsePublishArguments(const std::vector<std::string>& arguments, TPublishCommand& command) {
  if (arguments.empty()) return false;
  command.Verb = arguments[0];
  if (command.Verb == "keygen") {
    if (arguments.size() > 2) return false;
    if (arguments.size() == 2) command.Folder = arguments[1];
    return true;
  }
  return command.Verb == "sign" && ParseSign(arguments, command);
}

}  // namespace pelmorix
