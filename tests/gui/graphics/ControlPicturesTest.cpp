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
    const Mark marks[] = {
        {"check_checked", imgCHECK_CHECKED, wCHECK_CHECKED, hCHECK_CHECKED},
        {"check_checked_disabled", imgCHECK_CHECKED_DISABLED, wCHECK_CHECKED_DISABLED,
         hCHECK_CHECKED_DISABLED},
        {"check_unchecked", imgCHECK_UNCHECKED, wCHECK_UNCHECKED, hCHECK_UNCHECKED},
        {"check_unchecked_disabled", imgCHECK_UNCHECKED_DISABLED, wCHECK_UNCHECKED_DISABLED,
         hCHECK_UNCHECKED_DISABLED},
        {"option_selected", imgOPTION_SELECTED, wOPTION_SELECTED, hOPTION_SELECTED},
        {"option_selected_disabled", imgOPTION_SELECTED_DISABLED, wOPTION_SELECTED_DISABLED,
         hOPTION_SELECTED_DISABLED},
        {"option_unselected", imgOPTION_UNSELECTED, wOPTION_UNSELECTED, hOPTION_UNSELECTED},
        {"option_unselected_disabled", imgOPTION_UNSELECTED_DISABLED, wOPTION_UNSELECTED_DISABLED,
         hOPTION_UNSELECTED_DISABLED},
    };
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
        const RgbBuffer compiled = BlockToRgb(mark.w, mark.h, mark.block);
        EXPECT_EQ(0, std::memcmp(compiled.get(), artwork.rgb.get(), 20 * 20 * 3));
    }
}
