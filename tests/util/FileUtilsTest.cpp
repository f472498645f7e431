#include "util/FileUtils.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"
#include "util/TextFile.h"

namespace {

bool IsDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

TEST(FileUtils, ExistenceAndRemovalReportWhatHappened) {
    TempFolder folder;
    const std::string file = folder.File("a.txt");
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(RemoveFile(file));
    WriteRawFile(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(FileExists(file));
}

TEST(FileUtils, MakeDirIfMissingCreatesOnlyTheLastComponent) {
    TempFolder folder;
    const std::string dir = folder.File("new");
    EXPECT_TRUE(MakeDirIfMissing(dir));
    EXPECT_TRUE(IsDirectory(dir));
    WriteRawFile(dir + "/keep", "k");
    EXPECT_TRUE(MakeDirIfMissing(dir));
    EXPECT_TRUE(FileExists(dir + "/keep"));
    EXPECT_FALSE(MakeDirIfMissing(folder.File("missing/child")));
    EXPECT_FALSE(FileExists(folder.File("missing")));
}

TEST(FileUtils, MakeDirIfMissingFailsWhenAFileIsInTheWay) {
    TempFolder folder;
    const std::string file = folder.File("plain");
    WriteRawFile(file, "not a folder");
    EXPECT_FALSE(MakeDirIfMissing(file));
    EXPECT_EQ(ReadRawFile(file), "not a folder");
}

TEST(FileUtils, FileSizeIsTheByteCountOrZero) {
    TempFolder folder;
    const std::string file = folder.File("sized");
    WriteRawFile(file, std::string("ab\0cd\n", 6));
    EXPECT_EQ(FileSize(file), 6);
    WriteRawFile(file, "");
    EXPECT_EQ(FileSize(file), 0);
    EXPECT_EQ(FileSize(folder.File("missing")), 0);
}

TEST(FileUtils, GetDataFolderCreatesDataInTheWorkingDirectory) {
    TempFolder folder(true);
    EXPECT_FALSE(FileExists("Data"));
    EXPECT_EQ(GetDataFolder(), "Data");
    EXPECT_TRUE(IsDirectory(folder.File("Data")));
    WriteRawFile(folder.File("Data/Classifica.txt"), "00000010 Ada\n");
    EXPECT_EQ(GetDataFolder(), "Data");
    EXPECT_EQ(ReadRawFile(folder.File("Data/Classifica.txt")), "00000010 Ada\n");
    EXPECT_EQ(WithTrailingSlash(GetDataFolder()) + "Classifica.txt", "Data/Classifica.txt");
}

TEST(FileUtils, GetDirectoryPartRewritesBackslashesAndKeepsTheSeparator) {
    const struct {
        const char* path;
        const char* directory;
        const char* rewritten;
    } cases[] = {
        {"a\\b\\c.txt", "a/b/", "a/b/c.txt"},
        {"c:file", "c:", "c:file"},
        {"file.txt", "", "file.txt"},
        {"/abs/x.bmp", "/abs/", "/abs/x.bmp"},
        {"dir/", "dir/", "dir/"},
        {"c:\\dir\\f", "c:/dir/", "c:/dir/f"},
        {"", "", ""},
        {"/", "/", "/"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(GetDirectoryPart(path), c.directory) << c.path;
        EXPECT_EQ(path, c.rewritten) << c.path;
    }
}

TEST(FileUtils, GetFileNameDropsTheDirectoryAndLeavesTheArgument) {
    const std::string path = "dir\\sub\\file.txt";
    EXPECT_EQ(GetFileName(path), "file.txt");
    EXPECT_EQ(path, "dir\\sub\\file.txt");
    EXPECT_EQ(GetFileName("dir/sub/file.txt"), "file.txt");
    EXPECT_EQ(GetFileName("file"), "file");
    EXPECT_EQ(GetFileName("c:picture.bmp"), "picture.bmp");
    EXPECT_EQ(GetFileName("dir/"), "");
    EXPECT_EQ(GetPathSeparator(), '/');
}

TEST(FileUtils, WithTrailingSlashAddsOneOnlyWhenMissing) {
    EXPECT_EQ(WithTrailingSlash("Data"), "Data/");
    EXPECT_EQ(WithTrailingSlash("Data/"), "Data/");
    EXPECT_EQ(WithTrailingSlash("Data\\"), "Data\\");
    EXPECT_EQ(WithTrailingSlash("c:"), "c:");
    EXPECT_EQ(WithTrailingSlash(""), "");
}

TEST(FileUtils, EnsureSuffixComparesTheLowerCasedTail) {
    EXPECT_EQ(EnsureSuffix("picture", ".bmp"), "picture.bmp");
    EXPECT_EQ(EnsureSuffix("picture.bmp", ".bmp"), "picture.bmp");
    EXPECT_EQ(EnsureSuffix("PICTURE.BMP", ".bmp"), "PICTURE.BMP");
    EXPECT_EQ(EnsureSuffix("picture.bmp", ".BMP"), "picture.bmp.BMP");
    EXPECT_EQ(EnsureSuffix(".bmp", ".bmp"), ".bmp.bmp");
    EXPECT_EQ(EnsureSuffix("a", ".bmp"), "a.bmp");
    EXPECT_EQ(EnsureSuffix("", ".bmp"), "");
    EXPECT_EQ(EnsureSuffix("picture", ""), "picture");
}

TEST(FileUtils, CopyFileCopiesEveryByte) {
    TempFolder folder;
    std::string content;
    for (int i = 0; i < 30000; ++i) {
        content.push_back(static_cast<char>(i * 7));
    }
    WriteRawFile(folder.File("source"), content);
    WriteRawFile(folder.File("target"), "old and longer content that must go away entirely");
    EXPECT_TRUE(CopyFile(folder.File("source"), folder.File("target")));
    EXPECT_EQ(ReadRawFile(folder.File("target")), content);
    EXPECT_EQ(ReadRawFile(folder.File("source")), content);
}

TEST(FileUtils, CopyFileOntoItselfKeepsTheContent) {
    TempFolder folder;
    WriteRawFile(folder.File("same"), "precious");
    EXPECT_TRUE(CopyFile(folder.File("same"), folder.File("same")));
    EXPECT_EQ(ReadRawFile(folder.File("same")), "precious");
}

TEST(FileUtils, CopyFileFailsForMissingOrEmptySourceAndBadTarget) {
    TempFolder folder;
    EXPECT_FALSE(CopyFile(folder.File("missing"), folder.File("target")));
    EXPECT_FALSE(FileExists(folder.File("target")));
    WriteRawFile(folder.File("empty"), "");
    EXPECT_FALSE(CopyFile(folder.File("empty"), folder.File("target")));
    EXPECT_FALSE(FileExists(folder.File("target")));
    WriteRawFile(folder.File("source"), "data");
    EXPECT_FALSE(CopyFile(folder.File("source"), folder.File("no/such/folder")));
    EXPECT_FALSE(CopyFile(folder.Path(), folder.File("target")));
}

TEST(FileUtils, FileChecksumFoldsBytesIntoSixteenPositions) {
    TempFolder folder;
    const std::string file = folder.File("sum");
    WriteRawFile(file, "A");
    EXPECT_EQ(FileChecksum(file), "41" + std::string(30, '0'));

    // Byte i and byte i + 16 land on the same position: i ^ (i + 16) is 0x10 for i below 16.
    std::string counting;
    for (int i = 0; i < 32; ++i) {
        counting.push_back(static_cast<char>(i));
    }
    WriteRawFile(file, counting);
    std::string expected;
    for (int i = 0; i < 16; ++i) {
        expected += "10";
    }
    EXPECT_EQ(FileChecksum(file), expected);

    // 20485 bytes of 0x01, across three blocks: positions 0 to 4 get an odd count of them.
    WriteRawFile(file, std::string(20485, '\x01'));
    EXPECT_EQ(FileChecksum(file), "0101010101" + std::string(22, '0'));

    WriteRawFile(file, "");
    EXPECT_EQ(FileChecksum(file), std::string(32, '0'));
    EXPECT_EQ(FileChecksum(folder.File("missing")), "");
}

TEST(FileUtils, ListFilesAnswersRegularFilesOnly) {
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
    const std::string missing = folder.File("nowhere");
    EXPECT_TRUE(ListFiles(missing).empty());
    WriteRawFile(folder.File("plain"), "p");
    EXPECT_TRUE(ListFiles(folder.File("plain")).empty());
    TextFile log("log.txt");
    const std::vector<std::string> lines = log.ReadLines();
    EXPECT_EQ(lines, (std::vector<std::string>{missing + " accesso negato!",
                                               folder.File("plain") + " accesso negato!"}));
}
