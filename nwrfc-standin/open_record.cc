#include "open_record.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "common/bounded_text.h"
#include "standin_text.h"

namespace {

void put_text(std::FILE* file, const SAP_UC* text) {
  BoundedText<1023> converted;
  if (text != nullptr) read_utf16(text, 1023, converted);
  for (char c : converted.view()) std::fputc(static_cast<unsigned char>(c) < 0x20 ? '?' : c, file);
}

}  // namespace

void record_open(const RFC_CONNECTION_PARAMETER* params, unsigned count) {
  const char* path = std::getenv("QUENMAREL_NWRFC_RECORD");
  if (path == nullptr || path[0] == '\0') return;
  std::FILE* file = std::fopen(path, "ab");
  if (file == nullptr) return;
  std::fputs("RfcOpenConnection", file);
  for (unsigned i = 0; params != nullptr && i < count; ++i) {
    std::fputc(' ', file);
    put_text(file, params[i].name);
    BoundedText<15> name;
    if (params[i].name != nullptr) read_utf16(params[i].name, 15, name);
    name.to_upper();
    if (name.equals("PASSWD")) {
      std::fputs("=<hidden>", file);
      continue;
    }
    std::fputc('=', file);
    put_text(file, params[i].value);
  }
  std::fputc('\n', file);
  std::fclose(file);
}
