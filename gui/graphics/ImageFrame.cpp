#include "gui/graphics/ImageFrame.h"

#include "app/Application.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"

namespace {
const unsigned long kKeyColor = 0x000000;
} // namespace

ImageFrame::ImageFrame(GUIElement* parentElement, const unsigned char* const* blockTable, int count,
                       int firstColumn, int firstRow)
    : blocks(blockTable), frameCount(count), column(firstColumn), row(firstRow) {
    parent = parentElement;
    kind = "imageframe";
    tabStop = false;
    autoRedraw = true;
}

ImageFrame::ImageFrame(GUIElement* parentElement, XImage* const* images, int count, int firstColumn,
                       int firstRow)
    : frameCount(count), frames(images), column(firstColumn), row(firstRow) {
    parent = parentElement;
    kind = "imageframe";
    tabStop = false;
    autoRedraw = true;
}

ImageFrame::ImageFrame(GUIElement* parentElement, XImage* sheetImage, int firstColumn, int firstRow)
    : sheet(sheetImage), column(firstColumn), row(firstRow) {
    parent = parentElement;
    kind = "imageframe";
    tabStop = false;
    autoRedraw = true;
}

// The converted frames go by themselves; their copies on the server need the form's display.
ImageFrame::~ImageFrame() {
    for (Pixmap copy : madeCopies) {
        FreePixmap(this, copy);
    }
}

void ImageFrame::Create() {
    CreateInForm();
}

void ImageFrame::Show() {
    GUIElement::Show();
    Paint();
}

void ImageFrame::ShowMapped() {
    Show();
}

void ImageFrame::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void ImageFrame::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void ImageFrame::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

int64_t ImageFrame::GetFrame() const {
    return PackPoint(column, row);
}

void ImageFrame::SetFrame(int newColumn, int newRow) {
    SetFrame(newColumn, newRow, false);
}

void ImageFrame::SetFrame(int newColumn, int newRow, bool clear) {
    if (newColumn == column && newRow == row) {
        return;
    }
    column = newColumn;
    row = newRow;
    if (!created) {
        return;
    }
    if (clear) {
        Hide();
    }
    Create();
    Paint();
}

void ImageFrame::SetKeyed(bool value) {
    keyed = value;
    Paint();
}

void ImageFrame::MakeFramesFromBlocks() {
    if (blocks == nullptr || !madeFrames.empty()) {
        return;
    }
    // The table's terminator ends it even when the count claims more entries.
    int count = 0;
    while (count < frameCount && blocks[count] != nullptr) {
        ++count;
    }
    // A frame is converted when it is first shown: most strips show a few of their frames for
    // a long time, and the start-up then converts only what is on the screen.
    madeFrames.resize(static_cast<size_t>(count));
    madeCopies.assign(madeFrames.size(), None);
    frameCount = count;
}

XImage* ImageFrame::MadeFrame(int64_t index) {
    if (index < 0 || index >= frameCount) {
        return nullptr;
    }
    if (blocks == nullptr) {
        return frames != nullptr ? frames[index] : nullptr;
    }
    if (static_cast<size_t>(index) >= madeFrames.size()) {
        return nullptr;
    }
    ClientImage& frame = madeFrames[static_cast<size_t>(index)];
    if (frame == nullptr) {
        frame.reset(CreateImageFromBlock(this, blocks[index], width, height));
    }
    return frame.get();
}

bool ImageFrame::SelectFrame(XImage*& source, int& sourceX, int& sourceY) {
    if (sheet != nullptr) {
        const int64_t left = int64_t(width) * column;
        const int64_t top = int64_t(height) * row;
        if (width <= 0 || height <= 0 || column < 0 || row < 0 || left + width > sheet->width ||
            top + height > sheet->height) {
            return false;
        }
        source = sheet;
        sourceX = static_cast<int>(left);
        sourceY = static_cast<int>(top);
        return true;
    }
    source = MadeFrame(int64_t(row) + column);
    sourceX = 0;
    sourceY = 0;
    return source != nullptr;
}

Pixmap ImageFrame::ServerCopyOf(int64_t index) {
    XImage* image = blocks != nullptr ? MadeFrame(index) : nullptr;
    if (image == nullptr) {
        return None;
    }
    // A strip's frames never change, and most are shown again and again: each crosses to the
    // server once, and showing it later sends no pixels at all.
    Pixmap& copy = madeCopies[static_cast<size_t>(index)];
    if (copy == None) {
        copy = CreatePixmapFromImage(this, image);
    }
    return copy;
}

void ImageFrame::PreparePaint() {
    MakeFramesFromBlocks();
    if (!keyed) {
        ServerCopyOf(int64_t(row) + column);
    }
}

void ImageFrame::PrepareAllFrames() {
    MakeFramesFromBlocks();
    for (int index = 0; !keyed && index < frameCount; ++index) {
        ServerCopyOf(index);
    }
}

void ImageFrame::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    DrawingContext dc(Application::FindParentForm(this));
    if (!dc.IsValid()) {
        return;
    }
    MakeFramesFromBlocks();
    XImage* source = nullptr;
    int sourceX = 0;
    int sourceY = 0;
    if (!SelectFrame(source, sourceX, sourceY)) {
        return;
    }
    const int left = FormX();
    const int top = FormY();
    if (!keyed) {
        const Pixmap copy = ServerCopyOf(int64_t(row) + column);
        if (copy != None) {
            CopyImagePart(dc, left, top, width, height, source, copy, sourceX, sourceY);
        } else {
            PutImagePart(dc, left, top, width, height, source, sourceX, sourceY);
        }
        return;
    }
    // The whole w x h area gets the background, so no pixel of the previous frame survives
    // under a black one of this frame.
    FillRect(dc, left, top, width + 1, height + 1, 0, -1, ParentBackColor());
    if (source == sheet) {
        PutImageRegionKeyed(dc, left, top, width, height, source, sourceX, sourceY, kKeyColor);
    } else {
        PutImageKeyed(dc, left, top, width, height, source, kKeyColor);
    }
}
