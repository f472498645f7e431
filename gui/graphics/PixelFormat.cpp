#include "gui/graphics/PixelFormat.h"

#include <map>
#include <tuple>

namespace {

const int kChannelBits = 8;
const unsigned long kChannelMax = 0xff;

} // namespace

const PixelFormat& PixelFormat::Of(Display* display) {
    // Each layout is worked out once. It is known by its masks: a visual's memory may be
    // reused by the next display's.
    static std::map<std::tuple<int, unsigned long, unsigned long, unsigned long>, PixelFormat>
        formats;
    const Visual* visual =
        display != nullptr ? DefaultVisual(display, DefaultScreen(display)) : nullptr;
    const auto key = visual != nullptr ? std::make_tuple(visual->c_class, visual->red_mask,
                                                         visual->green_mask, visual->blue_mask)
                                       : std::make_tuple(0, 0UL, 0UL, 0UL);
    auto found = formats.find(key);
    if (found == formats.end()) {
        found = formats.emplace(key, PixelFormat(visual)).first;
    }
    return found->second;
}

PixelFormat::PixelFormat(const Visual* visual) {
    if (visual == nullptr || visual->c_class != TrueColor) {
        return;
    }
    red = FromMask(visual->red_mask);
    green = FromMask(visual->green_mask);
    blue = FromMask(visual->blue_mask);
    plainRgb = visual->red_mask == 0xff0000 && visual->green_mask == 0x00ff00 &&
               visual->blue_mask == 0x0000ff;
}

PixelFormat::Channel PixelFormat::FromMask(unsigned long mask) {
    Channel channel;
    if (mask == 0) {
        channel.width = 0;
        return channel;
    }
    channel.shift = __builtin_ctzl(mask);
    channel.width = __builtin_popcountl(mask);
    return channel;
}

unsigned long PixelFormat::Narrow(unsigned long value, const Channel& channel) {
    if (channel.width <= 0) {
        return 0;
    }
    // Narrower channels keep the high bits; wider ones repeat them into the low bits, so that
    // full intensity stays full.
    unsigned long scaled = value;
    if (channel.width < kChannelBits) {
        scaled = value >> (kChannelBits - channel.width);
    } else if (channel.width > kChannelBits) {
        scaled = value << (channel.width - kChannelBits);
        scaled |= value >> (2 * kChannelBits - channel.width);
    }
    return scaled << channel.shift;
}

unsigned long PixelFormat::Widen(unsigned long pixel, const Channel& channel) {
    if (channel.width <= 0) {
        return 0;
    }
    const unsigned long value = (pixel >> channel.shift) & ((1UL << channel.width) - 1);
    if (channel.width >= kChannelBits) {
        return value >> (channel.width - kChannelBits);
    }
    // Repeating the bits fills the low ones, so the channel's top value reads back as 0xff.
    unsigned long wide = 0;
    for (int filled = 0; filled < kChannelBits; filled += channel.width) {
        wide = (wide << channel.width) | value;
    }
    const int total = (kChannelBits + channel.width - 1) / channel.width * channel.width;
    return (wide >> (total - kChannelBits)) & kChannelMax;
}

unsigned long PixelFormat::ToPixel(unsigned long color) const {
    if (plainRgb) {
        return color & 0xffffff;
    }
    return Narrow((color >> 16) & kChannelMax, red) | Narrow((color >> 8) & kChannelMax, green) |
           Narrow(color & kChannelMax, blue);
}

unsigned long PixelFormat::ToColor(unsigned long pixel) const {
    if (plainRgb) {
        return pixel & 0xffffff;
    }
    return Widen(pixel, red) << 16 | Widen(pixel, green) << 8 | Widen(pixel, blue);
}
