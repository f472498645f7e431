#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"
#include "util/Log.h"
#include "util/TextFile.h"

TEST(Log, LinesGoToStandardOutputAndTheFileInOrder) {
    TempFolder dir{true};
    testing::internal::CaptureStdout();
    Log("a");
    LogString("b");
    Log("two\nlines");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a\nb\ntwo\nlines\n");
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              (std::vector<std::string>{"a", "b", "two", "lines"}));
}

// A log.txt the user may not write, or one that is not a plain file, is left as it is and the
// line reaches standard output alone. A pipe with a reader would take the line if the log
// opened it, and a link would lead the line into another file.
TEST(Log, ALogFileThatCannotBeWrittenOrIsNoPlainFileIsLeftAlone) {
    ASSERT_TRUE(RunsAsOrdinaryUser());
    TempFolder dir{true};
    WriteRawFile("other", "kept\n");
    int reader = -1;
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"read-only",
         [] { return WriteWholeFile("log.txt", "old\n") && chmod("log.txt", 0444) == 0; }},
        {"a link", [] { return symlink("other", "log.txt") == 0; }},
        {"a pipe",
         [&] {
             return mkfifo("log.txt", 0600) == 0 &&
                    (reader = open("log.txt", O_RDONLY | O_NONBLOCK | O_CLOEXEC)) >= 0;
         }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(remove("log.txt") == 0 || errno == ENOENT);
        ASSERT_TRUE(make());
        const std::string before = PathPrint("log.txt") + PathPrint("other");
        testing::internal::CaptureStdout();
        Log("still here");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "still here\n");
        EXPECT_EQ(PathPrint("log.txt") + PathPrint("other"), before);
    }
    char byte;
    EXPECT_EQ(read(reader, &byte, 1), 0) << "a line went into the pipe";
    close(reader);
}
