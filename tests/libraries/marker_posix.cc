// Leaves its mark in the working directory the moment it is loaded.
#include <cstdio>

namespace {

__attribute__((constructor)) void leave_mark() {
  if (std::FILE* mark = std::fopen("LOADED-FROM-THE-WORKING-DIRECTORY", "w")) std::fclose(mark);
}

}  // namespace
