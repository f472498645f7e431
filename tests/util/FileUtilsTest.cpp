#include "util/FileUtils.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>

#include "support/TempFolder.h"
#include "util/TextFile.h"

TEST(FileUtils, FileQueriesAndRemovalReportWhatIsThere) {
    TempFolder folder;
    const std::string file = folder.File("a.txt");
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(RemoveFile(file));
    EXPECT_EQ(FileSize(file), 0);
    WriteRawFile(file, std::string("ab\0cd\n", 6));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(FileSize(file), 6);
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(FileExists(file));
}

TEST(FileUtils, MakeDirIfMissingCreatesOnlyTheLastComponentAndNeverOverAFile) {
    TempFolder folder;
    const std::string dir = folder.File("new");
    EXPECT_TRUE(MakeDirIfMissing(dir));
    WriteRawFile(dir + "/keep", "k");
    EXPECT_TRUE(MakeDirIfMissing(dir));
    EXPECT_EQ(ReadWholeFile(dir + "/keep"), "k");
    EXPECT_FALSE(MakeDirIfMissing(folder.File("missing/child")));
    EXPECT_FALSE(FileExists(folder.File("missing")));
    EXPECT_FALSE(MakeDirIfMissing(dir + "/keep"));
    EXPECT_EQ(ReadWholeFile(dir + "/keep"), "k");
}

TEST(FileUtils, GetDataFolderCreatesDataInTheWorkingDirectoryOnce) {
    TempFolder folder(true);
    EXPECT_EQ(GetDataFolder(), "Data");
    WriteRawFile(folder.File("Data/Classifica.txt"), "00000010 Ada\n");
    EXPECT_EQ(GetDataFolder(), "Data");
    EXPECT_EQ(ReadWholeFile(folder.File("Data/Classifica.txt")), "00000010 Ada\n");
}

TEST(FileUtils, PathsSplitAtTheLastSlashBackslashOrDriveColon) {
    // path, its directory part, the path with slashes only, its file name
    const char* const cases[][4] = {
        {"a\\b\\c", "a/b/", "a/b/c", "c"},
        {"c:f.t", "c:", "c:f.t", "f.t"},
        {"f.t", "", "f.t", "f.t"},
        {"/a/b", "/a/", "/a/b", "b"},
        {"d/", "d/", "d/", ""},
        {"c:\\d", "c:/", "c:/d", "d"},
    };
    for (const auto& [path, directory, rewritten, name] : cases) {
        std::string edited = path;
        EXPECT_EQ(GetDirectoryPart(edited), directory) << path;
        EXPECT_EQ(edited, rewritten) << path;
        EXPECT_EQ(GetFileName(path), name) << path;
    }
    EXPECT_EQ(GetPathSeparator(), '/');
}

TEST(FileUtils, SuffixesAreAddedOnlyWhenMissing) {
    const char* const slashes[][2] = {
        {"Data", "Data/"}, {"Data/", "Data/"}, {"Data\\", "Data\\"}, {"c:", "c:"}, {"", ""}};
    for (const auto& [path, expected] : slashes) {
        EXPECT_EQ(WithTrailingSlash(path), expected) << path;
    }
    // Only the text is folded to lower case before the comparison.
    const char* const suffixes[][3] = {
        {"a", ".b", "a.b"},   {"a.b", ".b", "a.b"}, {"A.B", ".b", "A.B"}, {"a.b", ".B", "a.b.B"},
        {".b", ".b", ".b.b"}, {"", ".b", ""},       {"a", "", "a"},
    };
    for (const auto& [text, suffix, expected] : suffixes) {
        EXPECT_EQ(EnsureSuffix(text, suffix), expected) << text << " + " << suffix;
    }
}

TEST(FileUtils, CopyFileCopiesEveryByteEvenOntoItself) {
    TempFolder folder;
    std::string content;
    for (int i = 0; i < 30000; ++i) {
        content.push_back(static_cast<char>(i * 7));
    }
    WriteRawFile(folder.File("source"), content);
    WriteRawFile(folder.File("target"), std::string(40000, 'x'));
    EXPECT_TRUE(CopyFile(folder.File("source"), folder.File("target")));
    EXPECT_EQ(ReadWholeFile(folder.File("target")), content);
    EXPECT_TRUE(CopyFile(folder.File("source"), folder.File("source")));
    EXPECT_EQ(ReadWholeFile(folder.File("source")), content);
}

TEST(FileUtils, CopyFileFailsForMissingEmptyOrUnreadableSourceAndBadTarget) {
    TempFolder folder;
    WriteRawFile(folder.File("empty"), "");
    WriteRawFile(folder.File("source"), "data");
    EXPECT_FALSE(CopyFile(folder.File("missing"), folder.File("target")));
    EXPECT_FALSE(CopyFile(folder.File("empty"), folder.File("target")));
    EXPECT_FALSE(CopyFile(folder.Path(), folder.File("target")));
    EXPECT_FALSE(CopyFile(folder.File("source"), folder.File("no/such/folder")));
    EXPECT_FALSE(CopyFile(folder.File("source"), "/dev/full"));
    EXPECT_FALSE(FileExists(folder.File("target")));
}

TEST(FileUtils, FileChecksumFoldsBytesIntoSixteenPositions) {
    TempFolder folder;
    const std::string file = folder.File("sum");
    std::string counting; // byte i and byte i + 16 share a position, and i ^ (i + 16) is 0x10
    for (int i = 0; i < 32; ++i) {
        counting.push_back(static_cast<char>(i));
    }
    const std::tuple<std::string, std::string> cases[] = {
        {"A", "41" + std::string(30, '0')},
        {counting, "10101010101010101010101010101010"},
        // Across three blocks, positions 0 to 4 get an odd count of the bytes.
        {std::string(20485, '\x01'), "0101010101" + std::string(22, '0')},
        {"", std::string(32, '0')},
    };
    for (const auto& [content, checksum] : cases) {
        WriteRawFile(file, content);
        EXPECT_EQ(FileChecksum(file), checksum) << content.size() << " bytes";
    }
    EXPECT_EQ(FileChecksum(folder.File("missing")), "");
    EXPECT_EQ(FileChecksum(folder.Path()), ""); // opens, but cannot be read
}

TEST(FileUtils, ListFilesAnswersRegularFilesAndLinksToThem) {
    TempFolder folder;
    WriteRawFile(folder.File("b.txt"), "b");
    WriteRawFile(folder.File("a.bmp"), "a");
    WriteRawFile(folder.File(".hidden"), "h");
    ASSERT_TRUE(MakeDirIfMissing(folder.File("sub")));
    WriteRawFile(folder.File("sub/inner"), "i");
    ASSERT_EQ(symlink("a.bmp", folder.File("link").c_str()), 0);
    ASSERT_EQ(symlink("sub", folder.File("dirlink").c_str()), 0);
    std::vector<std::string> names = ListFiles(folder.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.bmp", "b.txt", "link"}));
    EXPECT_EQ(ListFiles(folder.File("sub") + "/"), std::vector<std::string>{"inner"});
}

TEST(FileUtils, ListFilesLogsAFolderItCannotOpen) {
    TempFolder folder(true);
    WriteRawFile(folder.File("plain"), "p");
    EXPECT_TRUE(ListFiles(folder.File("nowhere")).empty());
    EXPECT_TRUE(ListFiles(folder.File("plain")).empty());
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              (std::vector<std::string>{folder.File("nowhere") + " accesso negato!",
                                        folder.File("plain") + " accesso negato!"}));
}
