#include "platform/native_path_win32.h"

bool to_native_text(std::string_view text, wchar_t* native, int room) {
  const int length = static_cast<int>(text.size());
  if (text.empty() || text.size() >= static_cast<std::size_t>(room)) return false;
  int written = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, native, room - 1);
  if (written <= 0) written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, native, room - 1);
  if (written <= 0) return false;
  native[written] = L'\0';
  return true;
}

bool to_native_path(const char* windows_path, NativePath& native) {
  return to_native_text(windows_path, native.text, static_cast<int>(path_capacity + 1));
}

bool append_utf8(const wchar_t* name, TextBuffer& out) {
  char utf8[path_capacity * 3 + 1];
  const int written = WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
  return written > 0 && out.append_whole(std::string_view(utf8, static_cast<std::size_t>(written - 1)));
}
