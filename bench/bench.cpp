// Measures how close the game comes to a bare Xlib client on the same X server: it launches
// the game and the floor (bench/floor.cpp) in turn, times what a player sees, reads what each
// costs from /proc, plays a long game, and prints one table, also written to --output.
// It exits 0 when every measurement completed, whether or not the game met its targets.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "bench/BenchOptions.h"
#include "bench/BenchSession.h"
#include "bench/LaunchBench.h"
#include "bench/RoundBench.h"
#include "bench/TypingBench.h"

int main(int argc, char** argv) {
    BenchOptions options;
    std::string error;
    if (!ParseBenchOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "brisgola-bench: %s\n%s", error.c_str(), BenchUsage().c_str());
        return 2;
    }
    if (mkdir(options.workDir.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "brisgola-bench: cannot make %s: %s\n", options.workDir.c_str(),
                     std::strerror(errno));
        return 1;
    }

    BenchSession session(options);
    if (!session.Open()) {
        return 1;
    }
    LaunchBench(session).Run();
    TypingBench(session).Run();
    RoundBench(session).Run();

    const std::string table = session.MakeTable().Format();
    std::fputs(table.c_str(), stdout);
    std::fflush(stdout);
    if (!options.output.empty()) {
        std::ofstream file(options.output, std::ios::trunc);
        file << table;
        if (!file) {
            std::fprintf(stderr, "brisgola-bench: cannot write %s\n", options.output.c_str());
            return 1;
        }
    }
    return session.Failures().empty() ? 0 : 1;
}
