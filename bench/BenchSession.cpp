#include "bench/BenchSession.h"

#include <cstdio>
#include <sys/prctl.h>

#include "bench/BenchReport.h"
#include "bench/MinimalBoard.h"
#include "bench/ServerDescription.h"
#include "tools/driver/ExpectedPixels.h"
#include "tools/driver/XErrorTrap.h"
#include "tools/harness/ProcReader.h"

BenchSession::BenchSession(const BenchOptions& options) : options(options) {}

BenchSession::~BenchSession() {
    if (font != nullptr) {
        XFreeFont(display, font);
    }
}

const char* BenchSession::Name(ProgramKind kind) {
    static const char* const names[kProgramKinds] = {"game", "floor", "minimal"};
    return names[kind];
}

void BenchSession::Add(std::vector<double>& samples, double value, const std::string& label) {
    samples.push_back(value);
    if (options.verbose) {
        std::fprintf(stderr, "%s: %.3f\n", label.c_str(), value);
    }
}

void BenchSession::Fail(const std::string& message) {
    std::fprintf(stderr, "brisgola-bench: %s\n", message.c_str());
    failures.push_back(message);
}

bool BenchSession::Open() {
    // The timed polls sleep a tenth of a millisecond; the kernel's default slack would stretch
    // that by half again.
    prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
    driver = std::make_unique<GameDriver>();
    display = driver->GetDisplay();
    if (!driver->IsConnected()) {
        Fail("cannot open the display named by DISPLAY, or it has no XTest extension");
        return false;
    }
    input = std::make_unique<TimedInput>(driver->input,
                                         std::chrono::microseconds(options.pollMicroseconds));
    // The windows the benchmark reads belong to programs that may end at any moment.
    XErrorTrap::CountAlways();
    if (DefaultDepth(display, DefaultScreen(display)) != 24) {
        Fail("the X server's screen is not 24 bits deep");
        return false;
    }
    font = LoadProgramFont(display);
    if (font == nullptr) {
        Fail("no font loads");
        return false;
    }
    boardSamples = IdleBoardSamples(display, font);
    minimalSamples = {
        {kMinimalMarkerArea.Inset(1, 1)},
        {Pixels(static_cast<size_t>((kMinimalMarkerArea.w - 2) * (kMinimalMarkerArea.h - 2)),
                kMinimalMarkerColor)}};
    resultSamples = ResultSamples();
    choiceSamples = ChoiceSamples();
    captionSamples = StartCaptionSamples(display, font);
    for (const SampleSet* set : {&boardSamples, &resultSamples, &choiceSamples, &captionSamples}) {
        for (const Pixels& pattern : set->patterns) {
            if (set->areas.empty() || pattern.empty()) {
                Fail("the expected pictures or captions could not be worked out");
                return false;
            }
        }
    }
    serverPid = options.xserverPid != 0 ? options.xserverPid
                                        : FindXServer(LocalDisplayNumber(DisplayString(display)));
    if (serverPid == 0) {
        std::fprintf(stderr, "brisgola-bench: the X server's process is unknown; its CPU is "
                             "left out\n");
    }
    return true;
}

const SampleSet& BenchSession::IdleSamples(ProgramKind kind) const {
    return kind == kMinimal ? minimalSamples : boardSamples;
}

ResultTable BenchSession::MakeTable() const {
    const BenchReport report{options, launches[kGame], launches[kFloor],        launches[kMinimal],
                             rounds,  typing,          DescribeServer(display), failures};
    return report.MakeTable();
}
