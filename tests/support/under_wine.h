#pragma once

namespace pelmorix {

// True when the test runs as a Windows program under wine, whose system libraries can do less
// than Windows' own; always false on Linux.
bool RunsUnderWine();

}  // namespace pelmorix
