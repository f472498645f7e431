#pragma once

#include <string>

// Whole files read and written exactly as stored, byte for byte, with nothing of the program
// under test in between.

// Empty when the file cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
