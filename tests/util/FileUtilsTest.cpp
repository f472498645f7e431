#include "util/FileUtils.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>

#include "support/TempFolder.h"
#include "util/TextFile.h"

TEST(FileUtils, FoldersAreMadeOnlyWhereMissingAndFilesReportWhatIsThere) {
    TempFolder folder(true);
    EXPECT_TRUE(MakeDirIfMissing("new"));
    WriteRawFile("new/keep", std::string("ab\0cd\n", 6));
    EXPECT_TRUE(MakeDirIfMissing("new"));
    EXPECT_EQ(FileSize("new/keep"), 6);
    // Only the last component is made, and never over a file.
    EXPECT_FALSE(MakeDirIfMissing("missing/child") || FileExists("missing"));
    EXPECT_FALSE(MakeDirIfMissing("new/keep"));
    EXPECT_TRUE(RemoveFile("new/keep"));
    EXPECT_FALSE(FileExists("new/keep") || RemoveFile("new/keep") || FileSize("new/keep") != 0);
    // The data folder is made in the working directory once and then left alone.
    EXPECT_EQ(GetDataFolder(), "Data");
    WriteRawFile("Data/Classifica.txt", "00000010 Ada\n");
    EXPECT_EQ(GetDataFolder(), "Data");
    EXPECT_EQ(ReadWholeFile("Data/Classifica.txt"), "00000010 Ada\n");
}

TEST(FileUtils, PathsSplitAtTheLastSlashBackslashOrDriveColonAndGainMissingEndings) {
    // path, its directory part, the path with slashes only, its file name
    const char* const cases[][4] = {{"a\\b\\c", "a/b/", "a/b/c", "c"},
                                    {"c:f.t", "c:", "c:f.t", "f.t"},
                                    {"f.t", "", "f.t", "f.t"}};
    for (const auto& [path, directory, rewritten, name] : cases) {
        std::string edited = path;
        EXPECT_EQ(GetDirectoryPart(edited) + "|" + edited + "|" + GetFileName(path),
                  std::string(directory) + "|" + rewritten + "|" + name);
    }
    EXPECT_EQ(WithTrailingSlash("Data") + WithTrailingSlash("Data\\") + WithTrailingSlash("c:") +
                  WithTrailingSlash(""),
              "Data/Data\\c:");
    // Only the text is folded to lower case before the comparison.
    const char* const suffixes[][3] = {{"A.B", ".b", "A.B"}, {".b", ".b", ".b.b"}, {"", ".b", ""}};
    for (const auto& [text, suffix, expected] : suffixes) {
        EXPECT_EQ(EnsureSuffix(text, suffix), expected) << text << " + " << suffix;
    }
}

TEST(FileUtils, CopyFileCopiesEveryByteEvenOntoItselfAndFailsWithoutSourceOrTarget) {
    TempFolder folder(true);
    std::string content;
    for (int i = 0; i < 30000; ++i) {
        content.push_back(static_cast<char>(i * 7));
    }
    WriteRawFile("source", content);
    WriteRawFile("target", std::string(40000, 'x'));
    WriteRawFile("empty", "");
    EXPECT_TRUE(CopyFile("source", "target") && CopyFile("source", "source"));
    EXPECT_EQ(ReadWholeFile("target") + ReadWholeFile("source"), content + content);
    // A missing, empty or unreadable source; a target that cannot be opened or written.
    const std::pair<std::string, std::string> failures[] = {
        {"missing", "copy"}, {"empty", "copy"}, {folder.Path(), "copy"}, {"source", "/dev/full"}};
    for (const auto& [source, target] : failures) {
        EXPECT_FALSE(CopyFile(source, target)) << source << " to " << target;
    }
    EXPECT_FALSE(FileExists("copy"));
}

TEST(FileUtils, FileChecksumFoldsBytesIntoSixteenPositions) {
    TempFolder folder(true);
    std::string counting; // byte i and byte i + 16 share a position, and i ^ (i + 16) is 0x10
    for (int i = 0; i < 32; ++i) {
        counting.push_back(static_cast<char>(i));
    }
    const std::tuple<std::string, std::string> cases[] = {
        {counting, "10101010101010101010101010101010"},
        // Across three blocks, positions 0 to 4 get an odd count of the bytes.
        {std::string(20485, '\x01'), "0101010101" + std::string(22, '0')},
        {"", std::string(32, '0')}};
    for (const auto& [content, checksum] : cases) {
        WriteRawFile("sum", content);
        EXPECT_EQ(FileChecksum("sum"), checksum) << content.size() << " bytes";
    }
    // A folder opens, but cannot be read.
    EXPECT_EQ(FileChecksum("missing") + FileChecksum(folder.Path()), "");
}

TEST(FileUtils, ListFilesAnswersRegularFilesAndLinksToThemAndLogsAFolderItCannotOpen) {
    TempFolder folder(true);
    WriteRawFile(".hidden", "h");
    ASSERT_TRUE(MakeDirIfMissing("sub"));
    WriteRawFile("sub/inner", "i");
    ASSERT_EQ(symlink(".hidden", "link") + symlink("sub", "dirlink"), 0);
    std::vector<std::string> names = ListFiles(folder.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "link"}));
    EXPECT_EQ(ListFiles("sub/"), std::vector<std::string>{"inner"});
    EXPECT_TRUE(ListFiles("nowhere").empty() && ListFiles(".hidden").empty());
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              (std::vector<std::string>{"nowhere accesso negato!", ".hidden accesso negato!"}));
}
