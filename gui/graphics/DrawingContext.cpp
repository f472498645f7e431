#include "gui/graphics/DrawingContext.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/Screen.h"
#include "gui/core/Form.h"
#include "gui/graphics/PixelFormat.h"
#include "util/Log.h"
#include "util/StringUtils.h"

namespace {

// Text boxes below this height show nothing.
const int kMinTextHeight = 9;
// Lines are never closer than this, whatever the font.
const int kMinLineHeight = 15;
const int kFullCircle = 360 * 64;

unsigned long PixelOf(DrawingContext& dc, long color) {
    return PixelFormat::Of(dc.GetDisplay()).ToPixel(static_cast<unsigned long>(color));
}

void SetForeground(DrawingContext& dc, long color) {
    if (color != -1) {
        XSetForeground(dc.GetDisplay(), dc.GetGC(), PixelOf(dc, color));
    }
}

void SetBackground(DrawingContext& dc, long color) {
    if (color != -1) {
        XSetBackground(dc.GetDisplay(), dc.GetGC(), PixelOf(dc, color));
    }
}

// Every primitive that changes the line attributes puts back this state before it returns.
void RestoreLineState(DrawingContext& dc) {
    XSetLineAttributes(dc.GetDisplay(), dc.GetGC(), 1, LineSolid, CapRound, JoinRound);
}

int TextWidth(XFontStruct* font, const std::string& text) {
    return XTextWidth(font, text.data(), static_cast<int>(text.size()));
}

int LineHeight(XFontStruct* font) {
    return font->ascent > kMinLineHeight ? font->ascent + 1 : kMinLineHeight;
}

// The rectangle of the image that a put of w x h from (sourceX, sourceY) may read.
bool ClipToImage(const XImage* image, int sourceX, int sourceY, int& w, int& h) {
    if (w == 0) {
        w = image->width;
    }
    if (h == 0) {
        h = image->height;
    }
    w = std::min(w, image->width - sourceX);
    h = std::min(h, image->height - sourceY);
    return sourceX >= 0 && sourceY >= 0 && w > 0 && h > 0;
}

} // namespace

DrawingContext::DrawingContext(Form* owner) : form(owner != nullptr ? owner : FirstForm()) {
    Display* display = GetDisplay();
    const Window window = GetWindow();
    if (display != nullptr && window != 0) {
        // A copy would otherwise send the program a NoExpose event each time, which it would
        // wake for and then ignore.
        XGCValues values{};
        values.graphics_exposures = False;
        gc = XCreateGC(display, window, GCGraphicsExposures, &values);
    }
    if (gc == nullptr) {
        Log("Errore nella creazione del GC");
        return;
    }
    const int screenNumber = DefaultScreen(display);
    XSetForeground(display, gc, WhitePixel(display, screenNumber));
    XSetBackground(display, gc, BlackPixel(display, screenNumber));
    XSetFillStyle(display, gc, FillSolid);
    XSetLineAttributes(display, gc, 1, LineSolid, CapRound, JoinRound);
    if (XFontStruct* font = GetProgramFont(display)) {
        XSetFont(display, gc, font->fid);
    }
}

DrawingContext::~DrawingContext() {
    if (gc != nullptr) {
        XFreeGC(GetDisplay(), gc);
    }
}

Display* DrawingContext::GetDisplay() const {
    if (form == nullptr || form->GetScreen() == nullptr) {
        return nullptr;
    }
    return form->GetScreen()->GetDisplay();
}

Window DrawingContext::GetWindow() const {
    return form != nullptr ? form->GetWindow() : 0;
}

int DrawingContext::TextHeight() const {
    return ProgramTextHeight(form);
}

int DrawingContext::TextHeight(int) const {
    return TextHeight();
}

int DrawingContext::CharWidth() const {
    return ProgramCharWidth(form);
}

int ProgramTextHeight(Form* form) {
    Display* display =
        form != nullptr && form->GetScreen() != nullptr ? form->GetScreen()->GetDisplay() : nullptr;
    XFontStruct* font = GetProgramFont(display);
    return font != nullptr ? font->ascent + 1 : 0;
}

int ProgramCharWidth(Form* form) {
    Display* display =
        form != nullptr && form->GetScreen() != nullptr ? form->GetScreen()->GetDisplay() : nullptr;
    XFontStruct* font = GetProgramFont(display);
    return font != nullptr ? TextWidth(font, "M") : 0;
}

void DrawPoint(DrawingContext& dc, int x, int y, long color) {
    if (!dc.IsValid()) {
        return;
    }
    XSetForeground(dc.GetDisplay(), dc.GetGC(), PixelOf(dc, color));
    XDrawPoint(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), x, y);
    XFlush(dc.GetDisplay());
}

unsigned long GetPixel(DrawingContext& dc, int x, int y) {
    if (!dc.IsValid()) {
        return 0;
    }
    Display* display = dc.GetDisplay();
    // Reading a window directly fails with a protocol error when the point is off the screen
    // (and the default handler ends the program); a copy into a pixmap never does.
    XWindowAttributes attributes;
    XGetWindowAttributes(display, dc.GetWindow(), &attributes);
    const Pixmap pixel =
        XCreatePixmap(display, dc.GetWindow(), 1, 1, static_cast<unsigned>(attributes.depth));
    XCopyArea(display, dc.GetWindow(), pixel, dc.GetGC(), x, y, 1, 1, 0, 0);
    XImage* image = XGetImage(display, pixel, 0, 0, 1, 1, AllPlanes, ZPixmap);
    XFreePixmap(display, pixel);
    if (image == nullptr) {
        return 0;
    }
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return PixelFormat::Of(display).ToColor(value);
}

void DrawLine(DrawingContext& dc, int x1, int y1, int x2, int y2, int style, int, long color) {
    if (!dc.IsValid()) {
        return;
    }
    SetForeground(dc, color);
    const bool dashed = style == kLineDashed || style == kLineDoubleDashed;
    if (dashed) {
        XSetLineAttributes(dc.GetDisplay(), dc.GetGC(), 1,
                           style == kLineDashed ? LineOnOffDash : LineDoubleDash, CapRound,
                           JoinRound);
    }
    XDrawLine(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), x1, y1, x2, y2);
    if (dashed) {
        RestoreLineState(dc);
    }
    XFlush(dc.GetDisplay());
}

void DrawLine(DrawingContext& dc, int x1, int y1, int x2, int y2, int width, long color) {
    DrawLine(dc, x1, y1, x2, y2, kLineSolid, width, color);
}

void DrawPolyline(DrawingContext& dc, XPoint* points, int count, int, long color) {
    if (!dc.IsValid() || points == nullptr || count <= 0) {
        return;
    }
    SetForeground(dc, color);
    XDrawLines(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), points, count, CoordModeOrigin);
    XFlush(dc.GetDisplay());
}

void FillPolygon(DrawingContext& dc, XPoint* points, int count, int borderWidth, long borderColor,
                 long fillColor) {
    if (!dc.IsValid() || points == nullptr || count <= 0) {
        return;
    }
    SetForeground(dc, fillColor);
    XFillPolygon(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), points, count, Complex,
                 CoordModeOrigin);
    XFlush(dc.GetDisplay());
    if (borderWidth > 0) {
        DrawPolyline(dc, points, count, borderWidth, borderColor);
    }
}

void DrawRect(DrawingContext& dc, int x, int y, int w, int h, int lineWidth, long color) {
    if (!dc.IsValid()) {
        return;
    }
    SetForeground(dc, color);
    const bool wide = lineWidth > 1;
    if (wide) {
        XSetLineAttributes(dc.GetDisplay(), dc.GetGC(), static_cast<unsigned>(lineWidth), LineSolid,
                           CapRound, JoinRound);
    }
    // An X rectangle outline covers width + 1 pixels, so w - 1 draws exactly w.
    XDrawRectangle(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), x, y,
                   static_cast<unsigned>(std::max(w - 1, 0)),
                   static_cast<unsigned>(std::max(h - 1, 0)));
    if (wide) {
        RestoreLineState(dc);
    }
    XFlush(dc.GetDisplay());
}

void FillRect(DrawingContext& dc, int x, int y, int w, int h, int borderWidth, long borderColor,
              long fillColor) {
    if (!dc.IsValid()) {
        return;
    }
    SetForeground(dc, fillColor);
    if (w > 1 && h > 1) {
        XFillRectangle(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), x, y,
                       static_cast<unsigned>(w - 1), static_cast<unsigned>(h - 1));
    }
    XFlush(dc.GetDisplay());
    if (borderWidth > 0) {
        DrawRect(dc, x, y, w - 1, h - 1, borderWidth, borderColor);
    }
}

void DrawBevel(DrawingContext& dc, int x, int y, int w, int h, long topLeft, long bottomRight) {
    const int right = x + w - 1;
    const int bottom = y + h - 1;
    DrawLine(dc, x, y, right, y, 1, topLeft);
    DrawLine(dc, x, bottom, x, y, 1, topLeft);
    DrawLine(dc, right, y, right, bottom, 1, bottomRight);
    DrawLine(dc, x, bottom, right, bottom, 1, bottomRight);
}

void DrawFocusRect(DrawingContext& dc, int x, int y, int w, int h, long color, FocusSides sides) {
    const int right = x + w - 1;
    const int bottom = y + h - 1;
    const int overrun = sides == FocusSides::kExtended ? 1 : 0;
    // The dashes start afresh at the first end of each line, so which end each edge is drawn
    // from decides where its gaps fall.
    DrawLine(dc, x, y, right, y, kLineDashed, 1, color);
    DrawLine(dc, x, bottom, x, y - overrun, kLineDashed, 1, color);
    DrawLine(dc, right, y, right, bottom + overrun, kLineDashed, 1, color);
    DrawLine(dc, x, bottom, right, bottom, kLineDashed, 1, color);
}

void DrawEllipse(DrawingContext& dc, int x, int y, int w, int h, int, long color) {
    if (!dc.IsValid()) {
        return;
    }
    SetForeground(dc, color);
    XSetArcMode(dc.GetDisplay(), dc.GetGC(), ArcPieSlice);
    XDrawArc(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), x, y, static_cast<unsigned>(w),
             static_cast<unsigned>(h), 0, kFullCircle);
    XFlush(dc.GetDisplay());
}

void FillEllipse(DrawingContext& dc, int x, int y, int w, int h, int borderWidth, long borderColor,
                 long fillColor) {
    if (!dc.IsValid()) {
        return;
    }
    SetForeground(dc, fillColor);
    XSetArcMode(dc.GetDisplay(), dc.GetGC(), ArcPieSlice);
    XFillArc(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), x, y, static_cast<unsigned>(w),
             static_cast<unsigned>(h), 0, kFullCircle);
    XFlush(dc.GetDisplay());
    if (borderWidth > 0) {
        DrawEllipse(dc, x, y, w, h, borderWidth, borderColor);
    }
}

std::vector<TextLine> LayOutText(XFontStruct* font, int x, int y, int w, int h,
                                 const std::string& text, int alignment) {
    std::vector<TextLine> lines;
    if (font == nullptr) {
        return lines;
    }
    const int lineHeight = LineHeight(font);
    std::string rest = text;
    for (bool first = true; h > kMinTextHeight; first = false) {
        // The line runs to the first line feed, then gives characters back until it fits;
        // inside a word it goes back to the blank before the word, so lines break between
        // words where they can.
        const int length = static_cast<int>(rest.size());
        const size_t feed = rest.find('\n');
        int cut = feed == std::string::npos ? length : static_cast<int>(feed);
        bool fittedAtOnce = true;
        if (w > 0) {
            while (TextWidth(font, rest.substr(0, static_cast<size_t>(cut))) > w) {
                fittedAtOnce = false;
                --cut;
                const unsigned char left =
                    static_cast<unsigned char>(rest[static_cast<size_t>(cut)]);
                if (std::isalpha(left) && cut > 0) {
                    const size_t blank = rest.rfind(' ', static_cast<size_t>(cut - 1));
                    if (blank != std::string::npos) {
                        cut = static_cast<int>(blank);
                    }
                }
            }
        }
        TextLine line;
        line.text = rest.substr(0, static_cast<size_t>(cut));
        line.x = x;
        line.baseline = y + lineHeight - 1;
        const int lineWidth = TextWidth(font, line.text);
        const bool last = cut == length;
        const bool aligned = w > 0 && lineWidth != 0 && alignment != kAlignLeft;
        if (last && first) {
            // A text of one line is centred vertically in its box.
            line.baseline += (h - lineHeight) / 2;
        }
        if ((last || fittedAtOnce) && aligned) {
            line.x = alignment == kAlignRight ? x + w - lineWidth : x + (w - lineWidth) / 2;
        } else if (!last && !fittedAtOnce) {
            // Once a line had to be cut, the paragraph reads better flush left.
            alignment = kAlignLeft;
        }
        lines.push_back(line);
        if (last) {
            break;
        }
        rest = Trim(rest.substr(line.text.size()));
        y += lineHeight;
        h -= lineHeight;
    }
    return lines;
}

void DrawText(DrawingContext& dc, int x, int y, int w, int h, const std::string& text,
              long foreground, long background, int alignment) {
    if (!dc.IsValid()) {
        return;
    }
    XFontStruct* font = GetProgramFont(dc.GetDisplay());
    if (font == nullptr || h <= kMinTextHeight) {
        return;
    }
    SetBackground(dc, background);
    if (w > 0 && background != -1) {
        FillRect(dc, x, y, w, h + 1, 0, -1, background);
    }
    SetForeground(dc, foreground);
    for (const TextLine& line : LayOutText(font, x, y, w, h, text, alignment)) {
        XDrawString(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), line.x, line.baseline,
                    line.text.data(), static_cast<int>(line.text.size()));
    }
    XFlush(dc.GetDisplay());
}

void PutImagePart(DrawingContext& dc, int x, int y, int w, int h, XImage* image, int sourceX,
                  int sourceY) {
    if (!dc.IsValid() || image == nullptr || !ClipToImage(image, sourceX, sourceY, w, h)) {
        return;
    }
    XPutImage(dc.GetDisplay(), dc.GetWindow(), dc.GetGC(), image, sourceX, sourceY, x, y,
              static_cast<unsigned>(w), static_cast<unsigned>(h));
    XFlush(dc.GetDisplay());
}

void CopyImagePart(DrawingContext& dc, int x, int y, int w, int h, XImage* image, Pixmap serverCopy,
                   int sourceX, int sourceY) {
    if (!dc.IsValid() || image == nullptr || serverCopy == None ||
        !ClipToImage(image, sourceX, sourceY, w, h)) {
        return;
    }
    XCopyArea(dc.GetDisplay(), serverCopy, dc.GetWindow(), dc.GetGC(), sourceX, sourceY,
              static_cast<unsigned>(w), static_cast<unsigned>(h), x, y);
    XFlush(dc.GetDisplay());
}

void PutImage(DrawingContext& dc, int x, int y, int w, int h, XImage* image) {
    PutImagePart(dc, x, y, w, h, image, 0, 0);
}

void PutImage(DrawingContext& dc, int x, int y, XImage* image) {
    PutImagePart(dc, x, y, 0, 0, image, 0, 0);
}

// Key-coloured pixels are left out through a clip mask, so they keep whatever the window
// shows there. The caller's picture is never changed, and nothing is read back from the
// window (a read of a window that is partly off the screen is a protocol error).
void PutImageKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image,
                   unsigned long keyColor) {
    if (!dc.IsValid() || image == nullptr || !ClipToImage(image, 0, 0, w, h)) {
        return;
    }
    Display* display = dc.GetDisplay();
    const int bytesPerRow = (w + 7) / 8;
    std::string bits(static_cast<size_t>(bytesPerRow * h), '\0');
    const PixelFormat& format = PixelFormat::Of(display);
    const unsigned long key = keyColor & 0xffffff;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            if (format.ToColor(XGetPixel(image, column, row)) != key) {
                bits[static_cast<size_t>(row * bytesPerRow + column / 8)] |=
                    static_cast<char>(1 << (column % 8));
            }
        }
    }
    const Pixmap mask = XCreateBitmapFromData(display, dc.GetWindow(), bits.data(),
                                              static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSetClipMask(display, dc.GetGC(), mask);
    XSetClipOrigin(display, dc.GetGC(), x, y);
    XPutImage(display, dc.GetWindow(), dc.GetGC(), image, 0, 0, x, y, static_cast<unsigned>(w),
              static_cast<unsigned>(h));
    XSetClipMask(display, dc.GetGC(), None);
    XFreePixmap(display, mask);
    XFlush(display);
}

void PutImageKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image) {
    PutImageKeyed(dc, x, y, w, h, image, 0);
}

void PutImageRegionKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image, int sourceX,
                         int sourceY, unsigned long keyColor) {
    if (!dc.IsValid() || image == nullptr || !ClipToImage(image, sourceX, sourceY, w, h)) {
        return;
    }
    // The region is cut out in client memory; nothing needs a trip to the server.
    XImage* region =
        XSubImage(image, sourceX, sourceY, static_cast<unsigned>(w), static_cast<unsigned>(h));
    if (region == nullptr) {
        return;
    }
    PutImageKeyed(dc, x, y, w, h, region, keyColor);
    XDestroyImage(region);
}

void PutImageRegionKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image, int sourceX,
                         int sourceY) {
    PutImageRegionKeyed(dc, x, y, w, h, image, sourceX, sourceY, 0);
}
