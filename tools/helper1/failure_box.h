#pragma once

#include <string>

namespace pelmorix {

// Shows a Helper1 failure to the user in a modal message box and waits until it is answered.
// Helper1 runs after the launcher has closed, so nobody would see its error output; where no
// desktop can be opened, the error output is all there is and nothing is shown.
void ShowFailureBox(const std::string& text, int& argc, char**& argv);

}  // namespace pelmorix
