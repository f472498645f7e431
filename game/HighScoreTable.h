#pragma once

#include <string>
#include <vector>

// The ten best results, each a score and a player's name, kept in
// Data/<folder>/Score/Classifica.txt: one line per entry, best first, each the score as eight
// characters ("00000010"), a blank and the name. A save replaces the whole file in one step,
// so the old table survives any failure on the way.
class HighScoreTable {
  public:
    static constexpr size_t kMaxEntries = 10;

    explicit HighScoreTable(std::string folder);

    bool Failed() const { return failed; }
    // The entries as stored; none when there is no file yet (not a failure). A table that is
    // there but cannot be read, or is not a plain file, fails the load. Lines that are not
    // entries are left out, so that nothing but a result can push a result off the table.
    std::vector<std::string> LoadScores();
    // Sorts best first, keeps ten and writes them; false when nothing could be written, and
    // then the file is as it was. A table the player may not write is never replaced.
    bool SaveScores(std::vector<std::string> lines);
    // Adds one result; false when the table could not be read or written.
    bool AddScore(int score, const std::string& name);

    // The line of one result: the score padded with zeros to eight characters (the last eight
    // of a longer one), a blank and the name, its line breaks turned into blanks.
    static std::string FormatEntry(int score, const std::string& name);

  private:
    std::string folder;
    bool failed = false;
};

// Data/<folder>/Score/, made as needed; empty when a folder cannot be made.
std::string ScoreFolder(const std::string& folder);
