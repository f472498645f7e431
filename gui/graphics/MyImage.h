#pragma once

#include "app/XlibHeaders.h"
#include "gui/core/Child.h"

// A picture inside a form. It shows either a compiled-in image block, which it converts for
// the screen (and sends to the server) before its first paint and keeps until the block
// changes, or an X image that belongs to the caller. It has no window of its own: it paints
// straight onto its form's window.
class MyImage : public Child {
  public:
    // The image stays the caller's; the caller also sets the element's size.
    MyImage(GUIElement* parentElement, XImage* picture);
    // The element takes the picture's size.
    MyImage(GUIElement* parentElement, const unsigned char* pictureBlock, int w, int h);
    ~MyImage() override;

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void Paint() override;
    void PreparePaint() override;
    void Create() override;

    // From now on the element shows the caller's image and owns no picture.
    virtual void SetImage(XImage* picture);
    // The new block must have the size of the element's picture.
    virtual void SetImageBlock(const unsigned char* pictureBlock);
    virtual void SetBevel(bool value);
    virtual void SetImageEnabled(int value);

    // Null until the block has been converted (by the first paint) or an image was given.
    XImage* GetImage() const { return image; }

  private:
    // Forgets the image, destroying it (and its copy on the server) when the element made it.
    void DropImage();
    // Converts the block and sends it to the server, once.
    void MakeImage();

    XImage* image = nullptr;
    // A picture made from a block never changes, so it crosses to the server once; the
    // caller's images may, and are sent at every paint.
    Pixmap serverCopy = None;
    const unsigned char* block = nullptr;
    bool bevel = false;
    // The size of the picture held in `block`. It is fixed when the block is given, so that a
    // later SetSize crops the picture instead of decoding the block at a width it does not
    // have (or reading past its end).
    int blockWidth = 0;
    int blockHeight = 0;
};
