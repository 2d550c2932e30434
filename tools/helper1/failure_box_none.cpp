#include "tools/helper1/failure_box.h"

namespace pelmorix {

// A build without the desktop toolkit has no message boxes; the caller has written the text to
// the error output.
void ShowFailureBox(const std::string&, int&, char**&) {}

}  // namespace pelmorix
