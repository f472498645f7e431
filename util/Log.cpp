#include "util/Log.h"

#include <cstdio>
#include <sys/stat.h>
#include <vector>

#include "util/TextFile.h"

namespace {
const char* const kLogFile = "log.txt";
}

void Log(const char* message) {
    std::fputs(message, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);

    // The file is opened and closed for every line, so nothing is lost if the program dies
    // and no descriptor is held open while sounds are forked. A line that cannot be written
    // has already reached standard output, which is all the caller can ask for.
    const std::vector<std::string> lines{message};
    TextFile file(kLogFile);
    struct stat status;
    if (lstat(kLogFile, &status) != 0) {
        file.WriteLines(lines);
    } else if (S_ISREG(status.st_mode)) {
        file.AppendLines(lines);
    }
    // Anything else of that name (a folder, a link) is not the program's to write into.
}

void LogString(const std::string& message) {
    Log(message.c_str());
}
