#include <gtest/gtest.h>

#include <algorithm>

#include "bench/BoardSamples.h"
#include "game/BoardLayout.h"
#include "game/Pictures.h"

TEST(BoardSamples, EveryResultFrameAndChoiceStateMatchesOnlyItsOwnPattern) {
    const SampleSet results = ResultSamples();
    const SampleSet choices = ChoiceSamples();
    ASSERT_EQ(results.patterns.size(), static_cast<size_t>(kResultStripFrames) + 1);
    ASSERT_EQ(choices.patterns.size(), 2u);
    for (const SampleSet& set : {results, choices}) {
        for (size_t i = 0; i < set.patterns.size(); ++i) {
            EXPECT_EQ(set.patterns[i].size(), set.areas.size());
            EXPECT_EQ(MatchPattern(set.patterns[i], set.patterns), static_cast<int>(i));
            // A pixel that cannot be read never passes for one of the board's.
            EXPECT_EQ(
                std::count(set.patterns[i].begin(), set.patterns[i].end(), PixelProbe::kUnreadable),
                0);
        }
    }
    EXPECT_EQ(results.patterns[kResultHidden], Pixels(results.areas.size(), kBoardColor));
    // Each choice picture has points of its own, and one missing picture is not "shown".
    for (const Area& choice : kChoiceAreas) {
        EXPECT_TRUE(std::any_of(choices.areas.begin(), choices.areas.end(), [&](const Area& point) {
            return choice.Contains(point.x, point.y);
        }));
    }
    Pixels partly = choices.patterns[kChoicesShown];
    partly.back() = kBoardColor;
    EXPECT_EQ(MatchPattern(partly, choices.patterns), -1);
    // A read that failed matches nothing, not even an empty pattern.
    EXPECT_EQ(MatchPattern({}, {{}}), -1);
}
