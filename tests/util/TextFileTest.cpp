#include "util/TextFile.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

using Lines = std::vector<std::string>;

TEST(TextFile, MissingFileSetsBothFlagsAndReadsEmpty) {
    TempFolder folder;
    TextFile file(folder.File("missing.txt"));
    EXPECT_FALSE(file.HasError());
    EXPECT_FALSE(file.HasOpenFailed());
    EXPECT_TRUE(file.ReadLines().empty());
    EXPECT_TRUE(file.HasError());
    EXPECT_TRUE(file.HasOpenFailed());
    EXPECT_EQ(file.ReadAllText(), "");
    EXPECT_TRUE(file.HasOpenFailed());
}

TEST(TextFile, WrittenLinesReadBackUnchanged) {
    TempFolder folder;
    const std::string path = folder.File("lines.txt");
    const Lines lines = {"first", "", "  spaced  ", "luned\xEC", std::string("nul\0inside", 10),
                         "last"};
    TextFile file(path.c_str());
    EXPECT_TRUE(file.WriteLines(lines));
    EXPECT_FALSE(file.HasError());
    EXPECT_EQ(ReadRawFile(path),
              std::string("first\n\n  spaced  \nluned\xEC\nnul\0inside\nlast\n", 41));
    EXPECT_EQ(file.ReadLines(), lines);
    EXPECT_FALSE(file.HasError());
    EXPECT_FALSE(file.HasOpenFailed());
}

TEST(TextFile, LinesOfAnyLengthReadBackWhole) {
    TempFolder folder;
    TextFile file(folder.File("long.txt"));
    const Lines lines = {"short",
                         std::string(255, 'a'),
                         std::string(256, 'b'),
                         std::string(257, 'c'),
                         std::string(100000, 'd'),
                         "after"};
    ASSERT_TRUE(file.WriteLines(lines));
    EXPECT_EQ(file.ReadLines(), lines);
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, WriteLinesReplacesAndAppendLinesAdds) {
    TempFolder folder;
    const std::string path = folder.File("log.txt");
    TextFile file(path);
    EXPECT_TRUE(file.AppendLines({"a"}));
    EXPECT_TRUE(file.AppendLines({"b"}));
    EXPECT_EQ(file.ReadLines(), (Lines{"a", "b"}));
    EXPECT_TRUE(file.WriteLines({"c"}));
    EXPECT_EQ(file.ReadLines(), (Lines{"c"}));
    EXPECT_TRUE(file.AppendLines({"d", "e"}));
    EXPECT_EQ(ReadRawFile(path), "c\nd\ne\n");
    EXPECT_TRUE(file.WriteLines({}));
    EXPECT_EQ(ReadRawFile(path), "");
    EXPECT_TRUE(file.ReadLines().empty());
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, LastLineWithoutNewlineIsKept) {
    TempFolder folder;
    const std::string path = folder.File("raw.txt");
    WriteRawFile(path, "one\ntwo");
    TextFile file(path);
    EXPECT_EQ(file.ReadLines(), (Lines{"one", "two"}));
    WriteRawFile(path, "one\n\n");
    EXPECT_EQ(file.ReadLines(), (Lines{"one", ""}));
    WriteRawFile(path, "\n");
    EXPECT_EQ(file.ReadLines(), (Lines{""}));
    WriteRawFile(path, "");
    EXPECT_TRUE(file.ReadLines().empty());
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, ReadAllTextEndsEveryLineWithCrLf) {
    TempFolder folder;
    TextFile file(folder.File("text.txt"));
    ASSERT_TRUE(file.WriteLines({"a", "b"}));
    EXPECT_EQ(file.ReadAllText(), "a\r\nb\r\n");
    ASSERT_TRUE(file.WriteLines({}));
    EXPECT_EQ(file.ReadAllText(), "");
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, WriteIntoMissingFolderFailsAndFlagsTheOpen) {
    TempFolder folder;
    TextFile file(folder.File("no/such/file.txt"));
    EXPECT_FALSE(file.WriteLines({"x"}));
    EXPECT_TRUE(file.HasError());
    EXPECT_TRUE(file.HasOpenFailed());
    EXPECT_FALSE(file.AppendLines({"x"}));
    EXPECT_TRUE(file.HasOpenFailed());
}

TEST(TextFile, EachOperationStartsWithClearFlags) {
    TempFolder folder;
    TextFile file(folder.File("later.txt"));
    file.ReadLines();
    ASSERT_TRUE(file.HasOpenFailed());
    EXPECT_TRUE(file.AppendLines({"now"}));
    EXPECT_FALSE(file.HasError());
    EXPECT_FALSE(file.HasOpenFailed());
    EXPECT_EQ(file.ReadLines(), (Lines{"now"}));
    EXPECT_FALSE(file.HasError());
}

TEST(TextFile, ReadingAFolderIsAnErrorButNotAFailedOpen) {
    TempFolder folder;
    TextFile file(folder.Path());
    EXPECT_TRUE(file.ReadLines().empty());
    EXPECT_TRUE(file.HasError());
    EXPECT_FALSE(file.HasOpenFailed());
    EXPECT_EQ(file.ReadAllText(), "");
}

TEST(TextFile, WriteFailureOnAFullDeviceIsReported) {
    TextFile file("/dev/full");
    EXPECT_FALSE(file.WriteLines({"nowhere to go"}));
    EXPECT_TRUE(file.HasError());
    EXPECT_FALSE(file.HasOpenFailed());
}
