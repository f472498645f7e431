#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <unistd.h>

#include "support/RunningProgram.h"
#include "install/StagedInstall.h"
#include "support/TempFolder.h"

namespace {

const char* const kSounds[] = {"applauso.wav", "beep.wav", "risata.wav"};

// The differences between two trees as lines a reader can act on.
std::string TreeDifferences(const std::map<std::string, std::string>& expected,
                            const std::map<std::string, std::string>& actual) {
    std::ostringstream report;
    for (const auto& [path, description] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            report << "missing: " << path << " (" << description << ")\n";
        } else if (found->second != description) {
            report << "wrong: " << path << " is " << found->second << ", not " << description
                   << "\n";
        }
    }
    for (const auto& [path, description] : actual) {
        if (expected.count(path) == 0) {
            report << "unexpected: " << path << " (" << description << ")\n";
        }
    }
    return report.str();
}

std::map<std::string, std::string> UnderPrefix(const std::string& prefix) {
    std::map<std::string, std::string> tree;
    std::string folder;
    std::istringstream parts(prefix);
    std::string part;
    while (std::getline(parts, part, '/')) {
        if (!part.empty()) {
            folder += (folder.empty() ? "" : "/") + part;
            tree[folder] = "d 0755";
        }
    }
    for (const auto& [path, description] : ExpectedGameTree()) {
        tree[folder + "/" + path] = description;
    }
    return tree;
}

} // namespace

TEST(InstallTree, HoldsExactlyTheGameUnderThePrefixWithItsModes) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();

    const std::string differences =
        TreeDifferences(UnderPrefix("/usr"), DescribeTree(staged.Root()));
    EXPECT_TRUE(differences.empty()) << differences;

    EXPECT_EQ(ReadRawFile(staged.Installed("games/brisgola")).rfind("#!/bin/sh\n", 0), 0u);
    const std::string elfMagic = "\x7f"
                                 "ELF";
    EXPECT_EQ(ReadRawFile(staged.Installed("lib/games/brisgola/brisgola")).substr(0, 4), elfMagic);
    for (const char* sound : kSounds) {
        const std::string installed =
            ReadRawFile(staged.Installed("share/games/brisgola/") + sound);
        EXPECT_FALSE(installed.empty()) << sound;
        EXPECT_EQ(installed,
                  ReadRawFile(std::string(BRISGOLA_SOURCE_DIR "/assets/sounds/") + sound))
            << sound;
    }

    // The package's copyright file carries the licence word for word, each line indented as
    // Debian's format wants it.
    const std::string copyright = ReadRawFile(staged.Installed("share/doc/brisgola/copyright"));
    EXPECT_NE(copyright.find("License: Expat"), std::string::npos) << copyright;
    std::istringstream licence(ReadRawFile(BRISGOLA_SOURCE_DIR "/LICENSE"));
    std::string line;
    while (std::getline(licence, line)) {
        if (!line.empty()) {
            EXPECT_NE(copyright.find("\n " + line + "\n"), std::string::npos) << line;
        }
    }
}

TEST(InstallTree, InstallsEachIconInTheFolderOfItsSize) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    for (unsigned size : {48u, 64u, 128u, 256u}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::string png = ReadRawFile(
            staged.Installed("share/icons/hicolor/" + name + "/apps/org.brisgola.Brisgola.png"));
        ASSERT_GE(png.size(), 26u) << name;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
        EXPECT_EQ(png.substr(12, 4), "IHDR") << name;
        auto bigEndian = [&png](size_t at) {
            return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
                   (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
                   (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
                   static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
        };
        EXPECT_EQ(bigEndian(16), size) << name << " width";
        EXPECT_EQ(bigEndian(20), size) << name << " height";
        // Colour type 6 is RGB with alpha: the wide logo sits on a clear background.
        EXPECT_EQ(png[25], 6) << name;
    }
}

TEST(InstallTree, LauncherFollowsTheInstallToAnyPrefixAndThroughALink) {
    StagedInstall staged("/opt/brisgola");
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string differences =
        TreeDifferences(UnderPrefix("/opt/brisgola"), DescribeTree(staged.Root()));
    EXPECT_TRUE(differences.empty()) << differences;

    // Called as a command on PATH often is: through a link in another folder.
    const std::string bin = staged.MakeFolderBeside("bin");
    ASSERT_EQ(symlink(staged.Installed("games/brisgola").c_str(), (bin + "/brisgola").c_str()), 0);
    const std::string home = staged.MakeFolderBeside("home");
    const std::string current = staged.MakeFolderBeside("current");
    // Without a display the game gives up at once, after it has written its log.
    const ProgramResult result =
        RunProgram({bin + "/brisgola"}, {"DISPLAY", "XDG_DATA_HOME", "HOME=" + home}, current);
    EXPECT_NE(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("XOpenDisplay"), std::string::npos) << result.output;

    const std::string work = home + "/.local/share/brisgola";
    EXPECT_NE(ReadRawFile(work + "/log.txt").find("XOpenDisplay"), std::string::npos);
    EXPECT_EQ(DescribeTree(work + "/Data"), staged.SoundLinks());
    EXPECT_TRUE(DescribeTree(current).empty());
}
