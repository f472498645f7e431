#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

// What the fuzz targets share. They run in a private working folder that scripts/fuzz.sh
// makes on /dev/shm, so the files they write cost no disk and vanish with the folder; the
// log, which would grow by a line an input, is removed after every input.

// A broken property aborts, which libFuzzer records as a crash and saves the input for; the
// message says which property it was.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

inline void WriteInputFile(const char* path, const void* data, size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    Require(file.write(static_cast<const char*>(data), size).flush().good(),
            "the input is written");
}
