#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

#include "support/RunningProgram.h"
#include "install/StagedInstall.h"
#include "support/TempFolder.h"

namespace {

const char* const kDesktopEntry = "share/applications/org.brisgola.Brisgola.desktop";
const char* const kMetainfo = "share/metainfo/org.brisgola.Brisgola.metainfo.xml";
const char* const kManualPage = "share/man/man6/" BRISGOLA_MAN_PAGE;
const char* const kChangelog = "share/doc/brisgola/" BRISGOLA_CHANGELOG;

// The value of a key in the desktop entry's main group.
std::string DesktopValue(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    std::string line;
    bool inMainGroup = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == '[') {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

bool IsCompressed(const std::string& name) {
    return name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0;
}

// A file as a reader sees it, compressed or not.
ProgramResult Uncompressed(const std::string& path) {
    return RunProgram(
        {IsCompressed(path) ? "gzip" : "cat", IsCompressed(path) ? "-dc" : "--", path});
}

} // namespace

TEST(InstallMetadata, DesktopEntryAndMetainfoPassTheirValidators) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();

    const ProgramResult desktop =
        RunProgram({"desktop-file-validate", staged.Installed(kDesktopEntry)});
    EXPECT_EQ(desktop.status, 0) << desktop.output;
    // It prints nothing at all when it has nothing to say, not even hints.
    EXPECT_EQ(desktop.output, "");

    const ProgramResult metainfo =
        RunProgram({"appstreamcli", "validate", "--no-net", staged.Installed(kMetainfo)});
    EXPECT_EQ(metainfo.status, 0) << metainfo.output;
    EXPECT_TRUE(Contains(metainfo.output, "Validation was successful")) << metainfo.output;
    std::istringstream lines(metainfo.output);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_NE(line.rfind("E:", 0), 0u) << line;
        EXPECT_NE(line.rfind("W:", 0), 0u) << line;
    }
}

TEST(InstallMetadata, DesktopEntryMetainfoIconsAndCommandNameOneAnother) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string entry = ReadRawFile(staged.Installed(kDesktopEntry));
    const std::string metainfo = ReadRawFile(staged.Installed(kMetainfo));

    EXPECT_EQ(DesktopValue(entry, "Name"), "Brisgola");
    // Desktops run Exec through PATH, on which Debian has /usr/games.
    EXPECT_EQ(DesktopValue(entry, "Exec"), "brisgola");
    EXPECT_TRUE(Exists(staged.Installed("games/brisgola")));
    const std::string icon = DesktopValue(entry, "Icon");
    EXPECT_EQ(icon, "org.brisgola.Brisgola");
    for (const char* size : {"48x48", "64x64", "128x128", "256x256"}) {
        EXPECT_TRUE(Exists(staged.Installed(std::string("share/icons/hicolor/") + size + "/apps/" +
                                            icon + ".png")))
            << size;
    }

    // Software centres join the metainfo to the desktop entry through the launchable.
    EXPECT_TRUE(Contains(metainfo, "<id>org.brisgola.Brisgola</id>"));
    EXPECT_TRUE(Contains(
        metainfo, "<launchable type=\"desktop-id\">org.brisgola.Brisgola.desktop</launchable>"));
    EXPECT_TRUE(Contains(metainfo, "<release version=\"" BRISGOLA_VERSION "\""))
        << "the newest release in the metainfo is not the project's version " BRISGOLA_VERSION;
}

TEST(InstallMetadata, ChangelogAndManualPageAreCompressedReproducibly) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    for (const char* relative : {kChangelog, kManualPage}) {
        SCOPED_TRACE(relative);
        const std::string bytes = ReadRawFile(staged.Installed(relative));
        if (IsCompressed(relative)) {
            ASSERT_GE(bytes.size(), 10u);
            EXPECT_EQ(bytes.substr(0, 2), "\x1f\x8b");
            // No file name and no time stamp in the header: two builds give the same bytes.
            EXPECT_EQ(bytes[3] & 0x08, 0) << "the header names the file";
            EXPECT_EQ(bytes.substr(4, 4), std::string(4, '\0')) << "the header carries a time";
        }
    }

    const ProgramResult changelog = Uncompressed(staged.Installed(kChangelog));
    EXPECT_EQ(changelog.status, 0) << changelog.output;
    EXPECT_EQ(changelog.output, ReadRawFile(BRISGOLA_SOURCE_DIR "/packaging/changelog"));
    EXPECT_EQ(changelog.output.rfind("brisgola (" BRISGOLA_VERSION ") ", 0), 0u)
        << "the newest changelog entry is not for the project's version " BRISGOLA_VERSION;
}

TEST(InstallMetadata, ManualPageRendersWithoutWarnings) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string page = staged.Installed(kManualPage);
    const std::string reader = IsCompressed(page) ? "gzip -dc" : "cat";
    const ProgramResult lint =
        RunProgram({"sh", "-c", reader + " \"$1\" | groff -man -ww -z", "sh", page});
    EXPECT_EQ(lint.status, 0) << lint.output;
    EXPECT_EQ(lint.output, "");

    const ProgramResult shown = RunProgram({"man", "-l", page}, {"MANWIDTH=80", "LANG=C.UTF-8"});
    EXPECT_EQ(shown.status, 0) << shown.output;
    for (const char* part :
         {"brisgola - rock, paper, scissors against the computer", "SYNOPSIS", "DESCRIPTION",
          "START", "CANCEL", "FILES", "ENVIRONMENT", "XDG_DATA_HOME", "SEE ALSO", "aplay(1)",
          "Brisgola " BRISGOLA_VERSION}) {
        EXPECT_TRUE(Contains(shown.output, part)) << part << " is not in\n" << shown.output;
    }
}
