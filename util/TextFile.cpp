#include "util/TextFile.h"

#include <cstdio>
#include <cstdlib>
#include <sys/types.h>

TextFile::TextFile(const char* path) : path(path != nullptr ? path : "") {}

TextFile::TextFile(const std::string& path) : path(path) {}

std::vector<std::string> TextFile::ReadLines() {
    error = false;
    openFailed = false;
    std::vector<std::string> lines;
    std::FILE* file = std::fopen(path.c_str(), "re");
    if (file == nullptr) {
        error = true;
        openFailed = true;
        return lines;
    }
    // getline grows its buffer to fit, so no line is too long to be read back whole, and a
    // file written by WriteLines always reads back as it was.
    char* buffer = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&buffer, &capacity, file)) >= 0) {
        size_t end = static_cast<size_t>(length);
        if (end > 0 && buffer[end - 1] == '\n') {
            --end;
        }
        lines.emplace_back(buffer, end);
    }
    if (std::ferror(file)) {
        error = true;
    }
    std::free(buffer);
    std::fclose(file);
    return lines;
}

bool TextFile::WriteLines(const std::vector<std::string>& lines) {
    return Write(lines, "we");
}

bool TextFile::AppendLines(const std::vector<std::string>& lines) {
    return Write(lines, "ae");
}

std::string TextFile::ReadAllText() {
    const std::vector<std::string> lines = ReadLines();
    std::string text;
    if (error) {
        return text;
    }
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool TextFile::Write(const std::vector<std::string>& lines, const char* mode) {
    error = false;
    openFailed = false;
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) {
        error = true;
        openFailed = true;
        return false;
    }
    // Flushing after every line means a crash loses at most the line being written, which is
    // what the log relies on.
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
            std::fputc('\n', file) == EOF || std::fflush(file) != 0) {
            error = true;
            break;
        }
    }
    if (std::fclose(file) != 0) {
        error = true;
    }
    return !error;
}
