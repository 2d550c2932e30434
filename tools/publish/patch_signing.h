#pragma once

#include "tools/publish/publish_arguments.h"

namespace pelmorix {

// Writes the patch list of the command's files, its digests file and its signature (the list's
// file name with ".sha256" and ".sig" added), signed with the command's private key. Texts from
// the command line are UTF-8 and go into the list in Windows-1252, as the launcher reads it. A
// text holding "|" (which would split a field of the list) or a type holding a line break raises
// an Exception, and nothing is written.
void SignPatch(const TPublishCommand& command);

}  // namespace pelmorix
