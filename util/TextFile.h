#pragma once

#include <string>
#include <vector>

// A text file read and written as a list of lines. Each operation opens and closes the file
// itself, so a TextFile holds no descriptor between calls; the flags describe the last
// operation only.
class TextFile {
  public:
    explicit TextFile(const char* path);
    explicit TextFile(const std::string& path);

    // Lines are separated by "\n", which is not part of them; a last line without one counts.
    std::vector<std::string> ReadLines();
    // Each line is written followed by "\n".
    bool WriteLines(const std::vector<std::string>& lines);
    bool AppendLines(const std::vector<std::string>& lines);
    // Replaces the file with the lines in one step: they go to a new file in the same folder,
    // which is synced to the disk and then renamed over the old one. When anything fails on
    // the way (a full disk, a quota, a size limit), the old file is left exactly as it was.
    // Only what a plain write could change is replaced: a file the user may not write, or
    // anything by that name but a plain file (a folder, a link, a pipe), is left alone.
    bool ReplaceLines(const std::vector<std::string>& lines);
    // Every line followed by "\r\n"; empty when the file could not be read.
    std::string ReadAllText();

    bool HasError() const { return error; }
    bool HasOpenFailed() const { return openFailed; }
    const std::string& GetPath() const { return path; }

  private:
    bool Write(const std::vector<std::string>& lines, const char* mode);

    bool error = false;
    bool openFailed = false;
    std::string path;
};
