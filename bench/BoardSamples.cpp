#include "bench/BoardSamples.h"

#include <algorithm>

#include "game/BoardLayout.h"
#include "game/Pictures.h"
#include "game/Product.h"
#include "game/RoundRules.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/graphics/DrawingContext.h"
#include "tools/driver/ExpectedPixels.h"

namespace {

// Points per picture: a few, so that a picture counts as painted only when all of it is.
const int kPointsPerPicture = 3;
const int kTextPointsPerCaption = 2;
// A caption is drawn into the button less its bevel margins.
Area CaptionBox(const Area& button) {
    return button.Inset(ButtonCustom::kCaptionMarginX, ButtonCustom::kCaptionMarginY);
}

// Points of a picture shown in the area; only its top `rows` rows are looked at, which leaves
// out rows another picture covers.
void AddPicture(SampleSet& set, Pixels& pattern, const unsigned char* block, const Area& area,
                int rows) {
    const int w = area.w;
    const int left = area.x;
    const int top = area.y;
    Pixels picture = DecodePicture(block, w, area.h);
    if (picture.empty()) {
        return;
    }
    const Pixels visible(picture.begin(), picture.begin() + static_cast<long>(w) * rows);
    for (const Area& point : PicturePoints(visible, w, rows, kPointsPerPicture)) {
        set.areas.push_back({left + point.x, top + point.y, 1, 1});
        pattern.push_back(picture[static_cast<size_t>(point.y) * w + point.x]);
    }
}

// A face point inside the bevel, and the first and last text pixels of the caption: the text
// is drawn after the face, so its pixels differ from the face only once the caption is there.
void AddButton(SampleSet& set, Pixels& pattern, Display* display, XFontStruct* font,
               const Area& button, const std::string& caption, unsigned long fg,
               unsigned long face) {
    set.areas.push_back({button.x + 2, button.y + 2, 1, 1});
    pattern.push_back(face);
    const Area box = CaptionBox(button);
    const Pixels text = RenderText(display, font, box.w, box.h, caption, fg, face, kAlignCenter);
    std::vector<size_t> inked;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == fg) {
            inked.push_back(i);
        }
    }
    if (inked.empty()) {
        return;
    }
    const size_t picks[kTextPointsPerCaption] = {inked.front(), inked.back()};
    for (size_t pick : picks) {
        set.areas.push_back(
            {box.x + static_cast<int>(pick % box.w), box.y + static_cast<int>(pick / box.w), 1, 1});
        pattern.push_back(fg);
    }
}

} // namespace

std::vector<Area> DistinguishingPoints(const std::vector<Pixels>& pictures, int w, int h) {
    std::vector<Area> points;
    const size_t size = static_cast<size_t>(std::max(w, 0)) * std::max(h, 0);
    for (const Pixels& picture : pictures) {
        if (picture.size() != size || size == 0) {
            return {};
        }
    }
    for (size_t own = 0; own < pictures.size(); ++own) {
        // Rows from the middle outwards, where the pictures carry their content.
        int found = 0;
        for (int step = 0; step < h && found < kPointsPerPicture; ++step) {
            const int row = h / 2 + (step % 2 == 0 ? step / 2 : -(step + 1) / 2);
            for (int column = 0; column < w && found < kPointsPerPicture; ++column) {
                const size_t at = static_cast<size_t>(row) * w + column;
                const unsigned long colour = pictures[own][at];
                bool unique = colour != kBoardColor;
                for (size_t other = 0; other < pictures.size() && unique; ++other) {
                    unique = other == own || pictures[other][at] != colour;
                }
                if (unique) {
                    points.push_back({column, row, 1, 1});
                    ++found;
                    // Spread the points of one picture along its row.
                    column += w / kPointsPerPicture;
                }
            }
        }
    }
    return points;
}

std::vector<Area> PicturePoints(const Pixels& picture, int w, int h, int count) {
    std::vector<Area> points;
    if (w <= 0 || h <= 0 || count <= 0 || picture.size() != static_cast<size_t>(w) * h) {
        return points;
    }
    // Rows evenly spread; a row that is all black gives way to the next one down.
    int searchedUpTo = -1;
    for (int i = 0; i < count; ++i) {
        int row = std::max(h * (i + 1) / (count + 1), searchedUpTo + 1);
        bool found = false;
        for (; row < h && !found; ++row) {
            for (int column = 0; column < w; ++column) {
                if (picture[static_cast<size_t>(row) * w + column] != kBoardColor) {
                    points.push_back({column, row, 1, 1});
                    found = true;
                    break;
                }
            }
            searchedUpTo = row;
        }
    }
    return points;
}

int MatchPattern(const Pixels& seen, const std::vector<Pixels>& patterns) {
    for (size_t i = 0; i < patterns.size(); ++i) {
        if (!seen.empty() && seen == patterns[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

SampleSet IdleBoardSamples(Display* display, XFontStruct* font) {
    SampleSet set;
    Pixels pattern;
    // The bottom bar covers the lowest rows of the side bars, so their points are taken above.
    const int sideRows = kBarBottomArea.y - kBarLeftArea.y;
    AddPicture(set, pattern, imgLOGO, kLogoArea, kLogoArea.h);
    AddPicture(set, pattern, imgBAR_TOP, kBarTopArea, kBarTopArea.h);
    AddPicture(set, pattern, imgBAR_LEFT, kBarLeftArea, sideRows);
    AddPicture(set, pattern, imgBAR_RIGHT, kBarRightArea, sideRows);
    AddPicture(set, pattern, imgBAR_BOTTOM, kBarBottomArea, kBarBottomArea.h);
    AddPicture(set, pattern, handsStrip[kComputerScissors], kComputerHandArea, kHandHeight);
    AddPicture(set, pattern, handsStrip[kPlayerRock], kPlayerHandArea, kHandHeight);
    AddPicture(set, pattern, resultStrip[kTitleFrame], kResultArea, kResultArea.h);
    AddButton(set, pattern, display, font, kStartButtonArea, kStartCaption, kStartCaptionColor,
              kStartFaceColor);
    AddButton(set, pattern, display, font, kInfoButtonArea, "Info", kButtonTextColor,
              kButtonFaceColor);
    AddButton(set, pattern, display, font, kExitButtonArea, "Exit", kButtonTextColor,
              kButtonFaceColor);
    set.patterns.push_back(pattern);
    return set;
}

SampleSet ResultSamples() {
    SampleSet set;
    std::vector<Pixels> frames;
    for (int frame = 0; frame < kResultStripFrames; ++frame) {
        frames.push_back(DecodePicture(resultStrip[frame], wRESULT0, hRESULT0));
        if (frames.back().empty()) {
            return set;
        }
    }
    // The countdown pictures share their disc and ring and differ only in the digit, so each
    // frame gets points of its own colour where every other frame has another colour.
    for (const Area& point : DistinguishingPoints(frames, wRESULT0, hRESULT0)) {
        set.areas.push_back(point);
    }
    for (int frame = 0; frame <= kResultStripFrames; ++frame) {
        Pixels pattern;
        for (const Area& point : set.areas) {
            const size_t at = static_cast<size_t>(point.y) * wRESULT0 + point.x;
            pattern.push_back(frame == kResultHidden ? kBoardColor : frames[frame][at]);
        }
        set.patterns.push_back(pattern);
    }
    for (Area& point : set.areas) {
        point.x += kResultArea.x;
        point.y += kResultArea.y;
    }
    return set;
}

SampleSet ChoiceSamples() {
    SampleSet set;
    Pixels shown;
    for (int hand : {kPlayerPaper, kPlayerRock, kPlayerScissors}) {
        AddPicture(set, shown, handsStrip[hand], kChoiceAreas[hand], kHandHeight);
    }
    set.patterns.push_back(shown);
    set.patterns.push_back(Pixels(shown.size(), kBoardColor));
    return set;
}

SampleSet StartCaptionSamples(Display* display, XFontStruct* font) {
    SampleSet set;
    const Area box = CaptionBox(kStartButtonArea);
    set.areas.push_back(box);
    for (const char* caption : {kStartCaption, kCancelCaption}) {
        set.patterns.push_back(RenderText(display, font, box.w, box.h, caption, kStartCaptionColor,
                                          kStartFaceColor, kAlignCenter));
    }
    return set;
}
