#include "install/StagedInstall.h"

#include <cstdio>
#include <filesystem>

#include "tools/harness/RunningProgram.h"

namespace fs = std::filesystem;

StagedInstall::StagedInstall(const std::string& installPrefix) : prefix(installPrefix) {
    // Without a folder of its own DESTDIR would name a folder of the machine's.
    if (folder.Path().empty()) {
        return;
    }
    const ProgramResult result =
        RunProgram({BRISGOLA_CMAKE, "--install", BRISGOLA_BUILD_DIR, "--prefix", prefix},
                   {"DESTDIR=" + Root()});
    installerOutput = result.output;
    succeeded = result.status == 0;
}

std::string StagedInstall::MakeFolderBeside(const std::string& name) const {
    fs::create_directory(Beside(name));
    return Beside(name);
}

std::map<std::string, std::string> StagedInstall::SoundLinks() const {
    std::map<std::string, std::string> links;
    for (const char* sound : kSounds) {
        links[sound] =
            "l -> " + fs::weakly_canonical(Installed("share/games/brisgola/") + sound).string();
    }
    return links;
}

std::map<std::string, std::string> DescribeTree(const std::string& folder) {
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::file_status status = entry->symlink_status();
        char mode[8];
        snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.permissions()) & 07777u);
        tree[entry->path().lexically_relative(folder).string()] =
            fs::is_symlink(status)        ? "l -> " + fs::read_symlink(entry->path()).string()
            : fs::is_directory(status)    ? std::string("d ") + mode
            : fs::is_regular_file(status) ? std::string("f ") + mode
                                          : std::string("? ") + mode;
    }
    return tree;
}

std::map<std::string, std::string> ExpectedGameTree(const std::string& prefix) {
    std::vector<std::string> files = {"games/brisgola",
                                      "lib/games/brisgola/brisgola",
                                      "share/applications/org.brisgola.Brisgola.desktop",
                                      "share/doc/brisgola/" BRISGOLA_CHANGELOG,
                                      "share/doc/brisgola/copyright",
                                      "share/man/man6/" BRISGOLA_MAN_PAGE,
                                      "share/metainfo/org.brisgola.Brisgola.metainfo.xml"};
    for (const char* sound : kSounds) {
        files.push_back(std::string("share/games/brisgola/") + sound);
    }
    for (const char* size : kIconSizes) {
        files.push_back(std::string("share/icons/hicolor/") + size +
                        "/apps/org.brisgola.Brisgola.png");
    }
    std::map<std::string, std::string> tree;
    for (const std::string& file : files) {
        // Programs outside share/, data inside it, and plain folders on the way to both.
        const std::string path = fs::path(prefix).relative_path().string() + "/" + file;
        tree[path] = file.rfind("share/", 0) == 0 ? "f 0644" : "f 0755";
        for (size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            tree[path.substr(0, slash)] = "d 0755";
        }
    }
    return tree;
}
