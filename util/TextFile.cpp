#include "util/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

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

bool TextFile::ReplaceLines(const std::vector<std::string>& lines) {
    error = false;
    openFailed = false;
    // A rename replaces whatever has the name, as long as the folder is writable: a file the
    // user may not write, a folder, a link. A plain write could touch none of them, and the
    // replacement must not either, so they are refused before anything is written.
    struct stat old;
    const bool exists = lstat(path.c_str(), &old) == 0;
    if (exists ? !S_ISREG(old.st_mode) || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0
               : errno != ENOENT) {
        error = true;
        openFailed = true;
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = true;
        openFailed = true;
        return false;
    }
    // The new file gets the old one's permissions, or those a new file would get.
    mode_t mode = 0;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    std::FILE* file = fdopen(fd, "w");
    if (file == nullptr || fchmod(fd, mode) != 0) {
        error = true;
    }
    for (size_t i = 0; file != nullptr && !error && i < lines.size(); ++i) {
        const std::string& line = lines[i];
        error = std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
                std::fputc('\n', file) == EOF;
    }
    // Only data that has reached the disk may replace the old file.
    if (file != nullptr) {
        error = std::fflush(file) != 0 || fsync(fd) != 0 || error;
        error = std::fclose(file) != 0 || error;
    } else {
        close(fd);
    }
    if (!error && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = true;
    }
    if (error) {
        unlink(temporary.c_str());
    }
    return !error;
}
