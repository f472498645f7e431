#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <unistd.h>

#include "install/StagedInstall.h"
#include "support/TempFolder.h"
#include "tools/harness/RunningProgram.h"

// Which files are installed, with which modes, is checked on the package and
// under another prefix; these tests look into the files.

namespace {

// The first group the pattern captures in the text, or empty.
std::string Captured(const std::string& text, const char* pattern) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : "";
}

} // namespace

TEST(InstallTree, InstallsEachIconAtItsSizeAndTheLicenceAsDebianWantsIt) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    for (const std::string name : kIconSizes) {
        const std::string png = ReadWholeFile(
            staged.Installed("share/icons/hicolor/" + name + "/apps/org.brisgola.Brisgola.png"));
        // The signature, the width and height big-endian, then colour type 6, RGB
        // with alpha: the wide logo sits on a clear background.
        const int size = std::stoi(name);
        const std::string side = {0, 0, static_cast<char>(size >> 8), static_cast<char>(size)};
        EXPECT_EQ(png.substr(0, 24),
                  std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + side + side);
        EXPECT_EQ(png.substr(25, 1), "\x06") << name;
    }
    // The copyright file carries the licence word for word, each line indented
    // and each blank line a dot, as Debian's format wants it.
    const std::string copyright = ReadWholeFile(staged.Installed("share/doc/brisgola/copyright"));
    std::istringstream licence(ReadWholeFile(BRISGOLA_SOURCE_DIR "/LICENSE"));
    for (std::string line; std::getline(licence, line);) {
        EXPECT_NE(copyright.find("\n " + (line.empty() ? "." : line) + "\n"), std::string::npos)
            << line;
    }
}

TEST(InstallMetadata, NameOneAnotherCarryTheVersionAndPassTheirCheckersSilently) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string metainfo =
        staged.Installed("share/metainfo/org.brisgola.Brisgola.metainfo.xml");
    const std::string about = ReadWholeFile(metainfo);
    const std::string id = Captured(about, "<id>(.*)</id>");
    // Software centres join the metainfo to the desktop entry through the
    // launchable.
    EXPECT_EQ(Captured(about, "<launchable type=\"desktop-id\">(.*)</launchable>"),
              id + ".desktop");
    EXPECT_EQ(Captured(about, "<release version=\"([^\"]*)\""), BRISGOLA_VERSION)
        << "the newest release in the metainfo is not the project's version";
    const std::string desktop = staged.Installed("share/applications/" + id + ".desktop");
    const std::string entry = ReadWholeFile(desktop);
    // Desktops run Exec through PATH, on which Debian has /usr/games.
    const std::string command = staged.Installed("games/" + Captured(entry, "\nExec=(\\S+)"));
    EXPECT_EQ(access(command.c_str(), X_OK), 0) << command;
    // The validators print nothing at all when they have nothing to say, not even
    // hints.
    const ProgramResult entryCheck = RunProgram({"desktop-file-validate", desktop});
    EXPECT_TRUE(entryCheck.status == 0 && entryCheck.output.empty()) << entryCheck.output;
    const ProgramResult aboutCheck = RunProgram({"appstreamcli", "validate", "--no-net", metainfo});
    EXPECT_EQ(aboutCheck.status, 0) << aboutCheck.output;
    EXPECT_FALSE(std::regex_search("\n" + aboutCheck.output, std::regex("\n[EW]:")))
        << aboutCheck.output;
    // The changelog and the manual page are compressed reproducibly and read
    // cleanly.
    const std::string changelog = staged.Installed("share/doc/brisgola/" BRISGOLA_CHANGELOG);
    const std::string page = staged.Installed("share/man/man6/" BRISGOLA_MAN_PAGE);
    for (const std::string& path : {changelog, page}) {
        // No file name and no time in a gzip header: two builds give the same
        // bytes.
        if (path.rfind(".gz") == path.size() - 3) {
            EXPECT_EQ(ReadWholeFile(path).substr(0, 8), std::string("\x1f\x8b\x08\0\0\0\0\0", 8))
                << path;
        }
    }
    // gzip -dcf passes a file that is not compressed through as it is.
    EXPECT_EQ(
        RunProgram({"gzip", "-dcf", changelog}).output.rfind("brisgola (" BRISGOLA_VERSION ") ", 0),
        0u)
        << "the newest changelog entry is not for the project's version";
    const ProgramResult lint =
        RunProgram({"sh", "-c", "gzip -dcf \"$1\" | groff -man -ww -z", "sh", page});
    EXPECT_TRUE(lint.status == 0 && lint.output.empty()) << lint.output;
}
