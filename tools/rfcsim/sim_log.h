// rfcsim's log on standard output: whole lines, flushed one by one, so a test
// runner reading through a pipe sees each line as soon as it happens.
#pragma once

#include <string>

/// Prints one line (a line feed is added); safe from any thread.
void log_line(const std::string& line);

/// A value as a log line may show it: line breaks become blanks.
std::string loggable(const std::string& value);
