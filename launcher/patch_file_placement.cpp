#include "launcher/patch_file_placement.h"

#include "platform/files/files.h"
#include "platform/files/full_path.h"

namespace pelmorix {
namespace {

// The folder part of a full path; empty when there is none.
std::string FolderOf(const std::string& fullPath) {
  const size_t separator = fullPath.find_last_of("/\\");
  return separator == std::string::npos ? "" : fullPath.substr(0, separator + 1);
}

}  // namespace

TPlacement PlacePatchFile(const std::string& download, const std::string& target,
                          const std::string& ownProgram) {
  if (FileExists(target)) DeleteFile(target);
  if (RenameFile(download, target)) return TPlacement::Placed;
  if (target.empty() || !FileExists(download)) return TPlacement::Skipped;
  const std::string fullTarget = ResolvedFullPath(target);
  // A file that is deleted while another program holds it open may keep its name until that
  // program lets go, so the folder rather than the name tells a held target from a missing
  // folder.
  if (!DirectoryExists(FolderOf(fullTarget))) return TPlacement::Skipped;
  if (fullTarget == ResolvedFullPath(ownProgram)) return TPlacement::Skipped;
  return TPlacement::Held;
}

}  // namespace pelmorix
