#pragma once

#include <cstdlib>
#include <ftw.h>
#include <stdio.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tools/harness/WholeFile.h"

// A fresh folder for one test, removed with everything in it at the end. A test that enters it
// runs with it as the working directory and gets the previous one back afterwards.
class TempFolder {
  public:
    explicit TempFolder(bool enter = false) {
        char pattern[] = "/tmp/brisgola-test-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
            return;
        }
        path = pattern;
        if (enter) {
            char* current = getcwd(nullptr, 0);
            if (current != nullptr && chdir(path.c_str()) == 0) {
                previous = current;
            } else {
                ADD_FAILURE() << "cannot enter " << path;
            }
            std::free(current);
        }
    }

    ~TempFolder() {
        if (!previous.empty() && chdir(previous.c_str()) != 0) {
            ADD_FAILURE() << "cannot return to " << previous;
        }
        if (!path.empty()) {
            // A test may have locked a folder inside; opening them all again first lets the
            // removal walk into every one of them.
            nftw(path.c_str(), OpenFolder, 16, FTW_PHYS);
            nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        }
    }

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

  private:
    static int OpenFolder(const char* entry, const struct stat*, int type, struct FTW*) {
        if (type == FTW_D || type == FTW_DNR) {
            chmod(entry, 0700);
        }
        return 0;
    }
    static int RemoveEntry(const char* entry, const struct stat*, int, struct FTW*) {
        return remove(entry);
    }

    std::string path;
    std::string previous;
};

// Writes bytes to a file exactly as given, bypassing the code under test.
inline void WriteRawFile(const std::string& path, const std::string& content) {
    ASSERT_TRUE(WriteWholeFile(path, content)) << path;
}

// Permissions bind only an ordinary user: root reads and writes every file, so a test of what
// the program does with a file it may not read or write must not run as root.
inline testing::AssertionResult RunsAsOrdinaryUser() {
    if (geteuid() != 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "permissions do not bind root: run as an ordinary user";
}

// What is at a path, as a write or a rename could change it: the file itself (its inode), its
// type, permissions and size, and a plain file's bytes or a link's target. Equal prints mean
// the path was left alone.
inline std::string PathPrint(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        return "nothing";
    }
    std::string print = std::to_string(info.st_ino) + " " + std::to_string(info.st_mode) + " " +
                        std::to_string(info.st_size) + ":";
    if (S_ISREG(info.st_mode)) {
        print += ReadWholeFile(path);
    } else if (S_ISLNK(info.st_mode)) {
        char target[256];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        print.append(target, length > 0 ? static_cast<size_t>(length) : 0);
    }
    return print;
}
