#pragma once

#include <optional>
#include <vector>

// What the benchmark measured, sample by sample, before it is summarised into the table.

// /proc gives memory in kB; the figures are in MB.
const double kKilobytesPerMegabyte = 1024;

// The launches of one program (the game or the floor), each figure in its unit.
struct LaunchFigures {
    std::vector<double> mapped;     // ms from exec
    std::vector<double> board;      // ms from exec
    std::vector<double> firstPaint; // ms from viewable to the full board
    std::vector<double> expose;
    std::vector<double> caption;
    std::vector<double> click;
    std::vector<double> idleCpu; // %
    std::vector<double> idleServerCpu;
    std::vector<double> idleWakeups;
    std::vector<double> peakRss; // MB
    std::vector<double> settledRss;
    std::vector<double> descriptors;
};

// The long game against the real game.
struct RoundFigures {
    std::vector<double> click; // ms from the click on a choice to the result picture
    std::vector<double> cpu;   // % per span
    std::vector<double> serverCpu;
    std::vector<double> wakeups;
    int played = 0;
    int games = 0;
    int mismatches = 0; // rounds whose hands and result the rules do not give
    std::optional<double> descriptorsBefore;
    std::optional<double> descriptorsAfter;
    std::optional<double> zombies;
    std::optional<double> children;
    std::optional<double> rss;
    std::optional<double> peakRss;
};

// Keystrokes: a character typed and on the screen, in the floor and in text boxes holding few
// and many characters, with the X requests the toolkit sent for each.
struct TypingFigures {
    std::vector<double> floor; // ms from the key to the glyph on the screen
    std::vector<double> shortBox;
    std::vector<double> longBox;
    std::vector<double> shortRequests;
    std::vector<double> longRequests;
};
