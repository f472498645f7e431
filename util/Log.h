#pragma once

#include <string>

// The one diagnostic channel of the program. A log line is exactly the message: it is echoed
// to standard output and appended to "log.txt" in the working directory, which main removes
// at start-up so that the file holds the current run only.
void Log(const char* message);
void LogString(const std::string& message);
