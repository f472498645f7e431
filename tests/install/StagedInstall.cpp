#include "install/StagedInstall.h"

#include <climits>
#include <cstdlib>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/RunningProgram.h"

namespace {

// nftw takes no context, so the walk in progress keeps its state here; tests are
// single-threaded.
std::map<std::string, std::string>* walkEntries = nullptr;
size_t walkRootLength = 0;

int RecordEntry(const char* path, const struct stat* status, int, struct FTW*) {
    const std::string full = path;
    if (full.size() <= walkRootLength) {
        return 0;
    }
    const std::string relative = full.substr(walkRootLength + 1);
    char mode[8];
    snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status->st_mode & 07777));
    if (S_ISLNK(status->st_mode)) {
        char target[4096];
        const ssize_t length = readlink(path, target, sizeof target - 1);
        (*walkEntries)[relative] = "l -> " + std::string(target, length > 0 ? length : 0);
    } else if (S_ISDIR(status->st_mode)) {
        (*walkEntries)[relative] = std::string("d ") + mode;
    } else if (S_ISREG(status->st_mode)) {
        (*walkEntries)[relative] = std::string("f ") + mode;
    } else {
        (*walkEntries)[relative] = std::string("? ") + mode;
    }
    return 0;
}

} // namespace

StagedInstall::StagedInstall(const std::string& installPrefix) : prefix(installPrefix) {
    if (folder.Path().empty()) {
        return;
    }
    const ProgramResult result =
        RunProgram({BRISGOLA_CMAKE, "--install", BRISGOLA_BUILD_DIR, "--prefix", prefix},
                   {"DESTDIR=" + Root()});
    installerOutput = result.output;
    succeeded = result.status == 0;
}

std::string StagedInstall::Installed(const std::string& relative) const {
    return Root() + prefix + "/" + relative;
}

std::string StagedInstall::MakeFolderBeside(const std::string& name) const {
    const std::string path = Beside(name);
    mkdir(path.c_str(), 0755);
    return path;
}

std::map<std::string, std::string> StagedInstall::SoundLinks() const {
    std::map<std::string, std::string> links;
    for (const char* sound : {"applauso.wav", "beep.wav", "risata.wav"}) {
        const std::string installed = Installed("share/games/brisgola/") + sound;
        char resolved[PATH_MAX];
        links[sound] =
            "l -> " + std::string(realpath(installed.c_str(), resolved) ? resolved : installed);
    }
    return links;
}

std::map<std::string, std::string> DescribeTree(const std::string& folder) {
    std::map<std::string, std::string> entries;
    walkEntries = &entries;
    walkRootLength = folder.size();
    nftw(folder.c_str(), RecordEntry, 16, FTW_PHYS);
    walkEntries = nullptr;
    return entries;
}

std::map<std::string, std::string> ExpectedGameTree() {
    const std::string folder = "d 0755";
    const std::string program = "f 0755";
    const std::string data = "f 0644";
    std::map<std::string, std::string> tree = {
        {"games", folder},
        {"games/brisgola", program},
        {"lib", folder},
        {"lib/games", folder},
        {"lib/games/brisgola", folder},
        {"lib/games/brisgola/brisgola", program},
        {"share", folder},
        {"share/applications", folder},
        {"share/applications/org.brisgola.Brisgola.desktop", data},
        {"share/doc", folder},
        {"share/doc/brisgola", folder},
        {"share/doc/brisgola/" BRISGOLA_CHANGELOG, data},
        {"share/doc/brisgola/copyright", data},
        {"share/games", folder},
        {"share/games/brisgola", folder},
        {"share/games/brisgola/applauso.wav", data},
        {"share/games/brisgola/beep.wav", data},
        {"share/games/brisgola/risata.wav", data},
        {"share/icons", folder},
        {"share/icons/hicolor", folder},
        {"share/man", folder},
        {"share/man/man6", folder},
        {"share/man/man6/" BRISGOLA_MAN_PAGE, data},
        {"share/metainfo", folder},
        {"share/metainfo/org.brisgola.Brisgola.metainfo.xml", data},
    };
    for (const char* size : {"48x48", "64x64", "128x128", "256x256"}) {
        const std::string sized = std::string("share/icons/hicolor/") + size;
        tree[sized] = folder;
        tree[sized + "/apps"] = folder;
        tree[sized + "/apps/org.brisgola.Brisgola.png"] = data;
    }
    return tree;
}
