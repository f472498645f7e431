#pragma once

#include <string>
#include <vector>

#include "bench/BenchSession.h"

// Keystrokes into the floor and into text boxes holding 10 and 1,500 characters: each is
// timed from the key to its glyph on the screen, and the toolkit's programs also report the X
// requests each key cost. Nothing is measured without a text-box program.
class TypingBench {
  public:
    explicit TypingBench(BenchSession& session);

    void Run();

  private:
    // Times keystrokes into the program, whose glyphs appear in textColor, and reads the X
    // requests of each from its output when it reports them.
    void Measure(const std::vector<std::string>& command, const std::string& name,
                 unsigned long textColor, std::vector<double>& samples,
                 std::vector<double>* requests);

    BenchSession& session;
};
