#include <gtest/gtest.h>

#include <algorithm>

#include "bench/ExpectedPixels.h"
#include "game/Pictures.h"
#include "game/RoundRules.h"

namespace {

const unsigned long kBlack = 0;

bool Inside(const Area& point, const Area& area) {
    return point.x >= area.x && point.y >= area.y && point.x + point.w <= area.x + area.w &&
           point.y + point.h <= area.y + area.h;
}

} // namespace

TEST(ExpectedPixels, PicturePointsAreColouredAndSpreadOverRows) {
    // 3 x 6: rows 0 to 2 black, a red pixel in row 3, a blue one in row 5.
    Pixels picture(18, kBlack);
    picture[3 * 3 + 2] = 0xff0000;
    picture[5 * 3 + 0] = 0x0000ff;
    const std::vector<Area> points = PicturePoints(picture, 3, 6, 3);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].x, 2);
    EXPECT_EQ(points[0].y, 3);
    EXPECT_EQ(points[1].x, 0);
    EXPECT_EQ(points[1].y, 5);
    for (const Area& point : points) {
        EXPECT_EQ(point.w, 1);
        EXPECT_EQ(point.h, 1);
    }
}

TEST(ExpectedPixels, PicturePointsOfNothing) {
    EXPECT_TRUE(PicturePoints(Pixels(12, kBlack), 3, 4, 3).empty());
    EXPECT_TRUE(PicturePoints(Pixels(12, 0xffffff), 3, 4, 0).empty());
    // A size that does not fit the pixels is not read at all.
    EXPECT_TRUE(PicturePoints(Pixels(12, 0xffffff), 4, 4, 3).empty());
}

TEST(ExpectedPixels, DistinguishingPointsLieWhereOnlyThatPictureHasItsColour) {
    // Three 4 x 3 pictures with the same grey frame; the first two carry a mark of their own,
    // the third is a copy of the second but for the mark.
    Pixels base(12, 0x808080);
    Pixels first = base;
    first[1 * 4 + 1] = 0xff0000;
    Pixels second = base;
    second[1 * 4 + 2] = 0x00ff00;
    const std::vector<Area> points = DistinguishingPoints({first, second, base}, 4, 3);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].x, 1);
    EXPECT_EQ(points[0].y, 1);
    EXPECT_EQ(points[1].x, 2);
    EXPECT_EQ(points[1].y, 1);
    EXPECT_TRUE(DistinguishingPoints({first, Pixels(11, 0)}, 4, 3).empty());
}

TEST(ExpectedPixels, DecodedPicturesMatchTheirBlocks) {
    const Pixels rock = GameDriver::DecodePicture(handsStrip[kPlayerRock], wHAND0, hHAND0);
    ASSERT_EQ(rock.size(), static_cast<size_t>(wHAND0) * hHAND0);
    // The hands are drawn on black, with the hand itself in other colours.
    EXPECT_EQ(rock.front(), kBlack);
    EXPECT_NE(std::count(rock.begin(), rock.end(), kBlack), static_cast<long>(rock.size()));
    EXPECT_TRUE(GameDriver::DecodePicture(nullptr, wHAND0, hHAND0).empty());
    EXPECT_TRUE(GameDriver::DecodePicture(handsStrip[kPlayerRock], 0, hHAND0).empty());
}

TEST(ExpectedPixels, ResultPatternsTellEveryFrameApart) {
    const SampleSet set = ResultSamples();
    ASSERT_EQ(set.patterns.size(), static_cast<size_t>(kResultStripFrames) + 1);
    for (const Area& point : set.areas) {
        EXPECT_TRUE(Inside(point, kResultArea));
    }
    for (size_t i = 0; i < set.patterns.size(); ++i) {
        EXPECT_EQ(set.patterns[i].size(), set.areas.size());
        EXPECT_EQ(MatchPattern(set.patterns[i], set.patterns), static_cast<int>(i));
    }
    const Pixels& hidden = set.patterns[kResultHidden];
    EXPECT_TRUE(std::all_of(hidden.begin(), hidden.end(), [](unsigned long p) { return p == 0; }));
}

TEST(ExpectedPixels, ChoicePatternsTellShownFromHidden) {
    const SampleSet set = ChoiceSamples();
    ASSERT_EQ(set.patterns.size(), 2u);
    EXPECT_EQ(MatchPattern(set.patterns[kChoicesShown], set.patterns), kChoicesShown);
    EXPECT_EQ(MatchPattern(set.patterns[kChoicesHidden], set.patterns), kChoicesHidden);
    // Each of the three pictures has points of its own, inside its own area.
    for (const Area& choice : kChoiceAreas) {
        EXPECT_TRUE(std::any_of(set.areas.begin(), set.areas.end(),
                                [&](const Area& point) { return Inside(point, choice); }));
    }
    // One picture missing is not "shown".
    Pixels partly = set.patterns[kChoicesShown];
    partly.back() = kBlack;
    EXPECT_EQ(MatchPattern(partly, set.patterns), -1);
}

TEST(ExpectedPixels, MatchNeedsEveryPixel) {
    const std::vector<Pixels> patterns = {{1, 2, 3}, {1, 2, 4}};
    EXPECT_EQ(MatchPattern({1, 2, 4}, patterns), 1);
    EXPECT_EQ(MatchPattern({1, 2}, patterns), -1);
    EXPECT_EQ(MatchPattern({}, patterns), -1);
    EXPECT_EQ(MatchPattern({}, {{}}), -1);
}

TEST(ExpectedPixels, NoPictureUsesTheColourOfAnUnreadablePixel) {
    std::vector<Pixels> pictures;
    for (int frame = 0; frame < kHandsStripFrames; ++frame) {
        pictures.push_back(GameDriver::DecodePicture(handsStrip[frame], wHAND0, hHAND0));
    }
    for (int frame = 0; frame < kResultStripFrames; ++frame) {
        pictures.push_back(GameDriver::DecodePicture(resultStrip[frame], wRESULT0, hRESULT0));
    }
    pictures.push_back(GameDriver::DecodePicture(imgLOGO, wLOGO, hLOGO));
    pictures.push_back(GameDriver::DecodePicture(imgBAR_TOP, wBAR_TOP, hBAR_TOP));
    pictures.push_back(GameDriver::DecodePicture(imgBAR_BOTTOM, wBAR_BOTTOM, hBAR_BOTTOM));
    pictures.push_back(GameDriver::DecodePicture(imgBAR_LEFT, wBAR_LEFT, hBAR_LEFT));
    pictures.push_back(GameDriver::DecodePicture(imgBAR_RIGHT, wBAR_RIGHT, hBAR_RIGHT));
    for (const Pixels& picture : pictures) {
        ASSERT_FALSE(picture.empty());
        EXPECT_EQ(std::count(picture.begin(), picture.end(), PixelProbe::kUnreadable), 0);
    }
}
