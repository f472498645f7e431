#pragma once

#include <cstdint>
#include <string>
#include <vector>

// File-system and path helpers. Failures are answered through results (false, 0, an empty
// string or list); only ListFiles writes to the log.

// File system
bool FileExists(const std::string& path);
// A plain file itself: not a folder, a device, or a link to anything.
bool IsRegularFile(const std::string& path);
// Nothing at all by that name, not even a link that leads nowhere. False when that cannot be
// told, for example when a folder on the way may not be searched.
bool IsMissing(const std::string& path);
bool RemoveFile(const std::string& path);
bool MakeDirIfMissing(const std::string& path); // true when a folder is there afterwards
int64_t FileSize(const std::string& path);
std::string GetDataFolder();

// Paths
std::string GetDirectoryPart(std::string& path); // rewrites backslashes in `path` as slashes
std::string GetFileName(const std::string& path);
char GetPathSeparator();
std::string WithTrailingSlash(const std::string& path);
std::string EnsureSuffix(const std::string& text, const std::string& suffix);

// Whole-file byte operations
// False for a missing or empty source as well as for any failed step.
bool CopyFile(const std::string& source, const std::string& target);
// 32 upper-case hexadecimal digits; empty when the file cannot be read to its end.
std::string FileChecksum(const std::string& path);
// Regular files (links to them included), in directory order; logs a folder it cannot open.
std::vector<std::string> ListFiles(const std::string& directory);
