#include "tests/support/under_wine.h"

namespace pelmorix {

bool RunsUnderWine() { return false; }

}  // namespace pelmorix
