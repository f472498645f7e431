#include "util/TextFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

#include "support/TempFolder.h"

using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(TextFile, WrittenLinesOfAnyLengthReadBackAndAppendedOnesFollowThem) {
    TempFolder folder;
    TextFile file(folder.File("lines.txt"));
    Lines lines = {"first", "", "  spaced  ", "luned\xEC", "nul\0inside"s};
    // Lengths around the buffer sizes a line reader is tempted to use, and far beyond them.
    for (size_t length : {255, 256, 257, 100000}) {
        lines.push_back(std::string(length, 'x'));
    }
    EXPECT_TRUE(file.WriteLines(lines));
    EXPECT_EQ(file.ReadLines(), lines);
    EXPECT_FALSE(file.HasError());
    EXPECT_TRUE(file.WriteLines({"c"}));
    EXPECT_TRUE(file.AppendLines({"d", "e"}));
    EXPECT_EQ(ReadWholeFile(folder.File("lines.txt")), "c\nd\ne\n");
}

TEST(TextFile, EveryNewlineEndsALineAndALastLineWithoutOneCounts) {
    TempFolder folder;
    const std::string path = folder.File("raw.txt");
    const std::tuple<const char*, Lines, const char*> cases[] = {
        {"one\ntwo", {"one", "two"}, "one\r\ntwo\r\n"},
        {"one\n\n", {"one", ""}, "one\r\n\r\n"},
        {"", {}, ""}};
    for (const auto& [raw, lines, allText] : cases) {
        SCOPED_TRACE(raw);
        WriteRawFile(path, raw);
        TextFile file(path);
        EXPECT_EQ(file.ReadLines(), lines);
        EXPECT_EQ(file.ReadAllText(), allText);
    }
}

TEST(TextFile, FailuresAreFlaggedAndTheNextOperationStartsClean) {
    TempFolder folder;
    TextFile missing(folder.File("missing.txt"));
    EXPECT_EQ(missing.ReadAllText(), "");
    EXPECT_TRUE(missing.HasError() && missing.HasOpenFailed());
    EXPECT_TRUE(missing.AppendLines({"now"}));
    EXPECT_FALSE(missing.HasError() || missing.HasOpenFailed());
    // Opening fails; the file opens but cannot be read or written.
    TextFile unnamed(static_cast<const char*>(nullptr)), nowhere(folder.File("no/such/file.txt"));
    EXPECT_TRUE(unnamed.ReadLines().empty() && unnamed.HasOpenFailed());
    EXPECT_FALSE(nowhere.WriteLines({"x"}));
    EXPECT_TRUE(nowhere.HasOpenFailed());
    TextFile directory(folder.Path()), full("/dev/full");
    EXPECT_EQ(directory.ReadAllText(), "");
    EXPECT_FALSE(full.WriteLines({"nowhere to go"}));
    for (const TextFile* file : {&directory, &full}) {
        EXPECT_TRUE(file->HasError() && !file->HasOpenFailed());
    }
}

// A rename replaces anything in a writable folder; a replacement may change only what a plain
// write could, and leaves no copy behind when it refuses.
TEST(TextFile, ReplacingChangesOnlyAPlainFileTheUserMayWrite) {
    ASSERT_TRUE(RunsAsOrdinaryUser());
    TempFolder folder(true);
    WriteRawFile("mine", "old\n");
    ASSERT_EQ(chmod("mine", 0640), 0);
    EXPECT_TRUE(TextFile("mine").ReplaceLines({"new", ""}));
    struct stat info;
    ASSERT_EQ(stat("mine", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u) << "the permissions are kept";
    EXPECT_EQ(ReadWholeFile("mine"), "new\n\n");

    WriteRawFile("read-only", "kept\n");
    ASSERT_EQ(mkdir("locked", 0777), 0);
    WriteRawFile("locked/mine", "kept\n");
    ASSERT_TRUE(chmod("read-only", 0444) == 0 && chmod("locked", 0555) == 0 &&
                mkdir("folder", 0777) == 0 && symlink("mine", "link") == 0 &&
                symlink("nowhere", "dangling") == 0 && mkfifo("pipe", 0666) == 0);
    for (const char* path : {"read-only", "locked/mine", "folder", "link", "dangling", "pipe"}) {
        SCOPED_TRACE(path);
        const std::string before = PathPrint(path) + PathPrint("mine");
        TextFile file(path);
        EXPECT_FALSE(file.ReplaceLines({"lost"}));
        EXPECT_TRUE(file.HasError());
        EXPECT_EQ(PathPrint(path) + PathPrint("mine"), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 7);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("locked"), {}), 1);
}
