#include "util/FileUtils.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "util/BinaryFile.h"
#include "util/Log.h"
#include "util/StringUtils.h"

namespace {

const char* const kDataFolder = "Data";
const size_t kChecksumBlock = 10240;
const size_t kChecksumLength = 16;

bool IsDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

bool FileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsMissing(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool MakeDirIfMissing(const std::string& path) {
    // Something that exists but is not a directory cannot hold files: that is a failure, not
    // a folder that is already there.
    if (FileExists(path)) {
        return IsDirectory(path);
    }
    if (mkdir(path.c_str(), 0777) == 0) {
        return true;
    }
    return errno == EEXIST && IsDirectory(path);
}

int64_t FileSize(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return 0;
    }
    return static_cast<int64_t>(info.st_size);
}

std::string GetDataFolder() {
    if (!FileExists(kDataFolder)) {
        MakeDirIfMissing(kDataFolder);
    }
    return kDataFolder;
}

std::string GetDirectoryPart(std::string& path) {
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    size_t end = path.rfind('/');
    if (end == std::string::npos) {
        end = path.rfind(':');
    }
    if (end == std::string::npos) {
        return std::string();
    }
    return path.substr(0, end + 1);
}

std::string GetFileName(const std::string& path) {
    std::string copy = path;
    const std::string directory = GetDirectoryPart(copy);
    return copy.substr(directory.size());
}

char GetPathSeparator() {
    return '/';
}

std::string WithTrailingSlash(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    const char last = path.back();
    if (last == '/' || last == '\\' || last == ':') {
        return path;
    }
    return path + "/";
}

std::string EnsureSuffix(const std::string& text, const std::string& suffix) {
    if (text.empty() || suffix.empty()) {
        return text;
    }
    // Only the text is folded to lower case, so a lower-case suffix matches "PICTURE.BMP" too.
    if (suffix.size() < text.size() && EndsWith(ToLower(text), suffix)) {
        return text;
    }
    return text + suffix;
}

bool CopyFile(const std::string& source, const std::string& target) {
    const int64_t size = FileSize(source);
    if (size <= 0) {
        return false;
    }
    const size_t length = static_cast<size_t>(size);
    std::unique_ptr<char[]> content(new (std::nothrow) char[length]);
    if (!content) {
        return false;
    }
    {
        // The source is read completely and closed before the target is opened: copying a
        // file onto itself then rewrites the same bytes instead of truncating them away.
        BinaryFile input(source, BinaryFile::Mode::Read);
        if (input.Read(content.get(), length) != length || !input.Close()) {
            return false;
        }
    }
    BinaryFile output(target, BinaryFile::Mode::Write);
    output.Write(content.get(), length);
    return output.Close();
}

std::string FileChecksum(const std::string& path) {
    BinaryFile input(path, BinaryFile::Mode::Read);
    if (input.HasOpenFailed()) {
        return std::string();
    }
    unsigned char sum[kChecksumLength] = {};
    std::unique_ptr<unsigned char[]> block(new unsigned char[kChecksumBlock]);
    size_t count;
    while ((count = input.Read(block.get(), kChecksumBlock)) > 0) {
        for (size_t i = 0; i < count; ++i) {
            sum[i % kChecksumLength] ^= block[i];
        }
    }
    // A file that could not be read to its end has no checksum; all zeros would be a lie.
    if (!input.Close()) {
        return std::string();
    }
    std::string hex;
    for (unsigned char byte : sum) {
        hex += ByteToHex(byte);
    }
    return hex;
}

std::vector<std::string> ListFiles(const std::string& directory) {
    std::vector<std::string> names;
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* opened = fd >= 0 ? fdopendir(fd) : nullptr;
    if (opened == nullptr) {
        if (fd >= 0) {
            close(fd);
        }
        LogString(directory + " accesso negato!");
        return names;
    }
    std::unique_ptr<DIR, DirCloser> dir(opened);
    const std::string prefix = WithTrailingSlash(directory);
    while (const dirent* entry = readdir(dir.get())) {
        bool regular = entry->d_type == DT_REG;
        // Some file systems do not report the type, and a link may lead to a regular file:
        // ask the file itself then.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            const std::string full = prefix + entry->d_name;
            regular = stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) {
            names.push_back(entry->d_name);
        }
    }
    return names;
}
