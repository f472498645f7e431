#pragma once

#include <string>
#include <vector>

#include "app/XlibHeaders.h"

class Form;

// An X graphics context bound to one form's window for one painting pass. Controls paint
// in immediate mode through the primitives below; each sets its colours, issues one or two
// requests and flushes, so what a control paints is on screen when the primitive returns.
//
// Colours are 0xRRGGBB values handed to the server as pixels (the program requires a 24-bit
// TrueColor visual). A colour of -1 keeps the context's current foreground. All text is
// measured and drawn with one program font, the font of the first form.
class DrawingContext {
  public:
    // Null draws on the first form.
    explicit DrawingContext(Form* owner);
    ~DrawingContext();

    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    bool IsValid() const { return gc != nullptr; }
    GC GetGC() const { return gc; }
    Form* GetForm() const { return form; }
    Display* GetDisplay() const;
    Window GetWindow() const;

    int TextHeight() const;
    int TextHeight(int ignored) const;
    int CharWidth() const;

  private:
    GC gc = nullptr;
    Form* form = nullptr;
};

// Text alignments of DrawText.
enum TextAlignment { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };

// Line styles of DrawLine.
enum LineStyle { kLineSolid = 0, kLineDashed = 1, kLineDoubleDashed = 2 };

// Its measures as a context on the form gives them (TextHeight, CharWidth), for controls that
// lay out before they paint; 0 while the form has no display or no font loads.
int ProgramTextHeight(Form* form);
int ProgramCharWidth(Form* form);

// Points and lines
void DrawPoint(DrawingContext& dc, int x, int y, long color);
unsigned long GetPixel(DrawingContext& dc, int x, int y);
void DrawLine(DrawingContext& dc, int x1, int y1, int x2, int y2, int style, int width, long color);
void DrawLine(DrawingContext& dc, int x1, int y1, int x2, int y2, int width, long color);
void DrawPolyline(DrawingContext& dc, XPoint* points, int count, int width, long color);

// Shapes
void FillPolygon(DrawingContext& dc, XPoint* points, int count, int borderWidth, long borderColor,
                 long fillColor);
void DrawRect(DrawingContext& dc, int x, int y, int w, int h, int lineWidth, long color);
void FillRect(DrawingContext& dc, int x, int y, int w, int h, int borderWidth, long borderColor,
              long fillColor);
void DrawEllipse(DrawingContext& dc, int x, int y, int w, int h, int width, long color);
void FillEllipse(DrawingContext& dc, int x, int y, int w, int h, int borderWidth, long borderColor,
                 long fillColor);

// Control frames
// A one-pixel bevel on the edge of the w x h rectangle: top and left edges in the first colour,
// right and bottom edges in the second. Light over dark looks raised, dark over light sunken.
void DrawBevel(DrawingContext& dc, int x, int y, int w, int h, long topLeft, long bottomRight);
// How the side edges of a focus rectangle end: level with the top and bottom edges, or one
// pixel longer, the left one past the top and the right one past the bottom.
enum class FocusSides { kFlush, kExtended };
// The dashed one-pixel rectangle a control draws round what has the keyboard focus, on the
// edge of the w x h rectangle.
void DrawFocusRect(DrawingContext& dc, int x, int y, int w, int h, long color, FocusSides sides);

// Text
// One line of a text as DrawText places it: its characters, its left edge and its baseline.
struct TextLine {
    std::string text;
    int x = 0;
    int baseline = 0;
};
// The lines DrawText draws the text in, top to bottom: they break at line feeds and, where a
// line is wider than w, between words; a box no higher than a few pixels holds none.
std::vector<TextLine> LayOutText(XFontStruct* font, int x, int y, int w, int h,
                                 const std::string& text, int alignment);
void DrawText(DrawingContext& dc, int x, int y, int w, int h, const std::string& text,
              long foreground, long background, int alignment);

// Images (an X image of the screen's format; w or h 0 means the image's own)
void PutImage(DrawingContext& dc, int x, int y, int w, int h, XImage* image);
void PutImage(DrawingContext& dc, int x, int y, XImage* image);
void PutImagePart(DrawingContext& dc, int x, int y, int w, int h, XImage* image, int sourceX,
                  int sourceY);
// As PutImagePart, from a pixmap that holds the image on the server (CreatePixmapFromImage):
// the image only gives the size, and no pixel travels.
void CopyImagePart(DrawingContext& dc, int x, int y, int w, int h, XImage* image, Pixmap serverCopy,
                   int sourceX, int sourceY);
void PutImageKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image,
                   unsigned long keyColor);
void PutImageKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image);
void PutImageRegionKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image, int sourceX,
                         int sourceY, unsigned long keyColor);
void PutImageRegionKeyed(DrawingContext& dc, int x, int y, int w, int h, XImage* image, int sourceX,
                         int sourceY);
