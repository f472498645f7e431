#include "gui/graphics/ImageBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/Application.h"
#include "app/Screen.h"
#include "gui/core/Form.h"
#include "gui/graphics/PixelFormat.h"
#include "util/Log.h"

PixelLayout pixelLayout;

namespace {

// A colour whose three channel bytes differ from each other and from 0, so that each one can
// be found again in the pixel the server answers.
const unsigned long kProbeColor = 0xCF3B76;
const unsigned char kProbeRed = 0xCF;
const unsigned char kProbeGreen = 0x3B;
const unsigned char kProbeBlue = 0x76;
// No pixel is wider than this many bytes.
const int kMaxPixelBytes = 8;

// The values every 24-bit TrueColor server has been seen to answer.
const int kExpectedPad = 32;
const int kExpectedUnit = 32;
const int kExpectedDepth = 24;
const int kExpectedBitsPerPixel = 32;

void WarnIfDifferent(const char* message, int value, int expected) {
    if (value != expected) {
        LogString(message + std::to_string(value));
    }
}

// The open connection of the element's form; null when there is none.
Display* DisplayOf(GUIElement* element) {
    Form* form = Application::FindParentForm(element);
    Screen* screen = form != nullptr ? form->GetScreen() : nullptr;
    return screen != nullptr ? screen->GetDisplay() : nullptr;
}

// The display and window of the element's form, or false when there is none to draw on.
bool FindTarget(GUIElement* element, Display*& display, Window& window) {
    display = DisplayOf(element);
    window = display != nullptr ? Application::FindParentForm(element)->GetWindow() : 0;
    return display != nullptr && window != 0;
}

Visual* VisualOf(GUIElement* element, Display* display) {
    Form* form = Application::FindParentForm(element);
    Screen* screen = form != nullptr ? form->GetScreen() : nullptr;
    XVisualInfo* info = screen != nullptr ? screen->GetVisualInfo() : nullptr;
    return info != nullptr ? info->visual : DefaultVisual(display, DefaultScreen(display));
}

void RecordLayout(const XImage* image) {
    pixelLayout.format = image->format;
    pixelLayout.xOffset = image->xoffset;
    pixelLayout.bitmapPad = image->bitmap_pad;
    pixelLayout.bitmapUnit = image->bitmap_unit;
    pixelLayout.bitsPerPixel = image->bits_per_pixel;
    pixelLayout.bitmapBitOrder = image->bitmap_bit_order;
    pixelLayout.byteOrder = image->byte_order;
    pixelLayout.depth = image->depth;

    WarnIfDifferent("WARNING img->format: ", image->format, ZPixmap);
    WarnIfDifferent("WARNING img->xoffset: ", image->xoffset, 0);
    WarnIfDifferent("WARNING img->bitmap_pad: ", image->bitmap_pad, kExpectedPad);
    WarnIfDifferent("WARNING img->bitmap_unit: ", image->bitmap_unit, kExpectedUnit);
    WarnIfDifferent("WARNING img->depth: ", image->depth, kExpectedDepth);
    WarnIfDifferent("WARNING img->bits_per_pixel: ", image->bits_per_pixel, kExpectedBitsPerPixel);
    WarnIfDifferent("WARNING img->bitmap_bit_order: ", image->bitmap_bit_order, LSBFirst);
    WarnIfDifferent("WARNING img->byte_order: ", image->byte_order, LSBFirst);
}

void FindChannels(const XImage* image) {
    bool red = false;
    bool green = false;
    bool blue = false;
    const int pixelBytes = image->bits_per_pixel / 8;
    for (int i = 0; i < kMaxPixelBytes && i < pixelBytes; ++i) {
        const unsigned char byte = static_cast<unsigned char>(image->data[i]);
        if (byte == kProbeRed) {
            pixelLayout.ixRosso = i;
            red = true;
        } else if (byte == kProbeGreen) {
            pixelLayout.ixVerde = i;
            green = true;
        } else if (byte == kProbeBlue) {
            pixelLayout.ixBlu = i;
            blue = true;
        }
    }
    // When a channel went missing the indices are guesses, so all three are reported.
    const bool found = red && green && blue;
    if (!found || pixelLayout.ixRosso != 2) {
        LogString("WARNING MyImage::ixRosso: " + std::to_string(pixelLayout.ixRosso));
    }
    if (!found || pixelLayout.ixVerde != 1) {
        LogString("WARNING MyImage::ixVerde: " + std::to_string(pixelLayout.ixVerde));
    }
    if (!found || pixelLayout.ixBlu != 0) {
        LogString("WARNING MyImage::ixBlu: " + std::to_string(pixelLayout.ixBlu));
    }
}

} // namespace

size_t BlockSize(int w, int h) {
    if (w <= 0 || h <= 0) {
        return 0;
    }
    return kPaletteBytes + static_cast<size_t>((w + 1) / 2) * static_cast<size_t>(h);
}

RgbBuffer BlockToRgb(int w, int h, const unsigned char* block) {
    if (block == nullptr || w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) {
        return nullptr;
    }
    RgbBuffer rgb(new (std::nothrow) unsigned char[static_cast<size_t>(w) * 3 * h]);
    if (rgb == nullptr) {
        return nullptr;
    }
    const unsigned char* palette = block;
    const size_t bytesPerRow = static_cast<size_t>((w + 1) / 2);
    for (int stored = 0; stored < h; ++stored) {
        const unsigned char* source = block + kPaletteBytes + stored * bytesPerRow;
        // Blocks are stored bottom-up.
        unsigned char* target = rgb.get() + static_cast<size_t>(h - 1 - stored) * w * 3;
        for (int column = 0; column < w; ++column) {
            const unsigned char byte = source[column / 2];
            const int index = column % 2 == 0 ? byte >> 4 : byte & 0x0F;
            const unsigned char* colour = palette + 3 * index;
            *target++ = colour[0];
            *target++ = colour[1];
            *target++ = colour[2];
        }
    }
    return rgb;
}

// Learns the pixel layout from a 1 x 1 pixmap of the window's depth rather than from the
// window itself, so the probe leaves no mark on what the user sees.
void ProbePixelFormat(GUIElement* element) {
    if (pixelLayout.depth != 0) {
        return;
    }
    Display* display = nullptr;
    Window window = 0;
    if (!FindTarget(element, display, window)) {
        return;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return;
    }
    const Pixmap probe =
        XCreatePixmap(display, window, 1, 1, static_cast<unsigned>(attributes.depth));
    GC gc = XCreateGC(display, probe, 0, nullptr);
    if (gc != nullptr) {
        XSetForeground(display, gc, kProbeColor);
        XDrawPoint(display, probe, gc, 0, 0);
        XFreeGC(display, gc);
    }
    XImage* image = XGetImage(display, probe, 0, 0, 1, 1, AllPlanes, ZPixmap);
    XFreePixmap(display, probe);
    if (gc == nullptr || image == nullptr) {
        Log("ProbePixelFormat: the server's pixel layout could not be read");
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return;
    }
    RecordLayout(image);
    FindChannels(image);
    XDestroyImage(image);
}

namespace {

// Pixel memory for a w x h image in the layout the server wants, zeroed, with its row length
// and the bytes of one pixel; null (nothing allocated) when no image can be made.
struct ImageMemory {
    Display* display = nullptr;
    char* data = nullptr;
    int rowLength = 0;
    int stride = 0;
};

ImageMemory AllocateImage(GUIElement* element, int w, int h, const char* caller) {
    ImageMemory memory;
    ProbePixelFormat(element);
    Window window = 0;
    const int stride = pixelLayout.bitsPerPixel / 8;
    if (pixelLayout.depth == 0 || stride <= 0 || w <= 0 || h <= 0 || w > kMaxImageSide ||
        h > kMaxImageSide || !FindTarget(element, memory.display, window)) {
        return memory;
    }
    int rowLength = stride * w;
    const int pad = pixelLayout.bitmapPad / 8;
    if (pad > 0 && rowLength % pad != 0) {
        const int padded = (rowLength + pad - 1) / pad * pad;
        // Every picture of an odd width would say it again; once tells the story.
        static bool paddingReported = false;
        if (!paddingReported) {
            LogString("WARNING img width: " + std::to_string(w) +
                      " - bytes_per_line_Pad != bytes_per_line: " + std::to_string(padded) + " " +
                      std::to_string(rowLength));
            paddingReported = true;
        }
        rowLength = padded;
    }
    // Xlib frees an image's pixels with free(), so they come from the C allocator.
    memory.data = static_cast<char*>(std::calloc(static_cast<size_t>(rowLength) * h, 1));
    if (memory.data == nullptr) {
        LogString(std::string(caller) + ": no memory for a " + std::to_string(w) + " x " +
                  std::to_string(h) + " image");
        return memory;
    }
    memory.rowLength = rowLength;
    memory.stride = stride;
    return memory;
}

XImage* WrapImage(GUIElement* element, const ImageMemory& memory, int w, int h,
                  const char* caller) {
    XImage* image = XCreateImage(
        memory.display, VisualOf(element, memory.display), static_cast<unsigned>(pixelLayout.depth),
        pixelLayout.format, pixelLayout.xOffset, memory.data, static_cast<unsigned>(w),
        static_cast<unsigned>(h), pixelLayout.bitmapPad / 8 * 8, memory.rowLength);
    if (image == nullptr) {
        std::free(memory.data);
        LogString(std::string(caller) + ": XCreateImage failed");
    }
    return image;
}

// Stores a pixel value in the server's byte order.
void StorePixel(unsigned char* pixel, unsigned long value, int stride, bool mostSignificantFirst) {
    for (int byte = 0; byte < stride; ++byte, value >>= 8) {
        pixel[mostSignificantFirst ? stride - 1 - byte : byte] =
            static_cast<unsigned char>(value & 0xff);
    }
}

} // namespace

XImage* CreateImageFromRgb(GUIElement* element, const unsigned char* rgb, int w, int h) {
    if (rgb == nullptr) {
        return nullptr;
    }
    const ImageMemory memory = AllocateImage(element, w, h, "CreateImageFromRgb");
    if (memory.data == nullptr) {
        return nullptr;
    }
    // Each pixel value is laid out as the visual's masks say and stored in the server's byte
    // order, so that any TrueColor screen, whatever its depth, shows the colours of the picture.
    const PixelFormat& format = PixelFormat::Of(memory.display);
    const bool mostSignificantFirst = pixelLayout.byteOrder == MSBFirst;
    const unsigned char* source = rgb;
    for (int row = 0; row < h; ++row) {
        unsigned char* pixel = reinterpret_cast<unsigned char*>(memory.data) +
                               static_cast<size_t>(row) * memory.rowLength;
        for (int column = 0; column < w; ++column, pixel += memory.stride, source += 3) {
            StorePixel(pixel,
                       format.ToPixel(static_cast<unsigned long>(source[0]) << 16 |
                                      static_cast<unsigned long>(source[1]) << 8 | source[2]),
                       memory.stride, mostSignificantFirst);
        }
    }
    return WrapImage(element, memory, w, h, "CreateImageFromRgb");
}

XImage* CreateImageFromBlock(GUIElement* element, const unsigned char* block, int w, int h) {
    if (block == nullptr) {
        return nullptr;
    }
    const ImageMemory memory = AllocateImage(element, w, h, "CreateImageFromBlock");
    if (memory.data == nullptr) {
        return nullptr;
    }
    // A block has 16 colours, so the pixel value of each is worked out once and the rows are
    // copied out of that table: the same pixels as BlockToRgb and CreateImageFromRgb, without
    // the RGB buffer between them or a conversion per pixel.
    const PixelFormat& format = PixelFormat::Of(memory.display);
    const bool mostSignificantFirst = pixelLayout.byteOrder == MSBFirst;
    unsigned char pixels[kPaletteEntries][kMaxPixelBytes] = {};
    for (int index = 0; index < kPaletteEntries; ++index) {
        const unsigned char* colour = block + 3 * index;
        StorePixel(pixels[index],
                   format.ToPixel(static_cast<unsigned long>(colour[0]) << 16 |
                                  static_cast<unsigned long>(colour[1]) << 8 | colour[2]),
                   std::min(memory.stride, kMaxPixelBytes), mostSignificantFirst);
    }
    const size_t bytesPerRow = static_cast<size_t>((w + 1) / 2);
    for (int stored = 0; stored < h; ++stored) {
        const unsigned char* source = block + kPaletteBytes + stored * bytesPerRow;
        // Blocks are stored bottom-up.
        unsigned char* target = reinterpret_cast<unsigned char*>(memory.data) +
                                static_cast<size_t>(h - 1 - stored) * memory.rowLength;
        if (memory.stride == 4) {
            // The usual 32-bit pixel: one copy of a whole pixel per column.
            for (int column = 0; column < w; ++column, target += 4) {
                const unsigned char byte = source[column / 2];
                std::memcpy(target, pixels[column % 2 == 0 ? byte >> 4 : byte & 0x0F], 4);
            }
            continue;
        }
        for (int column = 0; column < w; ++column, target += memory.stride) {
            const unsigned char byte = source[column / 2];
            std::memcpy(target, pixels[column % 2 == 0 ? byte >> 4 : byte & 0x0F],
                        static_cast<size_t>(std::min(memory.stride, kMaxPixelBytes)));
        }
    }
    return WrapImage(element, memory, w, h, "CreateImageFromBlock");
}

void DestroyImage(XImage* image) {
    if (image == nullptr) {
        return;
    }
    std::free(image->data);
    image->data = nullptr;
    XDestroyImage(image);
}

Pixmap CreatePixmapFromImage(GUIElement* element, XImage* image) {
    Display* display = nullptr;
    Window window = 0;
    if (image == nullptr || image->width <= 0 || image->height <= 0 ||
        !FindTarget(element, display, window)) {
        return None;
    }
    const unsigned w = static_cast<unsigned>(image->width);
    const unsigned h = static_cast<unsigned>(image->height);
    const Pixmap pixmap = XCreatePixmap(display, window, w, h, static_cast<unsigned>(image->depth));
    XGCValues values{};
    values.cap_style = 0;
    values.join_style = 0;
    GC gc = XCreateGC(display, pixmap, GCCapStyle | GCJoinStyle, &values);
    if (gc == nullptr) {
        Log("Errore XCreateGC");
        return pixmap;
    }
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, w, h);
    XFreeGC(display, gc);
    return pixmap;
}

void FreePixmap(GUIElement* element, Pixmap pixmap) {
    Display* display = DisplayOf(element);
    if (display != nullptr && pixmap != None) {
        XFreePixmap(display, pixmap);
    }
}
