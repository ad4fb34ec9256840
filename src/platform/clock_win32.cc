#include "platform/clock.h"

#include <windows.h>

long long monotonic_ms() { return static_cast<long long>(GetTickCount64()); }
