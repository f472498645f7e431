// The high-score table on a file made from the input: whatever the file holds, loading keeps
// only entries, in the file's order, and adding a result stores exactly the best ten of
// those entries and the new one, best first, readable back as they were written.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "game/HighScoreTable.h"

namespace {

const char* const kFolder = "fuzz";
const char* const kFile = "Data/fuzz/Score/Classifica.txt";
const size_t kScoreWidth = 8;

// The file's lines as a reader that knows nothing of the table splits them, each less the
// carriage returns a file edited elsewhere may end it with.
std::vector<std::string> RawLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        std::string line = content.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool LooksLikeEntry(const std::string& line) {
    return line.size() > kScoreWidth && line[kScoreWidth] == ' ' &&
           line.find_first_not_of("0123456789-") >= kScoreWidth;
}

// The stored form of a result, worked out from the file format rather than taken from the
// table: the decimal score padded with zeros to eight characters, its last eight when longer.
std::string ExpectedEntry(int score, std::string name) {
    std::string digits = std::to_string(score);
    if (digits.size() < kScoreWidth) {
        digits.insert(0, kScoreWidth - digits.size(), '0');
    }
    std::replace(name.begin(), name.end(), '\n', ' ');
    std::replace(name.begin(), name.end(), '\r', ' ');
    return digits.substr(digits.size() - kScoreWidth) + " " + name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int score = input.ConsumeIntegral<int>();
    const std::string name = input.ConsumeRandomLengthString(40);
    const std::string content = input.ConsumeRemainingBytesAsString();

    HighScoreTable table(kFolder);
    Require(!ScoreFolder(kFolder).empty(), "the score folder can be made");
    WriteInputFile(kFile, content.data(), content.size());

    const std::vector<std::string> loaded = table.LoadScores();
    Require(!table.Failed(), "a readable file loads");
    std::vector<std::string> entries;
    for (const std::string& line : RawLines(content)) {
        if (LooksLikeEntry(line)) {
            entries.push_back(line);
        }
    }
    Require(loaded == entries, "loading keeps exactly the file's entries, in order");

    Require(table.AddScore(score, name), "a result can be added");
    std::vector<std::string> best = entries;
    best.push_back(ExpectedEntry(score, name));
    std::sort(best.begin(), best.end(), std::greater<std::string>());
    best.resize(std::min(best.size(), HighScoreTable::kMaxEntries));
    Require(table.LoadScores() == best, "the table keeps the best ten, best first");
    ClearLog();
    return 0;
}
