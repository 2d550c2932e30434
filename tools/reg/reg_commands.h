#pragma once

#include <iosfwd>

#include "tools/reg/reg_arguments.h"

namespace pelmorix {

// Runs one command on the registry folder and answers the exit code: 0 on success, 1 on any
// failure. Messages and listings go to out and err in the Windows tool's wording; questions
// (overwrite, delete) are answered from in.
int RunRegCommand(const TRegCommand& command, const std::string& registryFolder, std::istream& in,
                  std::ostream& out, std::ostream& err);

}  // namespace pelmorix
