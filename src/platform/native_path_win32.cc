#include "platform/native_path_win32.h"

bool to_native_text(const char* text, wchar_t* native, int room) {
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, native, room) > 0) return true;
  return MultiByteToWideChar(CP_ACP, 0, text, -1, native, room) > 0;
}

bool to_native_path(const char* windows_path, NativePath& native) {
  return to_native_text(windows_path, native.text, static_cast<int>(path_capacity + 1));
}

bool append_utf8(const wchar_t* name, TextBuffer& out) {
  char utf8[path_capacity * 3 + 1];
  const int written = WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr);
  return written > 0 && out.append_whole(std::string_view(utf8, static_cast<std::size_t>(written - 1)));
}
