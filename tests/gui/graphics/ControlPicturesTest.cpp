#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "gui/controls/ControlPictures.h"
#include "gui/graphics/BmpFile.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/StringUtils.h"

// Every mark is the 20 x 20 picture drawn in the BMP of its name, decoded from the compiled-in
// block.
TEST(ControlPictures, EveryMarkIsItsArtworkAt20By20) {
#define MARK(name) std::make_tuple(#name, img##name, w##name, h##name)
    const std::tuple<const char*, const unsigned char*, int, int> marks[] = {
        MARK(CHECK_CHECKED),     MARK(CHECK_CHECKED_DISABLED),
        MARK(CHECK_UNCHECKED),   MARK(CHECK_UNCHECKED_DISABLED),
        MARK(OPTION_SELECTED),   MARK(OPTION_SELECTED_DISABLED),
        MARK(OPTION_UNSELECTED), MARK(OPTION_UNSELECTED_DISABLED),
    };
#undef MARK
    TempFolder dir{true};
    for (const auto& [name, block, w, h] : marks) {
        // The asset is read from a copy: the reader writes its export beside the file.
        const std::string file = ToLower(name) + ".bmp";
        SCOPED_TRACE(file);
        ASSERT_TRUE(CopyFile(BRISGOLA_ASSETS_DIR "/controls/" + file, file));
        const BmpPicture artwork = LoadBmp4(file);
        ASSERT_EQ(std::tuple(artwork.width, artwork.height, w, h), std::tuple(20, 20, 20, 20));
        EXPECT_EQ(0, std::memcmp(BlockToRgb(w, h, block).get(), artwork.rgb.get(), 20 * 20 * 3));
    }
}
