#pragma once

#include <functional>
#include <string>

#include "platform/registry/registry_hive.h"

namespace pelmorix {

// The registry's files: one "<ROOT>.reg" per root in one folder. Readers never lock and never
// write: every change replaces the whole file by rename, so a reader sees the old file or the
// new one. Writers take an advisory lock on the folder, read the current file, change it and
// store it through a synced temporary file, so concurrent writers keep each other's changes
// and a writer that dies midway leaves the previous file in place.
class TRegistryFolder {
 public:
  explicit TRegistryFolder(std::string folder);

  // PELMORIX_REGISTRY when it is set and not empty, else ~/.local/share/pelmorix/registry.
  static std::string DefaultFolder();

  const std::string& Folder() const { return folder_; }
  std::string HiveFileName(const std::string& rootName) const;

  enum class THiveState { Missing, Loaded, Unreadable };
  // A missing file is an empty hive; a file that cannot be read or parsed is Unreadable.
  THiveState Load(const std::string& rootName, TRegistryHive& hive) const;

  // The root may be changed: its file (when it exists) and the folder are writable. A file or
  // folder without any write permission bit counts as read-only for the superuser too, so that
  // a read-only hive behaves the same under every account.
  bool IsWritable(const std::string& rootName) const;

  // Runs change on the current hive under the lock and stores the hive when change answers
  // ERROR_SUCCESS and sets changed. The folder is created when missing. An unreadable file is
  // never replaced: the answer is then ERROR_BADDB.
  using TChange = std::function<LONG(TRegistryHive& hive, bool& changed)>;
  LONG Update(const std::string& rootName, const TChange& change) const;

 private:
  LONG Store(const std::string& rootName, const TRegistryHive& hive) const;
  void RemoveStaleTemporaries(const std::string& rootName) const;

  std::string folder_;
};

}  // namespace pelmorix
