#include <gtest/gtest.h>

#include "game/HighScoreTable.h"

#include <csignal>
#include <dirent.h>
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
    void Store(const std::string& content) {
        ASSERT_NE(ScoreFolder("test"), "");
        WriteRawFile(kFile, content);
    }
    // Entries made with their own format, so that only the order is under test.
    static std::string Entries(const std::vector<std::pair<int, std::string>>& results) {
        std::string text;
        for (const auto& result : results) {
            text += HighScoreTable::FormatEntry(result.first, result.second) + "\n";
        }
        return text;
    }

    TempFolder folder{true};
    HighScoreTable table{"test"};
};

} // namespace

TEST_F(HighScoreTableTest, ResultsAreStoredBestFirstTenAtMostInTheirFixedForm) {
    EXPECT_TRUE(table.LoadScores().empty());
    EXPECT_FALSE(table.Failed()) << "no file yet is no failure";
    ASSERT_TRUE(table.AddScore(10, "Anna"));
    EXPECT_EQ(Stored(), "00000010 Anna\n");

    struct Case {
        int score;
        std::string name;
        std::string line;
    };
    const Case forms[] = {
        {123456789, "Big", "23456789 Big"}, // the last eight characters
        {-5, "Neg", "000000-5 Neg"},         // the sign stays where padding puts it
        {7, "two\nlines\r", "00000007 two lines "},
        {0, "%s%n $(rm -rf .) `x`", "00000000 %s%n $(rm -rf .) `x`"},
    };
    for (const Case& c : forms) {
        EXPECT_EQ(HighScoreTable::FormatEntry(c.score, c.name), c.line);
    }

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

TEST_F(HighScoreTableTest, HostileFilesNeitherCrashNorCostTheValidEntries) {
    std::string tenThousand;
    for (int i = 0; i < 10000; ++i) {
        tenThousand += HighScoreTable::FormatEntry(i, "n" + std::to_string(i)) + "\n";
    }
    const std::string longName(1 << 20, 'L');
    struct Case {
        const char* what;
        std::string content;
        std::string best; // the first entry after adding 00000042 Bea
        size_t entries;
    };
    const Case cases[] = {
        {"empty", "", "00000042 Bea", 1},
        {"no final line feed", "00000050 Al", "00000050 Al", 2},
        {"CR LF", "00000050 Al\r\n00000007 Cy\r\n", "00000050 Al", 3},
        {"CR CR LF", "00000050 Al\r\r\n", "00000050 Al", 2},
        {"binary junk", std::string("\xff\xfe\x00junk\n", 8) + "\x7f\x80\n00000050 Al\n",
         "00000050 Al", 2},
        {"a line a megabyte long", "00000050 " + longName + "\n", "00000050 " + longName, 2},
        {"ten thousand entries", tenThousand, "00009999 n9999", 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Store(c.content);
        ASSERT_TRUE(table.AddScore(42, "Bea"));
        const std::vector<std::string> entries = table.LoadScores();
        EXPECT_FALSE(table.Failed());
        ASSERT_EQ(entries.size(), c.entries);
        EXPECT_EQ(entries.front(), c.best);
        // The next save writes the same file again: nothing read is changed by reading it.
        std::string reread;
        for (const std::string& entry : entries) {
            reread += entry + "\n";
        }
        EXPECT_EQ(Stored(), reread);
    }

    // A folder where the file should be: nothing can be read or written, and nothing breaks.
    ASSERT_EQ(unlink(kFile), 0);
    ASSERT_EQ(mkdir(kFile, 0755), 0);
    EXPECT_FALSE(table.AddScore(1, "X"));
    EXPECT_TRUE(table.Failed());
    struct stat info;
    ASSERT_EQ(stat(kFile, &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
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
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not answer false";
    EXPECT_EQ(Stored(), before);
    // Nothing is left of the attempt beside the table.
    std::vector<std::string> names;
    DIR* dir = opendir("Data/test/Score");
    ASSERT_NE(dir, nullptr);
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') {
            names.push_back(entry->d_name);
        }
    }
    closedir(dir);
    EXPECT_EQ(names, std::vector<std::string>{"Classifica.txt"});
}
