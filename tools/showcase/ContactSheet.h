#pragma once

#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "tools/showcase/PngImage.h"

// Screenshots side by side at half their size, each with its caption below it and a title
// above them all. It is drawn on the X server, in a pixmap no one sees, so that the captions
// come out in a real font without a font library of our own.
class ContactSheet {
  public:
    explicit ContactSheet(std::string title) : title(std::move(title)) {}

    void Add(const std::string& caption, const PngImage& picture);
    size_t Count() const { return entries.size(); }

    // The sheet, or an empty picture with the reason when there is nothing to show or the
    // server's default visual is not 24-bit TrueColor.
    PngImage Compose(Display* display, std::string& error) const;

  private:
    struct Entry {
        std::string caption;
        PngImage thumbnail;
    };

    std::string title;
    std::vector<Entry> entries;
};
