#include "gui/graphics/MyImage.h"

#include "app/Application.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"

namespace {
const long kBevelShadow = 0x000000;
const long kBevelLight = 0xffffff;
} // namespace

MyImage::MyImage(GUIElement* parentElement, XImage* picture) : image(picture) {
    parent = parentElement;
    kind = "image";
    tabStop = false;
    autoRedraw = true;
}

MyImage::MyImage(GUIElement* parentElement, const unsigned char* pictureBlock, int w, int h)
    : block(pictureBlock), blockWidth(w), blockHeight(h) {
    parent = parentElement;
    kind = "image";
    tabStop = false;
    autoRedraw = true;
    width = w;
    height = h;
}

MyImage::~MyImage() {
    DropImage();
}

void MyImage::DropImage() {
    if (block != nullptr) {
        DestroyImage(image);
        FreePixmap(this, serverCopy);
    }
    image = nullptr;
    serverCopy = None;
}

void MyImage::MakeImage() {
    if (block == nullptr || image != nullptr) {
        return;
    }
    image = CreateImageFromBlock(this, block, blockWidth, blockHeight);
    serverCopy = CreatePixmapFromImage(this, image);
}

void MyImage::PreparePaint() {
    MakeImage();
}

void MyImage::Create() {
    CreateInForm();
}

void MyImage::Show() {
    GUIElement::Show();
    Paint();
}

void MyImage::ShowMapped() {
    Show();
}

void MyImage::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void MyImage::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void MyImage::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void MyImage::SetImage(XImage* picture) {
    DropImage();
    block = nullptr;
    image = picture;
    RepaintIfCreated();
}

void MyImage::SetImageBlock(const unsigned char* pictureBlock) {
    DropImage();
    if (blockWidth <= 0 || blockHeight <= 0) {
        blockWidth = width;
        blockHeight = height;
    }
    block = pictureBlock;
    RepaintIfCreated();
}

void MyImage::SetBevel(bool value) {
    bevel = value;
    RepaintIfCreated();
}

void MyImage::SetImageEnabled(int value) {
    enabled = value != 0;
}

void MyImage::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    DrawingContext dc(Application::FindParentForm(this));
    if (!dc.IsValid()) {
        return;
    }
    const int left = FormX();
    const int top = FormY();

    MakeImage();
    if (image == nullptr) {
        FillRect(dc, left, top, width, height, 0, -1, ParentBackColor());
    } else if (serverCopy != None) {
        CopyImagePart(dc, left, top, width, height, image, serverCopy, 0, 0);
    } else {
        PutImage(dc, left, top, width, height, image);
    }

    if (bevel) {
        DrawBevel(dc, left, top, width, height, kBevelShadow, kBevelLight);
    }
}
