// The one clock every deadline is measured on: of the sensor's waits, its
// children's, and the sockets of the RFC libraries we build.
#pragma once

/// Milliseconds on the operating system's monotonic clock, which counts
/// elapsed time and never jumps when someone sets the time of day.
long long monotonic_ms();
