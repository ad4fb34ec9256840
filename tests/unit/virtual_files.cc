#include "virtual_files.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>

namespace {

VirtualFiles* living = nullptr;

struct OpenFile {
  std::string content;
  std::size_t position = 0;
  int* open_count;
};

ssize_t read_open_file(void* cookie, char* buffer, std::size_t size) {
  OpenFile& file = *static_cast<OpenFile*>(cookie);
  const std::size_t count = std::min(size, file.content.size() - file.position);
  std::memcpy(buffer, file.content.data() + file.position, count);
  file.position += count;
  return static_cast<ssize_t>(count);
}

int close_open_file(void* cookie) {
  OpenFile* file = static_cast<OpenFile*>(cookie);
  --*file->open_count;
  delete file;
  return 0;
}

}  // namespace

VirtualFiles::VirtualFiles() { living = this; }
VirtualFiles::~VirtualFiles() { living = nullptr; }

void VirtualFiles::add(const std::string& windows_path, const std::string& content) { files_[windows_path] = content; }

std::FILE* VirtualFiles::open(const char* windows_path) {
  living->asked_.push_back(windows_path);
  const auto found = living->files_.find(windows_path);
  if (found == living->files_.end()) return nullptr;
  // A cookie stream notices its closing, so tests can see that every file
  // the code opened was closed again.
  cookie_io_functions_t functions = {read_open_file, nullptr, nullptr, close_open_file};
  std::FILE* file = fopencookie(new OpenFile{found->second, 0, &living->open_count_}, "r", functions);
  ++living->open_count_;
  return file;
}
