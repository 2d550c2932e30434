#pragma once

#include <string>

#include "base/exception.h"

namespace pelmorix {

// Whether a text from the server is a web address, beginning with "http://" or "https://" in
// any case. Only such a text may reach the shell or the browser: a share path ("\\host\x.exe"),
// a local path or a "file:" address would run or open something on the user's machine, and a
// share would be sent the user's Windows credentials.
bool IsWebAddress(const std::string& text);

// A patch address of type "3" that is no web address; the patch run reports it.
PELMORIX_DECLARE_EXCEPTION(ENotAWebAddress, Exception);

}  // namespace pelmorix
