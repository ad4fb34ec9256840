// The Linux form of a Windows path (POSIX builds only).
#pragma once

#include "platform/files.h"

/// Longest path the Linux build maps; longer ones are refused, not cut.
using NativePath = PathText;

/// Turns backslashes into slashes and drops a leading drive letter and its
/// colon; false when the path does not fit.
bool to_native_path(const char* windows_path, NativePath& native);
