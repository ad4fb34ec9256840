// The program's arguments as they were typed.  On Windows they are read from
// the command line in UTF-16 and given in UTF-8: the C runtime's own arguments
// pass through the code page with its best-fit mapping, which makes a
// full-width "８０" the digits "80" and "ＰＲＤ" the name "PRD".  Elsewhere
// they are the bytes the program was given.
#pragma once

/// Most arguments taken from a Windows command line, the program's path
/// included; any after them are left out (the sensor reads four, the profile
/// tool a dozen).
inline constexpr int most_program_arguments = 64;

/// The arguments, argument 0 the program's path.
struct ProgramArguments {
  int count = 0;
  /// `count` texts, then a null pointer.
  const char* const* values = nullptr;
};

/// The arguments of this process, from what main() was given; the same
/// record on every call.
const ProgramArguments& program_arguments(int argc, char** argv);
