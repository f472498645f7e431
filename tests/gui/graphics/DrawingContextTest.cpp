#include <gtest/gtest.h>

#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"
#include "tools/driver/ExpectedPixels.h"

namespace {

const unsigned long kRed = 0xff0000;
const unsigned long kBlue = 0x0000ff;
const unsigned long kWhite = 0xffffff;
const unsigned long kBlack = 0x000000;
const unsigned long kGrey = 0xaaaaaa;

using DrawingTest = FormFixture;

// A w x h image of one colour, laid out for the screen.
XImage* MakeImage(Form* form, int w, int h, unsigned long color) {
    return CreateImageFromRgb(form, BlockToRgb(w, h, SolidBlock(w, h, color).data()).get(), w, h);
}

} // namespace

TEST_F(DrawingTest, RectanglesAndLinesCoverExactlyTheirPixels) {
    DrawingContext dc(form.get());
    FillRect(dc, 0, 0, 10, 10, 0, -1, kRed);
    EXPECT_EQ(Count({0, 0, 12, 12}, kRed), 81) << "FillRect leaves its last row and column";
    DrawLine(dc, 0, 20, 9, 20, 1, -1);
    EXPECT_EQ(Count({0, 20, 10, 1}, kRed), 10) << "-1 keeps the previous colour";

    DrawRect(dc, 20, 0, 10, 10, 1, kBlue);
    EXPECT_EQ(Count({20, 0, 12, 12}, kBlue), 36);
    EXPECT_EQ(Pixel(29, 9), kBlue);
    FillRect(dc, 40, 0, 10, 10, 1, kWhite, kRed);
    EXPECT_EQ(Count({40, 0, 12, 12}, kWhite), 32) << "the border outlines the 9 x 9 fill";

    DrawLine(dc, 0, 40, 99, 40, kLineDashed, 1, kWhite);
    const int dashed = Count({0, 40, 100, 1}, kWhite);
    EXPECT_GT(dashed, 20);
    EXPECT_LT(dashed, 80);
    DrawLine(dc, 0, 50, 99, 50, 5, kWhite);
    EXPECT_EQ(Count({0, 49, 100, 3}, kWhite), 100) << "solid and 1 pixel wide after a dash";

    DrawPoint(dc, 7, 60, 0x123456);
    EXPECT_EQ(Pixel(7, 60), 0x123456u);
    EXPECT_EQ(GetPixel(dc, 7, 60) & 0xffffff, 0x123456u);
    EXPECT_EQ(GetPixel(dc, 8, 60) & 0xffffff, 0u);
    // A point off the screen must not end the program with a protocol error.
    GetPixel(dc, -5, 5000);
}

TEST_F(DrawingTest, PolygonsAndEllipsesFillTheirShapes) {
    DrawingContext dc(form.get());
    XPoint triangle[] = {{10, 10}, {60, 10}, {10, 60}, {10, 10}};
    FillPolygon(dc, triangle, 4, 1, kWhite, kRed);
    EXPECT_EQ(Pixel(15, 15), kRed);
    EXPECT_EQ(Pixel(55, 55), kBlack);
    EXPECT_EQ(Pixel(30, 10), kWhite) << "the border";
    // The ellipse touches the left and top of its box and leaves the corners out.
    FillEllipse(dc, 100, 10, 60, 40, 0, -1, kBlue);
    EXPECT_EQ(Pixel(130, 30), kBlue);
    EXPECT_EQ(Pixel(101, 11), kBlack);
    EXPECT_EQ(Count({95, 5, 5, 50}, kBlue) + Count({95, 5, 70, 5}, kBlue), 0);
    EXPECT_GT(Count({100, 10, 1, 40}, kBlue) * Count({100, 10, 60, 1}, kBlue), 0);
    DrawEllipse(dc, 200, 10, 40, 40, 1, kWhite);
    EXPECT_EQ(Pixel(220, 30), kBlack) << "an outline is hollow";
    EXPECT_GT(Count({200, 10, 41, 41}, kWhite), 60);
}

// Where a text breaks decides what the player reads, so the lines expected here are worked out
// from the glyph widths of the program's font alone; the pixels DrawText leaves must then be
// exactly those lines, drawn where the layout places them.
TEST_F(DrawingTest, TextBreaksAlignsAndSitsWhereItsBoxSays) {
    XFontStruct* font = LoadProgramFont(observer);
    ASSERT_NE(font, nullptr);
    const auto width = [&](const std::string& text) {
        return XTextWidth(font, text.data(), static_cast<int>(text.size()));
    };
    // Lines follow each other 15 pixels apart, or at the ascent and a pixel of a taller font.
    const int pitch = font->ascent > 15 ? font->ascent + 1 : 15;
    struct Case {
        const char* name;
        std::string text;
        int w, h, alignment;
        std::vector<std::string> lines;
        std::string placement; // per line: Left, Centre or Right in the box
    };
    // clang-format off
    const Case cases[] = {
        {"one line, centred both ways", "Hi", 200, 40, kAlignCenter, {"Hi"}, "C"},
        {"one line, left", "Hi", 200, 30, kAlignLeft, {"Hi"}, "L"},
        {"one line, right", "Hi", 200, 30, kAlignRight, {"Hi"}, "R"},
        {"line feeds, from the top", "ab\ncd", 200, 100, kAlignCenter, {"ab", "cd"}, "CC"},
        // A line exactly as wide as the box fits; a wrapped paragraph is set flush left.
        {"words wrap at the last blank that fits", "alpha beta alpha beta alpha",
         width("alpha beta"), 100, kAlignCenter, {"alpha beta", "alpha beta", "alpha"}, "LLL"},
        {"a word wider than the box is cut", "MMMMMMM", width("MMM"), 100, kAlignRight,
         {"MMM", "MMM", "M"}, "LLL"},
        {"a box of 9 rows holds nothing", "Hi", 100, 9, kAlignLeft, {}, ""},
    };
    // clang-format on
    const int x = 10;
    const int y = 10;
    DrawingContext dc(form.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TextLine> lines = LayOutText(font, x, y, c.w, c.h, c.text, c.alignment);
        std::vector<std::string> texts;
        for (const TextLine& line : lines) {
            texts.push_back(line.text);
        }
        ASSERT_EQ(texts, c.lines);
        for (size_t i = 0; i < lines.size(); ++i) {
            const int room = c.w - width(c.lines[i]);
            const char place = c.placement[i];
            EXPECT_EQ(lines[i].x, x + (place == 'L' ? 0 : place == 'R' ? room : room / 2)) << i;
            const int top = lines.size() == 1 ? (c.h - pitch) / 2 : pitch * static_cast<int>(i);
            EXPECT_EQ(lines[i].baseline, y + top + pitch - 1) << i;
        }
        // DrawText fills w - 1 columns, so the box is blue beforehand.
        FillRect(dc, x, y, c.w + 1, c.h + 1, 0, -1, kBlue);
        DrawText(dc, x, y, c.w, c.h, c.text, kWhite, kBlue, c.alignment);
        EXPECT_EQ(Read({x, y, c.w, c.h}),
                  RenderText(observer, font, c.w, c.h, c.text, kWhite, kBlue, c.alignment));
    }
    // Transparent text keeps what was under its box.
    FillRect(dc, x, y, 101, 31, 0, -1, kRed);
    DrawText(dc, x, y, 100, 30, "Hi", kWhite, -1, kAlignLeft);
    EXPECT_EQ(Read({x, y, 100, 30}),
              RenderText(observer, font, 100, 30, "Hi", kWhite, kRed, kAlignLeft));
    EXPECT_EQ(dc.CharWidth(), width("M"));
    EXPECT_EQ(dc.TextHeight(0), font->ascent + 1);
    XFreeFont(observer, font);
}

TEST_F(DrawingTest, ImagesAreDrawnWholeInPartsOrKeyedLeavingThemUnchanged) {
    DrawingContext dc(form.get());
    XImage* image = MakeImage(form.get(), 20, 10, kRed);
    XPutPixel(image, 19, 9, kBlue);
    PutImage(dc, 5, 5, 0, 0, image);
    EXPECT_EQ(Count({5, 5, 20, 10}, kRed), 199);
    EXPECT_EQ(Pixel(24, 14), kBlue);
    PutImagePart(dc, 100, 100, 5, 5, image, 15, 5);
    EXPECT_EQ(Pixel(104, 104), kBlue);
    EXPECT_EQ(Count({100, 100, 5, 5}, kRed), 24);
    PutImagePart(dc, 200, 100, 5, 5, image, 40, 40);
    EXPECT_EQ(Count({200, 100, 5, 5}, kBlack), 25) << "a part outside the image draws nothing";
    DestroyImage(image);

    // Keyed, black is left out: the window keeps what it showed there.
    image = MakeImage(form.get(), 10, 10, kBlack);
    XPutPixel(image, 5, 5, kRed);
    FillRect(dc, 0, 0, 50, 50, 0, -1, kGrey);
    FillRect(dc, 50, 0, 50, 50, 0, -1, kBlue);
    PutImageKeyed(dc, 10, 10, 10, 10, image);
    PutImageKeyed(dc, 60, 10, 10, 10, image);
    EXPECT_EQ(Count({10, 10, 10, 10}, kGrey), 99);
    EXPECT_EQ(Pixel(15, 15), kRed);
    EXPECT_EQ(Count({60, 10, 10, 10}, kBlue), 99) << "the second paint is still transparent";
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xffffff, kBlack) << "the caller's picture is unchanged";

    PutImageRegionKeyed(dc, 110, 10, 5, 5, image, 5, 5);
    EXPECT_EQ(Pixel(110, 10), kRed);
    EXPECT_EQ(Pixel(111, 11), kBlack) << "the window was black there";
    DestroyImage(image);
}

TEST_F(DrawingTest, AContextWithoutAWindowLogsAndDrawsNothing) {
    RecordingForm unshown;
    unshown.SetScreen(screen.get());
    testing::internal::CaptureStdout();
    DrawingContext dc(&unshown);
    FillRect(dc, 0, 0, 10, 10, 1, kWhite, kRed);
    DrawText(dc, 0, 0, 100, 30, "x", kWhite, kBlue, kAlignLeft);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Errore nella creazione del GC\n");
    EXPECT_FALSE(dc.IsValid());
}
