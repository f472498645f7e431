#pragma once

#include <cstdint>
#include <vector>

#include "app/XlibHeaders.h"
#include "gui/core/Child.h"
#include "gui/graphics/ImageBlock.h"

// Shows one frame out of a set of equally sized pictures: a table of compiled-in image blocks,
// a list of the caller's X images, or one X image (a sheet) cut into a grid. The element's
// size is the size of one frame. A frame from a list is entry column + row; a frame from a
// sheet is the w x h rectangle at (w x column, h x row). A frame outside the list or the sheet
// draws nothing. Keyed frames show the background colour where the picture is black.
class ImageFrame : public Child {
  public:
    // A null-terminated table of blocks, of which the first frameCount are used. The blocks
    // are converted at the element's size when first shown.
    ImageFrame(GUIElement* parentElement, const unsigned char* const* blockTable, int frameCount,
               int column, int row);
    // frameCount images of the caller's; they stay the caller's.
    ImageFrame(GUIElement* parentElement, XImage* const* images, int frameCount, int column,
               int row);
    // One image holding every frame; it stays the caller's.
    ImageFrame(GUIElement* parentElement, XImage* sheetImage, int column, int row);
    ~ImageFrame() override;

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void Paint() override;
    void PreparePaint() override;
    void Create() override;

    // (column, row) packed as a point.
    int64_t GetFrame() const;
    // Repaints only when the frame changes.
    void SetFrame(int newColumn, int newRow);
    // With clear, the old frame's area is cleared before the new frame is painted.
    void SetFrame(int newColumn, int newRow, bool clear);
    void SetKeyed(bool value);
    // Converts every frame of a block table and sends it to the server now, at a moment when
    // nothing waits for it, so that showing any frame later costs no conversion.
    void PrepareAllFrames();

  private:
    void MakeFramesFromBlocks();
    // The image and the rectangle of it that the selected frame is; false when there is none.
    bool SelectFrame(XImage*& source, int& sourceX, int& sourceY);
    // The frame at the index of the list, converted from its block when first asked for.
    XImage* MadeFrame(int64_t index);
    // The server's copy of a frame made from a block, sent when first asked for; None for the
    // caller's images, which may change under the element.
    Pixmap ServerCopyOf(int64_t index);

    const unsigned char* const* blocks = nullptr;
    int frameCount = 0;
    // The caller's frames, when it gave a list of images.
    XImage* const* frames = nullptr;
    // The frames made from `blocks`, each converted when it is first shown.
    std::vector<ClientImage> madeFrames;
    std::vector<Pixmap> madeCopies;
    XImage* sheet = nullptr;
    int column = 0;
    int row = 0;
    bool keyed = false;
};
