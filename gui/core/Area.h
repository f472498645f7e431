#pragma once

// A rectangle in the coordinates of a window or a panel: where a control or a picture lies.
struct Area {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    constexpr int CentreX() const { return x + w / 2; }
    constexpr int CentreY() const { return y + h / 2; }
    constexpr bool Contains(int pointX, int pointY) const {
        return pointX >= x && pointX < x + w && pointY >= y && pointY < y + h;
    }
    // The rectangle less a margin of dx on the left and right and dy above and below.
    constexpr Area Inset(int dx, int dy) const { return {x + dx, y + dy, w - 2 * dx, h - 2 * dy}; }
};
