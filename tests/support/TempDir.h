#pragma once

#include <climits>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <unistd.h>

// A fresh temporary folder that the test works in; the previous working directory comes back
// and the folder is removed when the object goes.
class TempDir {
public:
    TempDir() {
        char previous[PATH_MAX];
        if (getcwd(previous, sizeof previous) != nullptr) {
            oldDir = previous;
        }
        char pattern[] = "/tmp/brisgola-test-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            path = pattern;
            if (chdir(path.c_str()) != 0) {
                path.clear();
            }
        }
    }
    ~TempDir() {
        if (!oldDir.empty() && chdir(oldDir.c_str()) != 0) {
            return;
        }
        if (!path.empty()) {
            nftw(path.c_str(), Remove, 16, FTW_DEPTH | FTW_PHYS);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }

private:
    static int Remove(const char* file, const struct stat*, int, struct FTW*) {
        return remove(file);
    }
    std::string oldDir;
    std::string path;
};
