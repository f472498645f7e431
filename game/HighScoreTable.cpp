#include "game/HighScoreTable.h"

#include <algorithm>
#include <functional>

#include "util/FileUtils.h"
#include "util/StringUtils.h"
#include "util/TextFile.h"

namespace {

const char* const kScoreFile = "Classifica.txt";
const size_t kScoreWidth = 8;

// An entry is eight characters of score (digits, and a minus sign where a negative one put
// it), a blank and a name.
bool IsEntry(const std::string& line) {
    if (line.size() <= kScoreWidth || line[kScoreWidth] != ' ') {
        return false;
    }
    return std::all_of(line.begin(), line.begin() + kScoreWidth,
                       [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

} // namespace

std::string ScoreFolder(const std::string& folder) {
    std::string path = "Data";
    if (!FileExists(path)) {
        MakeDirIfMissing(path);
    }
    for (const std::string& part : {folder, std::string("Score")}) {
        path = WithTrailingSlash(path) + part;
        if (!FileExists(path) && !MakeDirIfMissing(path)) {
            return "";
        }
    }
    return WithTrailingSlash(path);
}

HighScoreTable::HighScoreTable(std::string folder) : folder(std::move(folder)) {}

std::vector<std::string> HighScoreTable::LoadScores() {
    failed = false;
    std::vector<std::string> entries;
    const std::string directory = ScoreFolder(folder);
    if (directory.empty()) {
        failed = true;
        return entries;
    }
    const std::string path = directory + kScoreFile;
    if (IsMissing(path)) {
        return entries;
    }
    // A table that is there but cannot be read is not an empty one: taken as empty, the next
    // save would put a single result in place of all the others. Anything but a plain file
    // (a folder, a link, a pipe that would block the read) is not the table either.
    if (!IsRegularFile(path)) {
        failed = true;
        return entries;
    }
    TextFile file(path);
    for (std::string line : file.ReadLines()) {
        // A file edited elsewhere may end its lines with CR LF. Every trailing CR goes, not
        // just one: a kept one would be written back and then dropped by the next load, so
        // the table would change each time it is saved. No stored name ends in a CR anyway,
        // since FormatEntry turns them into blanks.
        while (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (IsEntry(line)) {
            entries.push_back(std::move(line));
        }
    }
    failed = file.HasError();
    return entries;
}

bool HighScoreTable::SaveScores(std::vector<std::string> lines) {
    failed = false;
    // Whole lines compared as bytes, greatest first: the highest score leads, and equal scores
    // go by name.
    std::sort(lines.begin(), lines.end(), std::greater<std::string>());
    if (lines.size() > kMaxEntries) {
        lines.resize(kMaxEntries);
    }
    const std::string directory = ScoreFolder(folder);
    if (directory.empty()) {
        failed = true;
        return false;
    }
    TextFile file(directory + kScoreFile);
    if (!file.ReplaceLines(lines)) {
        failed = true;
        return false;
    }
    return true;
}

bool HighScoreTable::AddScore(int score, const std::string& name) {
    std::vector<std::string> lines = LoadScores();
    if (failed) {
        return false;
    }
    lines.push_back(FormatEntry(score, name));
    return SaveScores(std::move(lines));
}

std::string HighScoreTable::FormatEntry(int score, const std::string& name) {
    const std::string digits = PadLeft(std::to_string(score), '0', static_cast<int>(kScoreWidth));
    // A name is one line of the file: a line break in it would make a second, false entry.
    std::string oneLine = name;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
    return digits.substr(digits.size() - kScoreWidth) + " " + oneLine;
}
