// Files that exist only for one test, served through the run state's
// file-opening seam, so that the logic choosing which file to open is tested
// without touching the disk.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

/// A set of files by their Windows path.  While it lives, `open` serves them.
class VirtualFiles {
 public:
  VirtualFiles();
  ~VirtualFiles();
  VirtualFiles(const VirtualFiles&) = delete;
  VirtualFiles& operator=(const VirtualFiles&) = delete;

  /// Adds a file, or replaces its content.
  void add(const std::string& windows_path, const std::string& content);
  /// Every path asked for so far, in order, whether it existed or not.
  const std::vector<std::string>& asked() const { return asked_; }
  /// Files opened and not yet closed.
  int open_count() const { return open_count_; }

  /// Opens a file of the living set for reading; null when it has no such file.
  static std::FILE* open(const char* windows_path);

 private:
  std::map<std::string, std::string> files_;
  std::vector<std::string> asked_;
  int open_count_ = 0;
};
