#include "tools/showcase/PngImage.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <unordered_map>

namespace {

const size_t kMaxPaletteColours = 256;
// Far more than any screen or contact sheet holds; a file claiming more is refused rather
// than given the memory it asks for.
const unsigned long long kMaxReadPixels = 1ULL << 26;

void PutRgb(std::vector<unsigned char>& out, unsigned long colour) {
    out.push_back(static_cast<unsigned char>((colour >> 16) & 0xff));
    out.push_back(static_cast<unsigned char>((colour >> 8) & 0xff));
    out.push_back(static_cast<unsigned char>(colour & 0xff));
}

// libpng's message outlives the jump only if it is copied somewhere the reader can see.
struct ReadFailure {
    char message[160];
};

// libpng expects its error handler not to return.
void StopReading(png_structp png, png_const_charp message) {
    ReadFailure* failure = static_cast<ReadFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

// Warnings are about what libpng could read past, such as a damaged optional chunk.
void IgnoreWarning(png_structp, png_const_charp) {}

// The two steps of reading that libpng may jump out of. The jump skips destructors, so these
// frames, the handler above and libpng's own are all it crosses, and none of them owns
// anything; what must be freed belongs to the caller.
bool ReadHeader(png_structp png, png_infop info, FILE* file) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    // Palette, grey, 16-bit and interlaced files all come out as rows of 8-bit red, green
    // and blue.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_read_image(png, rows);
    // Reading on to the end marker catches a file cut short after its image data.
    png_read_end(png, nullptr);
    return true;
}

// What Read opens, closed however Read leaves. Read's frame is never crossed by a jump, so
// the destructor always runs.
struct OpenPng {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~OpenPng() {
        png_destroy_read_struct(&png, &info, nullptr);
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};

} // namespace

PngImage::PngImage(int width, int height, std::vector<unsigned long> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return;
    }
    this->width = width;
    this->height = height;
    this->pixels = std::move(pixels);
}

PngImage PngImage::Shrunk(int factor) const {
    if (IsEmpty() || factor < 1 || factor > width || factor > height) {
        return {};
    }
    const int w = width / factor;
    const int h = height / factor;
    const unsigned long count = static_cast<unsigned long>(factor) * factor;
    std::vector<unsigned long> out;
    out.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned long sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                const size_t row = static_cast<size_t>(y * factor + dy) * width;
                for (int dx = 0; dx < factor; ++dx) {
                    const unsigned long colour = pixels[row + x * factor + dx];
                    sum[0] += (colour >> 16) & 0xff;
                    sum[1] += (colour >> 8) & 0xff;
                    sum[2] += colour & 0xff;
                }
            }
            const auto mean = [count](unsigned long total) { return (total + count / 2) / count; };
            out.push_back(mean(sum[0]) << 16 | mean(sum[1]) << 8 | mean(sum[2]));
        }
    }
    return PngImage(w, h, std::move(out));
}

std::vector<unsigned char> PngImage::Encode() const {
    if (IsEmpty()) {
        return {};
    }
    // Palette entries in the order the colours first appear, so the same picture always
    // gives the same bytes.
    std::vector<unsigned long> palette;
    std::unordered_map<unsigned long, unsigned char> index;
    for (const unsigned long colour : pixels) {
        if (index.count(colour & 0xffffff) != 0) {
            continue;
        }
        if (palette.size() == kMaxPaletteColours) {
            palette.clear();
            break;
        }
        index.emplace(colour & 0xffffff, static_cast<unsigned char>(palette.size()));
        palette.push_back(colour & 0xffffff);
    }
    const bool indexed = !palette.empty();

    std::vector<unsigned char> samples;
    samples.reserve(pixels.size() * (indexed ? 1 : 3));
    for (const unsigned long colour : pixels) {
        if (indexed) {
            samples.push_back(index.at(colour & 0xffffff));
        } else {
            PutRgb(samples, colour);
        }
    }
    std::vector<unsigned char> colourMap;
    for (const unsigned long colour : palette) {
        PutRgb(colourMap, colour);
    }

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = indexed ? PNG_FORMAT_RGB_COLORMAP : PNG_FORMAT_RGB;
    png.colormap_entries = static_cast<png_uint_32>(palette.size());
    // libpng's bound on the size of the file lets it be written in one pass.
    std::vector<unsigned char> file(PNG_IMAGE_PNG_SIZE_MAX(png));
    png_alloc_size_t size = file.size();
    if (png_image_write_to_memory(&png, file.data(), &size, 0, samples.data(), 0,
                                  indexed ? colourMap.data() : nullptr) == 0) {
        return {};
    }
    file.resize(size);
    return file;
}

bool PngImage::Write(const std::string& path, std::string& error) const {
    const std::vector<unsigned char> bytes = Encode();
    if (bytes.empty()) {
        error = "nothing to write to " + path;
        return false;
    }
    const std::string partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wbe");
    if (file == nullptr) {
        error = "cannot write " + partial + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        error = "cannot write " + partial + ": " + std::strerror(written ? errno : writeError);
        std::remove(partial.c_str());
        return false;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        error = "cannot rename " + partial + " to " + path + ": " + std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

PngImage PngImage::Read(const std::string& path, std::string& error) {
    OpenPng open;
    open.file = std::fopen(path.c_str(), "rbe");
    if (open.file == nullptr) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return {};
    }
    ReadFailure failure{};
    open.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, StopReading, IgnoreWarning);
    open.info = open.png != nullptr ? png_create_info_struct(open.png) : nullptr;
    if (open.info == nullptr) {
        error = "cannot read " + path + ": out of memory";
        return {};
    }
    // libpng says only "Read Error" when the file runs out.
    const auto failed = [&] {
        return "cannot read " + path + ": " +
               (std::feof(open.file) != 0 ? "the file ends too early" : failure.message);
    };
    if (!ReadHeader(open.png, open.info, open.file)) {
        error = failed();
        return {};
    }
    const png_uint_32 width = png_get_image_width(open.png, open.info);
    const png_uint_32 height = png_get_image_height(open.png, open.info);
    const size_t rowBytes = png_get_rowbytes(open.png, open.info);
    if (static_cast<unsigned long long>(width) * height > kMaxReadPixels) {
        error = "cannot read " + path + ": the picture is too large";
        return {};
    }
    if (png_get_channels(open.png, open.info) != 3 || png_get_bit_depth(open.png, open.info) != 8 ||
        rowBytes != static_cast<size_t>(width) * 3) {
        error = "cannot read " + path + ": its pixels do not convert to 8-bit colour";
        return {};
    }
    std::vector<unsigned char> samples(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = samples.data() + rowBytes * y;
    }
    if (!ReadRows(open.png, rows.data())) {
        error = failed();
        return {};
    }
    std::vector<unsigned long> colours;
    colours.reserve(static_cast<size_t>(width) * height);
    for (size_t at = 0; at < samples.size(); at += 3) {
        colours.push_back(static_cast<unsigned long>(samples[at]) << 16 |
                          static_cast<unsigned long>(samples[at + 1]) << 8 | samples[at + 2]);
    }
    return PngImage(static_cast<int>(width), static_cast<int>(height), std::move(colours));
}
