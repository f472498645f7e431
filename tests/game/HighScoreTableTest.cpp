#include <gtest/gtest.h>

#include "game/HighScoreTable.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempFolder.h"
#include "tools/harness/WholeFile.h"

namespace {

const char* const kFile = "Data/test/Score/Classifica.txt";

class HighScoreTableTest : public ::testing::Test {
  protected:
    std::string Stored() { return ReadWholeFile(kFile); }

    TempFolder folder{true};
    HighScoreTable table{"test"};
};

} // namespace

TEST_F(HighScoreTableTest, ResultsAreStoredBestFirstTenAtMostInTheirFixedForm) {
    EXPECT_TRUE(table.LoadScores().empty());
    EXPECT_FALSE(table.Failed()) << "no file yet is no failure";
    ASSERT_TRUE(table.AddScore(10, "Anna"));
    EXPECT_EQ(Stored(), "00000010 Anna\n");

    EXPECT_EQ(HighScoreTable::FormatEntry(123456789, "Big"), "23456789 Big"); // the last eight
    EXPECT_EQ(HighScoreTable::FormatEntry(-5, "Neg"), "000000-5 Neg"); // the sign where it falls
    EXPECT_EQ(HighScoreTable::FormatEntry(7, "two\nlines\r"), "00000007 two lines ");

    // Equal scores go by name, greatest first; eleven results keep the best ten.
    for (int score = 1; score <= 9; ++score) {
        ASSERT_TRUE(table.AddScore(score * 100, "P" + std::to_string(score)));
    }
    ASSERT_TRUE(table.AddScore(10, "Zoe"));
    const std::vector<std::string> kept = table.LoadScores();
    ASSERT_EQ(kept.size(), 10u);
    EXPECT_EQ(kept.front(), "00000900 P9");
    EXPECT_EQ(kept.back(), "00000010 Zoe") << "Zoe before Anna, and Anna is out";
    ASSERT_TRUE(table.AddScore(5000, "Top"));
    EXPECT_EQ(table.LoadScores().front(), "00005000 Top");
    EXPECT_EQ(table.LoadScores().back(), "00000100 P1") << "the lowest was pushed out";
}

TEST_F(HighScoreTableTest, AFileEditedElsewhereLosesOnlyLinesThatAreNoEntries) {
    ASSERT_NE(ScoreFolder("test"), "");
    WriteRawFile(kFile, "00000050 Al\r\r\n" + std::string("\xff\xfe\x00junk\n", 8) +
                            "\x7f\x80\n00000007 Cy\r\n");
    ASSERT_TRUE(table.AddScore(42, "Bea"));
    // What was read is what is written back, so the next save changes nothing.
    EXPECT_EQ(table.LoadScores(),
              (std::vector<std::string>{"00000050 Al", "00000042 Bea", "00000007 Cy"}));
    EXPECT_EQ(Stored(), "00000050 Al\n00000042 Bea\n00000007 Cy\n");
}

TEST_F(HighScoreTableTest, AFailedSaveKeepsTheOldTableWhole) {
    ASSERT_TRUE(table.AddScore(10, "Anna"));
    const std::string before = Stored();
    // A size limit makes every write past it fail, even for root; the child ignores the
    // signal that would otherwise end it, so the write itself reports the failure.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 4, before.size() + 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        HighScoreTable limited("test");
        _exit(limited.AddScore(20, "Bartholomew") || !limited.Failed() ? 1 : 0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0) << "the save did not answer false";
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Data/test/Score"), {}), 1)
        << "a half-written copy was left beside the table";

    // Where a folder of the table's path cannot be made, nothing is read or written.
    WriteRawFile("Data/blocked", "a file where the folder would go");
    HighScoreTable blocked("blocked");
    EXPECT_EQ(ScoreFolder("blocked"), "");
    EXPECT_TRUE(blocked.LoadScores().empty() && blocked.Failed());
    EXPECT_FALSE(blocked.AddScore(1, "X"));
    EXPECT_EQ(ReadWholeFile("Data/blocked"), "a file where the folder would go");
}

// Read as empty, a table that is there but cannot be read would be replaced by the one new
// result; one the player may not write would be replaced all the same by a rename.
TEST_F(HighScoreTableTest, ATableThePlayerMayNotReadOrWriteIsKeptAsItIs) {
    ASSERT_TRUE(RunsAsOrdinaryUser());
    ASSERT_TRUE(table.AddScore(10, "Anna"));
    ASSERT_EQ(rename(kFile, "Data/elsewhere"), 0);
    const auto copy = [](mode_t mode) {
        return std::filesystem::copy_file("Data/elsewhere", kFile) && chmod(kFile, mode) == 0;
    };
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"unreadable", [&] { return copy(0200); }},
        {"read-only", [&] { return copy(0444); }},
        {"a folder", [] { return mkdir(kFile, 0755) == 0; }},
        {"a link", [] { return symlink("../../elsewhere", kFile) == 0; }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(kFile);
        ASSERT_TRUE(make());
        const std::string before = PathPrint(kFile) + PathPrint("Data/elsewhere");
        EXPECT_FALSE(table.AddScore(20, "Bea"));
        EXPECT_TRUE(table.Failed());
        EXPECT_EQ(PathPrint(kFile) + PathPrint("Data/elsewhere"), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Data/test/Score"), {}), 1);
}
