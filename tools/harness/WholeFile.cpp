#include "tools/harness/WholeFile.h"

#include <cstdio>

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    FILE* file = std::fopen(path.c_str(), "rbe");
    if (file == nullptr) {
        return content;
    }
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, count);
    }
    std::fclose(file);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    FILE* file = std::fopen(path.c_str(), "wbe");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}
