#include "bench/BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace {

std::string CpuModel() {
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    while (std::getline(info, line)) {
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown CPU";
}

std::string Today() {
    char text[64];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// Whether the game's sounds reach a player: with none on the PATH each sound's shell ends at
// once, which makes the running game's children and CPU look cheaper than on a desktop.
std::string SoundPlayerNote() {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/aplay";
        if (end > start && access(candidate.c_str(), X_OK) == 0) {
            const bool soundDevice = access("/dev/snd", F_OK) == 0;
            return "Sounds are played by " + candidate +
                   (soundDevice ? "." : "; with no sound device here each one ends at once.");
        }
        start = end + 1;
    }
    return "No aplay on the PATH: each sound's shell ends at once.";
}

Summary Single(const std::optional<double>& value) {
    return value ? Summarise({*value}) : Summary{};
}

// The 90th percentile in the place of the median, so that a row can hold the tails against
// each other.
Summary Ninetieth(const Summary& summary) {
    Summary tail = summary;
    tail.median = summary.ninetieth;
    return tail;
}

} // namespace

ResultTable BenchReport::MakeTable() const {
    using Target = ResultTable::Target;
    const std::string roundsText = std::to_string(rounds.played) + " rounds";
    char idleText[32];
    std::snprintf(idleText, sizeof idleText, "%g s", options.idleSeconds);
    char windowText[32];
    std::snprintf(windowText, sizeof windowText, "%g s", options.windowSeconds);

    ResultTable table;
    table.AddHeading("Brisgola against a bare-Xlib floor and a minimal client, " + Today());
    table.AddHeading("machine: " + CpuModel() + ", " +
                     std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " CPUs; " + server);
    table.AddHeading("launches: " + std::to_string(options.launches) + " of each program (" +
                     std::to_string(options.runs) +
                     " with an idle span), alternating, after one warm-up each");
    table.AddHeading("long game: " + roundsText + " in " + std::to_string(rounds.games) +
                     " games, played with real clicks");
    table.AddHeading("each figure: median [min, max] over n samples (Brisgola/floor/minimal); "
                     "ratio = Brisgola median / the other's median");

    table.AddRow({"exec to window mapped", "ms", 2, Summarise(game.mapped), Summarise(floor.mapped),
                  Target::kNone, 0, Summarise(minimal.mapped)});
    table.AddRow({"exec to full idle board on screen", "ms", 2, Summarise(game.board),
                  Summarise(floor.board), Target::kRatioAtMost, 1.3, Summarise(minimal.board),
                  1.4});
    table.AddRow({"  of which window mapped to full board", "ms", 2, Summarise(game.firstPaint),
                  Summarise(floor.firstPaint), Target::kNone, 0, Summarise(minimal.firstPaint)});
    const Summary gameClicks = Summarise(rounds.click);
    const Summary floorClicks = Summarise(floor.click);
    table.AddRow({"click on a choice to result picture", "ms", 2, gameClicks, floorClicks,
                  Target::kRatioAtMost, 1.5});
    table.AddRow({"  90th percentile of those clicks", "ms", 2, Ninetieth(gameClicks),
                  Ninetieth(floorClicks), Target::kRatioAtMost, 2.0});
    table.AddRow({"click on START to CANCEL caption", "ms", 2, Summarise(game.caption),
                  Summarise(floor.caption)});
    table.AddRow({"full repaint after Expose of the window", "ms", 2, Summarise(game.expose),
                  Summarise(floor.expose), Target::kNone, 0, Summarise(minimal.expose)});
    table.AddRow({std::string("idle CPU over ") + idleText + ", no game", "%", 2,
                  Summarise(game.idleCpu), Summarise(floor.idleCpu), Target::kGameMaxAtMost, 0,
                  Summarise(minimal.idleCpu)});
    table.AddRow({std::string("  X server CPU over the same span"), "%", 2,
                  Summarise(game.idleServerCpu), Summarise(floor.idleServerCpu), Target::kNone, 0,
                  Summarise(minimal.idleServerCpu)});
    table.AddRow({std::string("  wakeups (context switches) in it"), "", 0,
                  Summarise(game.idleWakeups), Summarise(floor.idleWakeups), Target::kNone, 0,
                  Summarise(minimal.idleWakeups)});
    table.AddRow({std::string("CPU per ") + windowText + " of a running game", "%", 2,
                  Summarise(rounds.cpu), Summary{}});
    table.AddRow({std::string("  X server CPU over the same spans"), "%", 2,
                  Summarise(rounds.serverCpu), Summary{}});
    table.AddRow({std::string("  wakeups (context switches) in them"), "", 0,
                  Summarise(rounds.wakeups), Summary{}});
    table.AddRow({"peak RSS (VmHWM) at the idle board", "MB", 2, Summarise(game.peakRss),
                  Summarise(floor.peakRss), Target::kNone, 0, Summarise(minimal.peakRss)});
    table.AddRow({"settled RSS (VmRSS) at the idle board", "MB", 2, Summarise(game.settledRss),
                  Summarise(floor.settledRss), Target::kRatioAtMost, 1.6,
                  Summarise(minimal.settledRss), 1.6});
    table.AddRow(
        {"peak RSS (VmHWM) after " + roundsText, "MB", 2, Single(rounds.peakRss), Summary{}});
    table.AddRow(
        {"settled RSS (VmRSS) after " + roundsText, "MB", 2, Single(rounds.rss), Summary{}});
    table.AddRow({"open descriptors at the idle board", "", 0, Summarise(game.descriptors),
                  Summarise(floor.descriptors), Target::kNone, 0, Summarise(minimal.descriptors)});
    table.AddRow({"open descriptors before the long game", "", 0, Single(rounds.descriptorsBefore),
                  Summary{}});
    table.AddRow({"open descriptors after " + roundsText, "", 0, Single(rounds.descriptorsAfter),
                  Summary{}});
    table.AddRow({"zombie children after " + roundsText, "", 0, Single(rounds.zombies), Summary{},
                  Target::kGameMaxAtMost, 0});
    table.AddRow({"live children after " + roundsText, "", 0, Single(rounds.children), Summary{}});
    if (!typing.shortBox.empty() || !typing.floor.empty()) {
        table.AddRow({"keystroke to glyph, 10-char text box", "ms", 2, Summarise(typing.shortBox),
                      Summarise(typing.floor), Target::kRatioAtMost, 2.0});
        table.AddRow({"keystroke to glyph, 1,500-char box", "ms", 2, Summarise(typing.longBox),
                      Summarise(typing.floor)});
        // Its floor is the short box: the partial redraw must keep a long text as cheap.
        table.AddRow({"  1,500 against 10 chars (floor: 10)", "ms", 2, Summarise(typing.longBox),
                      Summarise(typing.shortBox), Target::kRatioAtMost, 1.2});
        table.AddRow({"X requests per keystroke, 10 chars", "", 0, Summarise(typing.shortRequests),
                      Summarise({1})});
        table.AddRow({"X requests per keystroke, 1,500 chars", "", 0,
                      Summarise(typing.longRequests), Summarise({1})});
    }

    table.AddNote("The floor's click figure is one XPutImage answering a click, from the "
                  "alternating launches; the game's is a real round of the long game.");
    table.AddNote("The minimal client maps the same window and paints plain rectangles, the "
                  "captions in the server's default font and a yellow square: no picture, no "
                  "font loaded, no toolkit.");
    if (!typing.shortBox.empty() || !typing.floor.empty()) {
        table.AddNote("The floor's keystroke is one XDrawImageString of the character typed; "
                      "the text boxes' are a toolkit program with one multi-line box, each key "
                      "typed at the end of its text and taken back with BackSpace.");
    }
    char pollText[32];
    std::snprintf(pollText, sizeof pollText, "%g ms", options.pollMicroseconds / 1000.0);
    table.AddNote(std::string("Timed waits read a few pixels every ") + pollText +
                  "; the X server CPU of the long game includes the harness's own reads (every "
                  "20 ms between rounds, every " +
                  pollText + " for a few ms after each click).");
    table.AddNote(SoundPlayerNote());
    if (rounds.mismatches > 0) {
        table.AddNote("WARNING: " + std::to_string(rounds.mismatches) +
                      " rounds showed hands and a result that the rules do not give.");
    }
    for (const std::string& failure : failures) {
        table.AddNote("FAILED: " + failure);
    }
    return table;
}
