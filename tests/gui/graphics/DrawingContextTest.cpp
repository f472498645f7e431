#include <gtest/gtest.h>

#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/TestBlocks.h"
#include "support/FormFixture.h"

namespace {

using DrawingTest = FormFixture;

} // namespace

// Each shape in a spot of its own on the form's colour.
TEST_F(DrawingTest, ShapesLinesAndPointsCoverExactlyTheirPixels) {
    DrawingContext dc(form.get());
    FillRect(dc, 0, 0, 10, 10, 0, -1, kRed);
    EXPECT_EQ(Count({0, 0, 12, 12}, kRed), 81) << "FillRect leaves its last row and column";
    DrawLine(dc, 0, 20, 9, 20, 1, -1);
    EXPECT_EQ(Count({0, 20, 10, 1}, kRed), 10) << "-1 keeps the previous colour";
    DrawRect(dc, 20, 0, 10, 10, 1, kBlue);
    EXPECT_EQ(Count({20, 0, 12, 12}, kBlue), 36) << "an outline takes its last row and column";
    FillRect(dc, 40, 0, 10, 10, 1, kWhite, kRed);
    EXPECT_EQ(Count({40, 0, 12, 12}, kWhite), 32) << "the border outlines the 9 x 9 fill";
    DrawLine(dc, 0, 40, 99, 40, kLineDashed, 1, kWhite);
    const int dashed = Count({0, 40, 100, 1}, kWhite);
    EXPECT_TRUE(dashed > 20 && dashed < 80) << dashed;
    DrawLine(dc, 0, 50, 99, 50, 5, kWhite);
    EXPECT_EQ(Count({0, 49, 100, 3}, kWhite), 100) << "solid and 1 pixel wide after a dash";

    XPoint triangle[] = {{10, 70}, {60, 70}, {10, 120}, {10, 70}};
    FillPolygon(dc, triangle, 4, 1, kWhite, kRed);
    // The ellipse touches the left and top of its box and leaves the corners out.
    FillEllipse(dc, 100, 70, 60, 40, 0, -1, kBlue);
    EXPECT_EQ(Count({95, 65, 5, 50}, kBlue) + Count({95, 65, 70, 5}, kBlue), 0);
    EXPECT_GT(Count({100, 70, 1, 40}, kBlue) * Count({100, 70, 60, 1}, kBlue), 0);
    DrawEllipse(dc, 200, 70, 40, 40, 1, kWhite);
    EXPECT_GT(Count({200, 70, 41, 41}, kWhite), 60);
    DrawPoint(dc, 7, 60, 0x123456);
    // Inside the triangle, on its border, outside it; inside the ellipses, in a corner; the point.
    const Pixels shown = {Pixel(15, 75),  Pixel(30, 70),  Pixel(55, 115), Pixel(130, 90),
                          Pixel(101, 71), Pixel(220, 90), Pixel(7, 60),   Pixel(8, 60)};
    EXPECT_EQ(shown, (Pixels{kRed, kWhite, kFormColour, kBlue, kFormColour, kFormColour, 0x123456,
                             kFormColour}));
    // A point off the screen must not end the program with a protocol error, nor spoil the
    // reads after it.
    GetPixel(dc, -5, 5000);
    EXPECT_EQ(GetPixel(dc, 7, 60) & 0xffffff, 0x123456u);
}

// Where a text breaks decides what the player reads, so the lines expected here are worked out
// from the glyph widths of the program's font alone; the pixels DrawText leaves must then be
// exactly those lines, drawn where the layout places them.
TEST_F(DrawingTest, TextBreaksAlignsAndSitsWhereItsBoxSays) {
    font = LoadProgramFont(observer);
    ASSERT_NE(font, nullptr);
    const auto width = [&](const std::string& text) {
        return XTextWidth(font, text.data(), static_cast<int>(text.size()));
    };
    // Lines follow each other 15 pixels apart, or at the ascent and a pixel of a taller font.
    const int pitch = font->ascent > 15 ? font->ascent + 1 : 15;
    struct Case {
        std::string text;
        int w, h, alignment;
        std::vector<std::string> lines;
        std::string placement; // per line: Left, Centre or Right in the box
    };
    // clang-format off
    const Case cases[] = {
        {"Hi", 200, 40, kAlignCenter, {"Hi"}, "C"},
        {"Hi", 200, 30, kAlignLeft, {"Hi"}, "L"},
        {"Hi", 200, 30, kAlignRight, {"Hi"}, "R"},
        {"ab\ncd", 200, 100, kAlignCenter, {"ab", "cd"}, "CC"},
        // A line exactly as wide as the box fits; a wrapped paragraph is set flush left.
        {"alpha beta alpha beta alpha", width("alpha beta"), 100, kAlignCenter,
         {"alpha beta", "alpha beta", "alpha"}, "LLL"},
        // A word wider than the box is cut.
        {"MMMMMMM", width("MMM"), 100, kAlignRight, {"MMM", "MMM", "M"}, "LLL"},
        // A box of 9 rows holds nothing.
        {"Hi", 100, 9, kAlignLeft, {}, ""},
    };
    // clang-format on
    const int x = 10;
    const int y = 10;
    DrawingContext dc(form.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.w) + " x " + std::to_string(c.h));
        std::vector<std::string> texts;
        const std::vector<TextLine> lines = LayOutText(font, x, y, c.w, c.h, c.text, c.alignment);
        for (size_t i = 0; i < lines.size(); ++i) {
            texts.push_back(lines[i].text);
            const int room = c.w - width(lines[i].text);
            const char place = c.placement.at(i);
            EXPECT_EQ(lines[i].x, x + (place == 'L' ? 0 : place == 'R' ? room : room / 2)) << i;
            const int top = lines.size() == 1 ? (c.h - pitch) / 2 : pitch * static_cast<int>(i);
            EXPECT_EQ(lines[i].baseline, y + top + pitch - 1) << i;
        }
        EXPECT_EQ(texts, c.lines);
        // DrawText fills w - 1 columns, so the box is blue beforehand.
        FillRect(dc, x, y, c.w + 1, c.h + 1, 0, -1, kBlue);
        DrawText(dc, x, y, c.w, c.h, c.text, kWhite, kBlue, c.alignment);
        EXPECT_EQ(Read({x, y, c.w, c.h}), Text(c.w, c.h, c.text, kWhite, kBlue, c.alignment));
    }
    // Transparent text keeps what was under its box.
    FillRect(dc, x, y, 101, 31, 0, -1, kRed);
    DrawText(dc, x, y, 100, 30, "Hi", kWhite, -1, kAlignLeft);
    EXPECT_EQ(Read({x, y, 100, 30}), Text(100, 30, "Hi", kWhite, kRed, kAlignLeft));
    EXPECT_EQ(dc.CharWidth(), width("M"));
    EXPECT_EQ(dc.TextHeight(0), font->ascent + 1);
}

// The image elements' tests draw pictures whole, in parts and keyed; a part beyond its
// picture is what only a caller's mistake asks for. Black is the key unless another is named.
TEST_F(DrawingTest, APartOutsideItsPictureDrawsNothing) {
    DrawingContext dc(form.get());
    const RgbBuffer rgb = BlockToRgb(2, 1, MakeBlock(2, 1, {kRed, kBlack}, {0, 1}).data());
    XImage* image = CreateImageFromRgb(form.get(), rgb.get(), 2, 1);
    Fill({100, 100, 2, 1}, kBlue);
    PutImageKeyed(dc, 100, 100, 0, 0, image);
    EXPECT_EQ(Read({100, 100, 2, 1}), (Pixels{kRed, kBlue}));
    PutImagePart(dc, 200, 100, 5, 5, image, 40, 40);
    PutImageRegionKeyed(dc, 200, 100, 5, 5, image, 40, 40);
    EXPECT_EQ(Count({200, 100, 5, 5}, kFormColour), 25);
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
