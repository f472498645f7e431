#pragma once

#include <string>
#include <vector>

// A picture held in memory as 0xRRGGBB values, row by row from the top, that can be shrunk,
// saved as a PNG file and read back from one. Screens of the game have few colours, so a
// picture with at most 256 of them is saved with a palette, which keeps the files small;
// others in true colour.
class PngImage {
  public:
    PngImage() = default;
    // An empty picture when the pixels are not exactly width × height of them.
    PngImage(int width, int height, std::vector<unsigned long> pixels);

    int Width() const { return width; }
    int Height() const { return height; }
    bool IsEmpty() const { return pixels.empty(); }
    const std::vector<unsigned long>& Pixels() const { return pixels; }

    // A copy 1/factor the size; each pixel is the rounded mean of a factor × factor square,
    // and rows or columns left over at the right and bottom edges are dropped. Empty when
    // the factor is below 1 or larger than the picture.
    PngImage Shrunk(int factor) const;

    // The bytes of a PNG file of the picture, empty for an empty picture.
    std::vector<unsigned char> Encode() const;
    // Saves the picture through a temporary file that is renamed into place, so the path
    // never holds half a file. False, with the reason, when it could not be written.
    bool Write(const std::string& path, std::string& error) const;
    // The picture in a PNG file of any kind: samples are taken as stored, at 8 bits, and
    // transparency is ignored. A file libpng finds damaged anywhere up to its end gives an
    // empty picture, with the reason.
    static PngImage Read(const std::string& path, std::string& error);

  private:
    int width = 0;
    int height = 0;
    std::vector<unsigned long> pixels;
};
