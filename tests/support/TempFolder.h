#pragma once

#include <cstdlib>
#include <ftw.h>
#include <stdio.h>
#include <string>
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
            nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        }
    }

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

  private:
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
