#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// What the command line asks for.
struct THttpGetArguments {
  int ConnectTimeout = 0;  // ms, 0: no limit
  int ReadTimeout = 0;     // ms, 0: no limit
  bool Text = false;       // each body through a text rather than straight into the output
  std::string OutputFile;  // empty: standard output
  std::string CACertFile;  // authorities to trust for https; empty: the system's trust store
  bool Insecure = false;   // https without any check of the server's certificate
  bool FollowRedirects = false;
  std::vector<std::string> Urls;
  bool Help = false;
};

// Reads the arguments after the program name. Gives false, with the reason in problem, for
// anything it does not understand.
bool ParseHttpGetArguments(const std::vector<std::string>& args, THttpGetArguments& parsed,
                           std::string& problem);

extern const char* const kHttpGetUsage;

}  // namespace pelmorix
