#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "app/Screen.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"
#include "gui/graphics/PixelFormat.h"
#include "support/PrivateXvfb.h"
#include "support/TestElements.h"
#include "util/TextFile.h"

namespace {

Visual TrueColorVisual(unsigned long red, unsigned long green, unsigned long blue) {
    Visual visual{};
    visual.c_class = TrueColor;
    visual.red_mask = red;
    visual.green_mask = green;
    visual.blue_mask = blue;
    return visual;
}

// Whether each channel of what the screen shows is the colour meant, but for the bits the
// screen's depth cannot hold.
bool CloseTo(unsigned long shown, unsigned long meant) {
    for (int shift : {16, 8, 0}) {
        const int difference = static_cast<int>((shown >> shift) & 0xff) -
                               static_cast<int>((meant >> shift) & 0xff);
        if (std::abs(difference) > 8) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(PixelFormat, ChannelsGoWhereTheMasksSayAtTheirWidth) {
    struct Case {
        Visual visual;
        unsigned long color;
        unsigned long pixel;
        unsigned long back; // the colour the pixel reads back as
    };
    const Visual rgb565 = TrueColorVisual(0xf800, 0x07e0, 0x001f);
    const Visual rgb555 = TrueColorVisual(0x7c00, 0x03e0, 0x001f);
    const Visual rgb888 = TrueColorVisual(0xff0000, 0x00ff00, 0x0000ff);
    const Visual bgr888 = TrueColorVisual(0x0000ff, 0x00ff00, 0xff0000);
    const Visual rgb101010 = TrueColorVisual(0x3ff00000, 0x000ffc00, 0x000003ff);
    const Case cases[] = {
        {rgb565, 0xff0000, 0xf800, 0xff0000},     {rgb565, 0x00ff00, 0x07e0, 0x00ff00},
        {rgb565, 0x0000ff, 0x001f, 0x0000ff},     {rgb565, 0x808080, 0x8410, 0x848284},
        {rgb555, 0xffffff, 0x7fff, 0xffffff},     {rgb555, 0x00ff00, 0x03e0, 0x00ff00},
        {rgb888, 0x123456, 0x123456, 0x123456},   {bgr888, 0x123456, 0x563412, 0x123456},
        {rgb101010, 0xff0000, 0x3ff00000, 0xff0000}, {rgb101010, 0x808080, 0x20280a02, 0x808080},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.visual.red_mask) + " " + std::to_string(c.color));
        const PixelFormat format(&c.visual);
        EXPECT_EQ(format.ToPixel(c.color), c.pixel);
        EXPECT_EQ(format.ToColor(c.pixel), c.back);
    }
}

// Rectangles, pictures and the window's own background in the colours the program means, on
// every TrueColor depth; the warnings of an unusual layout come once, not once a picture.
TEST(PixelFormat, EveryTrueColorDepthShowsTheColoursMeant) {
    const char* shared = std::getenv("DISPLAY");
    const std::string sharedDisplay = shared != nullptr ? shared : "";
    for (int depth : {15, 16, 24, 30}) {
        SCOPED_TRACE("depth " + std::to_string(depth));
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
            const unsigned char rgb[] = {0xff, 0, 0, 0, 0xff, 0, 0, 0, 0xff};
            for (int x : {20, 40}) {
                XImage* picture = CreateImageFromRgb(&form, rgb, 3, 1);
                ASSERT_NE(picture, nullptr);
                PutImage(dc, x, 0, picture);
                DestroyImage(picture);
            }
            XSync(screen.GetDisplay(), False);
            const std::map<std::pair<int, int>, unsigned long> meant = {
                {{5, 5}, 0xff8000},  {{20, 0}, 0xff0000}, {{21, 0}, 0x00ff00},
                {{22, 0}, 0x0000ff}, {{100, 30}, 0x336699}};
            for (const auto& [place, colour] : meant) {
                EXPECT_TRUE(CloseTo(GetPixel(dc, place.first, place.second), colour))
                    << "at " << place.first << ", " << place.second << ": " << std::hex
                    << GetPixel(dc, place.first, place.second) << " for " << colour;
            }
        }
        std::vector<std::string> lines = TextFile("log.txt").ReadLines();
        EXPECT_EQ(lines.empty(), depth == 24);
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ(std::adjacent_find(lines.begin(), lines.end()), lines.end())
            << "a warning came twice";
        setenv("DISPLAY", sharedDisplay.c_str(), 1);
        pixelLayout = PixelLayout();
    }
}
