#include "platform/library_loading.h"

#include "platform/process.h"

unsigned program_bits() { return sizeof(void*) * 8; }

bool library_beside_executable(const char* file_name, LoadedLibrary& library, PathText& beside) {
  library.handle = nullptr;
  library.fault = LibraryFault::None;
  library.loader_message.clear();
  if (!executable_directory(library.first_directory)) library.first_directory.clear();
  if (library.first_directory.empty() || !beside.assign_whole(library.first_directory.view()) ||
      !beside.append_whole(file_name))
    return false;
  const OwnedFile file(open_file_for_reading(beside.c_str()));
  return file != nullptr;
}
