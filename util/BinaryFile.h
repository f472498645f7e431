#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// An open file for whole-block reading or writing. The file is opened by the constructor and
// closed by Close or, at the latest, by the destructor, so an early return cannot leak it.
class BinaryFile {
  public:
    enum class Mode { Read, Write };

    BinaryFile(const std::string& path, Mode mode);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Answers how many bytes were read; fewer than asked at end of file or on an error.
    size_t Read(void* buffer, size_t size);
    // Answers whether all bytes were handed to the file.
    bool Write(const void* data, size_t size);
    // Answers false when the file never opened or any read or write failed, the final flush of
    // buffered bytes included. Closing twice is harmless.
    bool Close();

    bool IsOpen() const { return stream != nullptr && !closed; }
    bool HasOpenFailed() const { return openFailed; }
    bool HasError() const { return error; }

  private:
    std::FILE* stream = nullptr;
    bool closed = false;
    bool openFailed = false;
    bool error = false;
};
