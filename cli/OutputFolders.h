#pragma once
// The output folders a batch makes (--output-dir, and with --keep-tree the folders below it),
// so that a batch leaves no empty folder behind: a folder it made stays only when something
// was written into it. Folders that were there before are never removed. Any thread may make
// folders; the removal comes after the batch, on one thread.

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "support/Result.h"

namespace tarvelo::cli {

class OutputFolders {
 public:
  // Makes `folder` and the missing folders above it, remembering those it made. Fails
  // (kIoError, naming the folder and the reason) when `folder` is not a folder afterwards.
  Result Make(const std::string& folder);
  // Removes the remembered folders that are empty, the deepest first (a folder whose folders
  // below went too is then empty as well).
  void RemoveEmpty();

 private:
  std::mutex mutex_;
  std::vector<std::filesystem::path> made_;
};

}  // namespace tarvelo::cli
