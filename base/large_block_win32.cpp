#include "base/large_block.h"

namespace pelmorix {

// Windows gives large pages only to memory allocated as such by a process holding the lock
// pages privilege; memory already allocated cannot be advised.
void AdviseLargePages(void*, size_t) {}

// Nothing to do on Windows: it takes fresh pages from a list that it clears in the background.
void TPrefault::Start(void*, size_t) {}

}  // namespace pelmorix
