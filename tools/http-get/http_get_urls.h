#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// Reads the URL arguments as curl does, before anything is sent: the first one without a
// scheme is taken as "http://" + the argument, and so is a later one unless it begins with "/",
// which stays relative to the URL before it. A scheme other than http and https is refused.
// Gives false, with the reason in problem, for a URL it refuses.
bool ResolveHttpGetUrls(std::vector<std::string>& urls, std::string& problem);

}  // namespace pelmorix
