#pragma once

#include <map>
#include <string>

#include "launcher/patch_list.h"

namespace pelmorix {

// The SHA-256 (32 bytes) of each file of a patch, by the file name the patch list gives it.
using TPatchDigests = std::map<std::string, std::string>;

// Reads a digests file: one line per file, 64 hexadecimal digits, a space, a space or "*", and
// the file name as the patch list writes it, each line ended by a line feed (the last one may
// lack it) - the form sha256sum writes. A malformed line, or one name given two different
// digests, raises "Die Signatur des Updates ist ungültig": the vendor signed nothing usable.
TPatchDigests ParsePatchDigests(const std::string& text);

// The digests file of the files (name to 32-byte digest), sorted by name, in the form
// ParsePatchDigests reads.
std::string FormatPatchDigests(const std::map<std::string, std::string>& digests);

// The file name a patch list gives a file: its download path without "temp\".
std::string PatchFileName(const PatchFile& file);

// The SHA-256 (32 bytes) of the file at path, read piece by piece.
std::string FileSha256(const std::string& path);

// Compares the SHA-256 of the file at path (a download path) with the signed digest of the list's
// fileName; a difference raises "Die Datei <fileName> ist beschädigt".
void CheckPatchFile(const TPatchDigests& digests, const std::string& fileName,
                    const std::string& path);

// "Die Signatur des Updates ist ungültig", the one message of every signature failure.
[[noreturn]] void ThrowInvalidPatchSignature();

}  // namespace pelmorix
