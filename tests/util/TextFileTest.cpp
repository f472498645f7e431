#include "util/TextFile.h"

#include <gtest/gtest.h>
#include <tuple>

#include "support/TempFolder.h"

using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(TextFile, WrittenLinesOfAnyLengthReadBackUnchanged) {
    TempFolder folder;
    TextFile file(folder.File("lines.txt"));
    Lines lines = {"first", "", "  spaced  ", "luned\xEC", "nul\0inside"s, "last"};
    // Lengths around the buffer sizes a line reader is tempted to use, and far beyond them.
    for (size_t length : {255, 256, 257, 100000}) {
        lines.push_back(std::string(length, 'x'));
    }
    EXPECT_TRUE(file.WriteLines(lines));
    EXPECT_EQ(file.ReadLines(), lines);
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, WriteLinesReplacesAndAppendLinesAdds) {
    TempFolder folder;
    const std::string path = folder.File("log.txt");
    TextFile file(path);
    EXPECT_TRUE(file.AppendLines({"a"}));
    EXPECT_TRUE(file.AppendLines({"b"}));
    EXPECT_EQ(ReadWholeFile(path), "a\nb\n");
    EXPECT_TRUE(file.WriteLines({"c"}));
    EXPECT_TRUE(file.AppendLines({"d", "e"}));
    EXPECT_EQ(ReadWholeFile(path), "c\nd\ne\n");
    EXPECT_TRUE(file.WriteLines({}));
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(TextFile, EveryNewlineEndsALineAndALastLineWithoutOneCounts) {
    TempFolder folder;
    const std::string path = folder.File("raw.txt");
    const std::tuple<const char*, Lines, const char*> cases[] = {
        {"one\ntwo", {"one", "two"}, "one\r\ntwo\r\n"},
        {"one\n\n", {"one", ""}, "one\r\n\r\n"},
        {"\n", {""}, "\r\n"},
        {"", {}, ""},
    };
    for (const auto& [raw, lines, allText] : cases) {
        SCOPED_TRACE(raw);
        WriteRawFile(path, raw);
        TextFile file(path);
        EXPECT_EQ(file.ReadLines(), lines);
        EXPECT_EQ(file.ReadAllText(), allText);
        EXPECT_FALSE(file.HasError());
    }
}

TEST(TextFile, FailuresAreFlaggedAndTheNextOperationStartsClean) {
    TempFolder folder;
    TextFile missing(folder.File("missing.txt"));
    EXPECT_TRUE(missing.ReadLines().empty());
    EXPECT_TRUE(missing.HasError());
    EXPECT_TRUE(missing.HasOpenFailed());
    EXPECT_EQ(missing.ReadAllText(), "");
    EXPECT_TRUE(missing.AppendLines({"now"}));
    EXPECT_FALSE(missing.HasError());
    EXPECT_FALSE(missing.HasOpenFailed());

    TextFile unnamed(static_cast<const char*>(nullptr));
    EXPECT_TRUE(unnamed.ReadLines().empty());
    EXPECT_TRUE(unnamed.HasOpenFailed());

    TextFile nowhere(folder.File("no/such/file.txt"));
    EXPECT_FALSE(nowhere.WriteLines({"x"}));
    EXPECT_TRUE(nowhere.HasOpenFailed());

    // A folder opens but cannot be read.
    TextFile directory(folder.Path());
    EXPECT_EQ(directory.ReadAllText(), "");
    EXPECT_TRUE(directory.HasError());
    EXPECT_FALSE(directory.HasOpenFailed());
}

TEST(TextFile, WriteFailureOnAFullDeviceIsReported) {
    TextFile file("/dev/full");
    EXPECT_FALSE(file.WriteLines({"nowhere to go"}));
    EXPECT_TRUE(file.HasError());
    EXPECT_FALSE(file.HasOpenFailed());
}
