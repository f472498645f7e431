#include <gtest/gtest.h>

#include <algorithm>

#include "bench/BoardSamples.h"
#include "game/BoardLayout.h"
#include "game/Pictures.h"

namespace {

using Places = std::vector<std::pair<int, int>>;

Places PlacesOf(const std::vector<Area>& points) {
    Places places;
    for (const Area& point : points) {
        places.emplace_back(point.x, point.y);
    }
    return places;
}

} // namespace

TEST(BoardSamples, PicturePointsAreColouredAndSpreadOverRows) {
    // 3 x 6, black but for a red pixel in row 3 and a blue one in row 5.
    Pixels picture(18, kBoardColor);
    picture[3 * 3 + 2] = 0xff0000;
    picture[5 * 3 + 0] = 0x0000ff;
    EXPECT_EQ(PlacesOf(PicturePoints(picture, 3, 6, 3)), (Places{{2, 3}, {0, 5}}));
    EXPECT_TRUE(PicturePoints(Pixels(12, kBoardColor), 3, 4, 3).empty());
    EXPECT_TRUE(PicturePoints(Pixels(12, 0xffffff), 3, 4, 0).empty());
    // A size that does not fit the pixels is not read at all.
    EXPECT_TRUE(PicturePoints(Pixels(12, 0xffffff), 4, 4, 3).empty());
}

TEST(BoardSamples, DistinguishingPointsLieWhereOnlyThatPictureHasItsColour) {
    // Three 4 x 3 grey pictures; the first two carry a mark of their own, the third none.
    const Pixels plain(12, 0x808080);
    Pixels first = plain;
    first[1 * 4 + 1] = 0xff0000;
    Pixels second = plain;
    second[1 * 4 + 2] = 0x00ff00;
    EXPECT_EQ(PlacesOf(DistinguishingPoints({first, second, plain}, 4, 3)),
              (Places{{1, 1}, {2, 1}}));
    EXPECT_TRUE(DistinguishingPoints({first, Pixels(11, 0)}, 4, 3).empty());
}

TEST(BoardSamples, EveryResultFrameAndChoiceStateMatchesOnlyItsOwnPattern) {
    const SampleSet results = ResultSamples();
    const SampleSet choices = ChoiceSamples();
    ASSERT_EQ(results.patterns.size(), static_cast<size_t>(kResultStripFrames) + 1);
    ASSERT_EQ(choices.patterns.size(), 2u);
    for (const SampleSet& set : {results, choices}) {
        for (size_t i = 0; i < set.patterns.size(); ++i) {
            const Pixels& pattern = set.patterns[i];
            EXPECT_EQ(pattern.size(), set.areas.size());
            EXPECT_EQ(MatchPattern(pattern, set.patterns), static_cast<int>(i));
            // A pixel that cannot be read never passes for one of the board's.
            EXPECT_EQ(std::count(pattern.begin(), pattern.end(), PixelProbe::kUnreadable), 0);
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
