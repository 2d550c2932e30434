#pragma once

#include <iosfwd>

#include "tools/http-get/http_get_arguments.h"

namespace pelmorix {

// Fetches the URLs in order on one client into the output. Gives the exit status: 0 when all
// were fetched, 1 after the first failure, whose line it writes to errors.
int RunHttpGet(const THttpGetArguments& arguments, std::ostream& errors);

}  // namespace pelmorix
