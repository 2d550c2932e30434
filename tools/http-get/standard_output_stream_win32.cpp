#include "tools/http-get/standard_output_stream.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace pelmorix {

TStandardOutputStream::TStandardOutputStream() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace pelmorix
