#pragma once

#include <string>
#include <vector>

// Reads back the PNG files the showcase writes, checking them as strictly as a picture viewer
// would: the signature, every chunk's checksum, the order of the chunks, the image header,
// palette indices and row filters. It knows only what those files may use: 8-bit samples,
// true colour or a palette, no interlacing, any of the five row filters.
class PngDecoder {
public:
    explicit PngDecoder(const std::vector<unsigned char>& bytes);
    static PngDecoder FromFile(const std::string& path);

    bool Ok() const { return error.empty(); }
    const std::string& Error() const { return error; }
    int Width() const { return width; }
    int Height() const { return height; }
    int ColourType() const { return colourType; }
    // Chunk types in file order.
    const std::vector<std::string>& Chunks() const { return chunks; }
    // 0xRRGGBB, row by row from the top.
    const std::vector<unsigned long>& Pixels() const { return pixels; }

private:
    bool Decode(const std::vector<unsigned char>& bytes);
    bool Unfilter(std::vector<unsigned char>& raw, int bytesPerPixel);
    bool Fail(const std::string& message);

    std::string error;
    int width = 0;
    int height = 0;
    int colourType = -1;
    std::vector<std::string> chunks;
    std::vector<unsigned long> palette;
    std::vector<unsigned long> pixels;
};
