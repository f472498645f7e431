#include <gtest/gtest.h>

#include <cstring>

#include "game/Pictures.h"
#include "gui/graphics/ImageBlock.h"

// The rounds are decided by strip positions, so the computer's hand at 5 - i must show the
// gesture of the player's hand at i, mirrored.
TEST(Pictures, ComputerHandsMirrorThePlayersHands) {
    for (int i = 0; i < 3; ++i) {
        const RgbBuffer player = BlockToRgb(wHAND0, hHAND0, handsStrip[i]);
        const RgbBuffer computer = BlockToRgb(wHAND0, hHAND0, handsStrip[5 - i]);
        int differences = 0;
        for (int y = 0; y < hHAND0; ++y) {
            for (int x = 0; x < wHAND0; ++x) {
                const unsigned char* left = player.get() + 3 * (y * wHAND0 + x);
                const unsigned char* right = computer.get() + 3 * (y * wHAND0 + wHAND0 - 1 - x);
                differences += std::memcmp(left, right, 3) != 0;
            }
        }
        EXPECT_EQ(differences, 0) << "hand " << i << " and hand " << 5 - i;
    }
}
