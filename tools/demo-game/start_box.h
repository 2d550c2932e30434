#pragma once

#include <string>

namespace pelmorix {

// Shows the text in the system's modal box and returns once the user answers it. Kept apart
// from the file routines: the system's headers rename those by macro.
void ShowStartBox(const std::string& text);

}  // namespace pelmorix
