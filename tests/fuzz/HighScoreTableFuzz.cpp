// The high-score table on a file made from the input: whatever the file holds, loading keeps
// only entries, in the file's order, and adding a result stores exactly the best ten of
// those entries and the new one, best first, readable back as they were written.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <fuzzer/FuzzedDataProvider.h>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "game/HighScoreTable.h"

namespace {

const size_t kScoreWidth = 8;

// The stored form of a result, worked out from the file format rather than taken from the
// table: the decimal score padded with zeros to eight characters, its last eight when longer.
std::string ExpectedEntry(int score, std::string name) {
    std::string digits = std::to_string(score);
    digits.insert(0, kScoreWidth - std::min(digits.size(), kScoreWidth), '0');
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

    HighScoreTable table("fuzz");
    const std::string folder = ScoreFolder("fuzz");
    Require(!folder.empty(), "the score folder can be made");
    WriteInputFile((folder + "Classifica.txt").c_str(), content.data(), content.size());
    const std::vector<std::string> loaded = table.LoadScores();
    Require(!table.Failed(), "a readable file loads");

    // An entry is eight characters of digits and minus signs, a blank and a name; a file
    // edited elsewhere may end its lines with carriage returns.
    std::vector<std::string> entries;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        line.erase(line.find_last_not_of('\r') + 1);
        if (line.size() > kScoreWidth && line[kScoreWidth] == ' ' &&
            line.find_first_not_of("0123456789-") >= kScoreWidth) {
            entries.push_back(line);
        }
    }
    Require(loaded == entries, "loading keeps exactly the file's entries, in order");

    Require(table.AddScore(score, name), "a result can be added");
    entries.push_back(ExpectedEntry(score, name));
    std::sort(entries.begin(), entries.end(), std::greater<std::string>());
    entries.resize(std::min(entries.size(), HighScoreTable::kMaxEntries));
    Require(table.LoadScores() == entries, "the table keeps the best ten, best first");
    unlink("log.txt");
    return 0;
}
