#pragma once

#include "http/id_exception.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EIdAlreadyConnected, EIdException);
// A port outside 1 to 65535, which the socket address would cut to 16 bits.
PELMORIX_DECLARE_EXCEPTION(EIdInvalidPort, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdConnectTimeout, EIdException);
// A connect that failed without a socket error number; the message is the failure's own.
PELMORIX_DECLARE_EXCEPTION(EIdConnectException, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdReadTimeout, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdNotConnected, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdClosedSocket, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdReadLnMaxLineLengthExceeded, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdNotEnoughDataInBuffer, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdNoDataToRead, EIdException);
// A transport setting that this client cannot carry out (a SOCKS proxy).
PELMORIX_DECLARE_EXCEPTION(EIdNotSupported, EIdException);

}  // namespace pelmorix
