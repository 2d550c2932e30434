#include "tools/http-get/standard_output_stream.h"

namespace pelmorix {

// POSIX writes every byte as it is.
TStandardOutputStream::TStandardOutputStream() = default;

}  // namespace pelmorix
