#pragma once

#include <string>

namespace pelmorix {

// Texts inside the system are single-byte Windows-1252; the desktop and the browser speak UTF-8.

// Converts Windows-1252 to UTF-8. The five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) pass
// through as the control characters of the same number, as Windows does.
std::string Cp1252ToUtf8(const std::string& text);

// Converts UTF-8 to Windows-1252. A character without a Windows-1252 form, and every malformed
// sequence, becomes "?". German texts of the system are written as UTF-8 literals in the source
// and pass through here.
std::string Utf8ToCp1252(const std::string& text);

}  // namespace pelmorix
