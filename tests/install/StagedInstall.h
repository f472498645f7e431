#pragma once

#include <map>
#include <string>

#include "support/TempFolder.h"

// The game as "cmake --install" lays it out, installed from the build folder under test into
// a temporary staging folder (DESTDIR) the way a packager does it. Beside the staging tree
// the temporary folder has room for a player's home, a current folder and the like; all of it
// goes with the object.
class StagedInstall {
  public:
    explicit StagedInstall(const std::string& prefix = "/usr");

    bool Succeeded() const { return succeeded; }
    const std::string& InstallerOutput() const { return installerOutput; }
    // The staging folder: what DESTDIR named.
    std::string Root() const { return folder.File("root"); }
    // An installed path, given relative to the prefix ("games/brisgola").
    std::string Installed(const std::string& relative) const {
        return Root() + prefix + "/" + relative;
    }
    // A path beside the staging tree, for the test's own use, and an empty folder made there.
    std::string Beside(const std::string& name) const { return folder.File(name); }
    std::string MakeFolderBeside(const std::string& name) const;
    // Data/ as the launcher makes it for this install, described as DescribeTree does: a link
    // to each installed sound, by its real path.
    std::map<std::string, std::string> SoundLinks() const;

  private:
    TempFolder folder;
    std::string prefix;
    bool succeeded = false;
    std::string installerOutput;
};

inline const char* const kSounds[] = {"applauso.wav", "beep.wav", "risata.wav"};
inline const char* const kIconSizes[] = {"48x48", "64x64", "128x128", "256x256"};

// Every entry under a folder, by its path relative to that folder, described as "d 0755",
// "f 0644" or "l -> target"; the folder itself is left out.
std::map<std::string, std::string> DescribeTree(const std::string& folder);
// The game's installed files under the prefix ("/usr") as DescribeTree describes the staging
// folder, with every folder on the way to them.
std::map<std::string, std::string> ExpectedGameTree(const std::string& prefix);
