#pragma once

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

// What the fuzz targets share. A broken property aborts, which libFuzzer records as a crash
// and saves the input for; the message says which property it was.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// The targets run in a private working folder that scripts/fuzz.sh makes on /dev/shm, so the
// files they write cost no disk and vanish with the folder.
inline void WriteInputFile(const char* path, const void* data, size_t size) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Require(fd >= 0, "the input file can be created");
    Require(write(fd, data, size) == static_cast<ssize_t>(size), "the input file is written");
    close(fd);
}

// Every log line is appended to log.txt in the working folder; a million of them would fill
// the folder, so each target clears it after every input.
inline void ClearLog() {
    unlink("log.txt");
}
