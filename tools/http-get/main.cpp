#include <iostream>
#include <string>
#include <vector>

#include "tools/http-get/http_get.h"
#include "tools/http-get/http_get_arguments.h"

int main(int argc, char** argv) {
  using namespace pelmorix;
  THttpGetArguments arguments;
  std::string problem;
  if (!ParseHttpGetArguments(std::vector<std::string>(argv + 1, argv + argc), arguments, problem)) {
    std::cerr << "http-get: " << problem << "\n\n" << kHttpGetUsage;
    return 2;
  }
  if (arguments.Help) {
    std::cout << kHttpGetUsage;
    return 0;
  }
  return RunHttpGet(arguments, std::cerr);
}
