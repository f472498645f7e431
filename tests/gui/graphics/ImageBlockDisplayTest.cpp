#include <gtest/gtest.h>

#include "gui/graphics/BmpBuilder.h"
#include "gui/graphics/BmpFile.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"
#include "support/FormFixture.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

const unsigned long kForm = 0x203040;

class ImageOnScreen : public FormFixture {
  protected:
    ImageOnScreen() { backColor = kForm; }
};

const unsigned char kRgb3x2[] = {0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff,
                                 0x12, 0x34, 0x56, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00};
const Pixels kPixels3x2 = {0xff0000, 0x00ff00, 0x0000ff, 0x123456, 0xffffff, 0x000000};

} // namespace

// The probe learns the layout from a pixmap, so it leaves no mark on the window and, on the
// usual server, no warning in the log.
TEST_F(ImageOnScreen, RgbBecomesAnImageAndAPixmapOfTheSamePixels) {
    ProbePixelFormat(form.get());
    EXPECT_EQ(Pixel(0, 0), kForm);
    EXPECT_FALSE(FileExists("log.txt")) << TextFile("log.txt").ReadAllText();

    XImage* image = CreateImageFromRgb(form.get(), kRgb3x2, 3, 2);
    ASSERT_NE(image, nullptr);
    const Pixmap pixmap = CreatePixmapFromImage(form.get(), image);
    XSync(screen->GetDisplay(), False);
    EXPECT_EQ(reader.ReadWindow(pixmap, {0, 0, 3, 2}), kPixels3x2);
    XFreePixmap(screen->GetDisplay(), pixmap);
    DestroyImage(image);

    EXPECT_EQ(CreateImageFromRgb(form.get(), nullptr, 3, 2), nullptr);
    EXPECT_EQ(CreateImageFromRgb(form.get(), kRgb3x2, 0, 2), nullptr);
    DestroyImage(nullptr);
}

TEST_F(ImageOnScreen, BmpFilesAreDrawnAtTheirOwnSizeWithoutExport) {
    WriteRawFile("24.bmp", BmpBuilder(3, 2, 24, kPixels3x2, {0, 1, 2, 3, 4, 5}).bytes);
    WriteRawFile("4.bmp", BmpBuilder(3, 2, 4, {0x000000, 0xff8000}, {1, 0, 1, 0, 1, 0}).bytes);
    DrawingContext dc(form.get());

    // More than the file holds draws the file's 3 x 2 and no more.
    DrawBmpFile(dc, 10, 10, 50, 50, 24, "24.bmp");
    EXPECT_EQ(Read({10, 10, 3, 2}), kPixels3x2);
    EXPECT_EQ(Count({10, 10, 50, 50}, kForm), 50 * 50 - 6);

    // Less draws the top-left part.
    DrawBmpFile(dc, 30, 10, 2, 1, 4, "4.bmp");
    EXPECT_EQ(Read({30, 10, 3, 2}), (Pixels{0xff8000, 0, kForm, kForm, kForm, kForm}));
    EXPECT_FALSE(FileExists("4.bmp.c")) << "drawing never writes files";

    // Keyed: black keeps what was under it.
    FillRect(dc, 40, 10, 4, 3, 0, -1, 0x00ff00);
    DrawBmpFileKeyed(dc, 40, 10, 0, 0, 4, "4.bmp");
    EXPECT_EQ(Read({40, 10, 3, 2}),
              (Pixels{0xff8000, 0x00ff00, 0xff8000, 0x00ff00, 0xff8000, 0x00ff00}));

    // A file of another depth than asked for, or a depth no reader has, draws nothing.
    EXPECT_FALSE(FileExists("log.txt"));
    DrawBmpFile(dc, 60, 10, 0, 0, 8, "4.bmp");
    DrawBmpFile(dc, 60, 10, 0, 0, 16, "24.bmp");
    EXPECT_EQ(Count({60, 10, 3, 2}, kForm), 6);
    EXPECT_EQ(TextFile("log.txt").ReadLines().size(), 2u);
}
