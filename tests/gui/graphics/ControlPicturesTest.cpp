#include <gtest/gtest.h>

#include <cstring>

#include "gui/controls/ControlPictures.h"
#include "gui/graphics/BmpFile.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"

// Every mark is the 20 x 20 picture drawn in its BMP, decoded from the compiled-in block.
TEST(ControlPictures, EveryMarkIsItsArtworkAt20By20) {
    struct Mark {
        const char* file;
        const unsigned char* block;
        int w;
        int h;
    };
#define MARK(name, file)                                                                           \
    Mark {                                                                                         \
        file, img##name, w##name, h##name                                                          \
    }
    const Mark marks[] = {
        MARK(CHECK_CHECKED, "check_checked"),
        MARK(CHECK_CHECKED_DISABLED, "check_checked_disabled"),
        MARK(CHECK_UNCHECKED, "check_unchecked"),
        MARK(CHECK_UNCHECKED_DISABLED, "check_unchecked_disabled"),
        MARK(OPTION_SELECTED, "option_selected"),
        MARK(OPTION_SELECTED_DISABLED, "option_selected_disabled"),
        MARK(OPTION_UNSELECTED, "option_unselected"),
        MARK(OPTION_UNSELECTED_DISABLED, "option_unselected_disabled"),
    };
#undef MARK
    TempFolder dir{true};
    for (const Mark& mark : marks) {
        SCOPED_TRACE(mark.file);
        EXPECT_EQ(mark.w, 20);
        EXPECT_EQ(mark.h, 20);
        // The asset is read from a copy: the reader writes its export beside the file.
        const std::string copy = std::string(mark.file) + ".bmp";
        ASSERT_TRUE(CopyFile(std::string(BRISGOLA_ASSETS_DIR "/controls/") + copy, copy));
        const BmpPicture artwork = LoadBmp4(copy);
        ASSERT_NE(artwork.rgb, nullptr);
        ASSERT_EQ(artwork.width * artwork.height, 20 * 20);
        const RgbBuffer compiled = BlockToRgb(mark.w, mark.h, mark.block);
        EXPECT_EQ(0, std::memcmp(compiled.get(), artwork.rgb.get(), 20 * 20 * 3));
    }
}
