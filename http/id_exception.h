#pragma once

#include "base/exception.h"

namespace pelmorix {

// The root of every error the HTTP client raises; each carries a fixed English message.
PELMORIX_DECLARE_EXCEPTION(EIdException, Exception);
// Errors that mark an expected end rather than a fault (the peer closing, for one).
PELMORIX_DECLARE_EXCEPTION(EIdSilentException, EIdException);

}  // namespace pelmorix
