#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "bench/BoardSamples.h"
#include "game/BoardLayout.h"
#include "game/Pictures.h"

// Whole points compared, so that a failure shows both lists.
static bool operator==(const Area& a, const Area& b) {
    return std::tie(a.x, a.y, a.w, a.h) == std::tie(b.x, b.y, b.w, b.h);
}

TEST(BoardSamples, PointsLieWhereAPictureOrOnlyThatPictureHasItsColour) {
    // 3 x 6, black but for a red pixel in row 3 and a blue one in row 5.
    Pixels picture(18, kBoardColor);
    picture[3 * 3 + 2] = 0xff0000;
    picture[5 * 3 + 0] = 0x0000ff;
    EXPECT_EQ(PicturePoints(picture, 3, 6, 3), (std::vector<Area>{{2, 3, 1, 1}, {0, 5, 1, 1}}));
    EXPECT_TRUE(PicturePoints(Pixels(12, kBoardColor), 3, 4, 3).empty());
    // A size that does not fit the pixels is not read at all.
    EXPECT_TRUE(PicturePoints(Pixels(12, 0xffffff), 4, 4, 3).empty());
    // Three 4 x 3 grey pictures; the first two carry a mark of their own, the third none.
    const Pixels plain(12, 0x808080);
    Pixels first = plain, second = plain;
    first[1 * 4 + 1] = 0xff0000;
    second[1 * 4 + 2] = 0x00ff00;
    EXPECT_EQ(DistinguishingPoints({first, second, plain}, 4, 3),
              (std::vector<Area>{{1, 1, 1, 1}, {2, 1, 1, 1}}));
    EXPECT_TRUE(DistinguishingPoints({first, Pixels(11, 0)}, 4, 3).empty());
}

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
