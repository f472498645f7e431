#include "util/BinaryFile.h"

BinaryFile::BinaryFile(const std::string& path, Mode mode) {
    // "e" opens the descriptor close-on-exec: the sound and link children must not inherit it.
    stream = std::fopen(path.c_str(), mode == Mode::Read ? "rbe" : "wbe");
    if (stream == nullptr) {
        openFailed = true;
        error = true;
        closed = true;
    }
}

BinaryFile::~BinaryFile() {
    Close();
}

size_t BinaryFile::Read(void* buffer, size_t size) {
    if (!IsOpen() || size == 0) {
        return 0;
    }
    const size_t count = std::fread(buffer, 1, size, stream);
    if (count < size && std::ferror(stream)) {
        error = true;
    }
    return count;
}

bool BinaryFile::Write(const void* data, size_t size) {
    if (!IsOpen()) {
        return false;
    }
    if (size > 0 && std::fwrite(data, 1, size, stream) != size) {
        error = true;
    }
    return !error;
}

bool BinaryFile::Close() {
    if (IsOpen()) {
        // Buffered bytes are written by fclose, so its failure is a write failure.
        if (std::fclose(stream) != 0) {
            error = true;
        }
        closed = true;
        stream = nullptr;
    }
    return !error;
}
