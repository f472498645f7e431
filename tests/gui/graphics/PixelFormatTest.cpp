#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "app/Screen.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"
#include "gui/graphics/PixelFormat.h"
#include "gui/graphics/TestBlocks.h"
#include "support/PrivateXvfb.h"
#include "support/TestElements.h"
#include "util/TextFile.h"

// Each channel lands where its mask says, narrowed to the mask's width, and reads back
// widened by repeating its top bits.
TEST(PixelFormat, ChannelsGoWhereTheMasksSayAtTheirWidth) {
    const auto trueColor = [](unsigned long red, unsigned long green, unsigned long blue) {
        Visual visual{};
        visual.c_class = TrueColor;
        visual.red_mask = red;
        visual.green_mask = green;
        visual.blue_mask = blue;
        return visual;
    };
    // Mask, the colour, its pixel and what that pixel reads back as.
    const std::tuple<Visual, unsigned long, unsigned long, unsigned long> cases[] = {
        {trueColor(0xf800, 0x07e0, 0x001f), 0x808080, 0x8410, 0x848284},
        {trueColor(0x7c00, 0x03e0, 0x001f), 0x00ff00, 0x03e0, 0x00ff00},
        {trueColor(0xff0000, 0x00ff00, 0x0000ff), 0x123456, 0x123456, 0x123456},
        {trueColor(0x0000ff, 0x00ff00, 0xff0000), 0x123456, 0x563412, 0x123456},
        {trueColor(0x3ff00000, 0x000ffc00, 0x000003ff), 0x80ff80, 0x202ffe02, 0x80ff80},
    };
    for (const auto& [visual, color, pixel, back] : cases) {
        SCOPED_TRACE(std::to_string(visual.red_mask) + " " + std::to_string(color));
        const PixelFormat format(&visual);
        EXPECT_EQ(format.ToPixel(color), pixel);
        EXPECT_EQ(format.ToColor(pixel), back);
    }
}

// Rectangles, pictures and the window's own background in the colours the program means, on
// every TrueColor depth, within what each channel of the depth can hold; the warnings of an
// unusual layout come once, not once a picture.
TEST(PixelFormat, EveryTrueColorDepthShowsTheColoursMeant) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr);
    const std::string sharedDisplay = std::getenv("DISPLAY");
    for (int depth : {15, 16, 24, 30}) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        // The layout is probed once a process, on the first picture made; each server here
        // is new to it, and so is the shared one after them.
        pixelLayout = PixelLayout();
        TempFolder folder{true};
        PrivateXvfb server(depth);
        ASSERT_FALSE(server.name.empty()) << "no Xvfb of depth " << depth;
        setenv("DISPLAY", server.name.c_str(), 1);
        {
            Screen screen("test");
            ASSERT_NE(screen.GetDisplay(), nullptr);
            RecordingForm form;
            form.SetScreen(&screen);
            form.SetSize(120, 40);
            form.SetBackColor(0x336699);
            form.Show();
            DrawingContext dc(&form);
            FillRect(dc, 0, 0, 11, 11, 0, -1, 0xff8000);
            // The same three pixels from an RGB buffer and, through its own path, from a block.
            const unsigned char rgb[] = {0xff, 0, 0, 0, 0xff, 0, 0, 0, 0xff};
            const std::vector<unsigned char> block =
                MakeBlock(3, 1, {0xff0000, 0x00ff00, 0x0000ff}, {0, 1, 2});
            for (int x : {20, 40}) {
                XImage* picture = x == 20 ? CreateImageFromRgb(&form, rgb, 3, 1)
                                          : CreateImageFromBlock(&form, block.data(), 3, 1);
                ASSERT_NE(picture, nullptr);
                PutImage(dc, x, 0, picture);
                DestroyImage(picture);
            }
            XSync(screen.GetDisplay(), False);
            // The rectangle, each picture's three pixels and the window's background.
            const std::tuple<int, int, unsigned long> meant[] = {
                {5, 5, 0xff8000},  {20, 0, 0xff0000}, {21, 0, 0x00ff00}, {22, 0, 0x0000ff},
                {40, 0, 0xff0000}, {41, 0, 0x00ff00}, {42, 0, 0x0000ff}, {100, 30, 0x336699}};
            for (const auto& [x, y, colour] : meant) {
                const unsigned long shown = GetPixel(dc, x, y);
                int worst = 0;
                for (int shift : {16, 8, 0}) {
                    const int error = int(shown >> shift & 0xff) - int(colour >> shift & 0xff);
                    worst = std::max(worst, std::abs(error));
                }
                EXPECT_LE(worst, 8) << "at " << x << ", " << y << ": " << std::hex << shown;
            }
        }
        std::vector<std::string> lines = TextFile("log.txt").ReadLines();
        EXPECT_EQ(lines.empty(), depth == 24);
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ(std::adjacent_find(lines.begin(), lines.end()), lines.end())
            << "a warning came twice";
        setenv("DISPLAY", sharedDisplay.c_str(), 1);
    }
    pixelLayout = PixelLayout();
}
