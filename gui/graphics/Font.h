#pragma once

#include <memory>
#include <string>

#include "app/XlibHeaders.h"

// The font every X server carries; whoever cannot load the font asked for falls back to it,
// so that text can still be measured and drawn.
inline constexpr const char* kFallbackFontName = "fixed";

// A core X font named by family, pixel size, weight and style, loaded on first use. Copies of
// a loaded record share the one X font, which is freed when the last copy goes.
class Font {
  public:
    Font();
    explicit Font(const std::string& family);
    Font(const std::string& family, int size);

    void SetBold(bool value) { bold = value; }
    void SetItalic(bool value) { italic = value; }
    bool IsBold() const { return bold; }
    bool IsItalic() const { return italic; }
    bool IsLoaded() const { return isLoaded; }
    int GetFontSize() const;
    std::string GetFamily() const { return family; }

    std::string BuildName();
    void LoadFont(Display* display);
    // The loaded font, loading it first if needed; null only when not even the fallback font
    // could be loaded.
    XFontStruct* GetXFont(Display* display);

  private:
    std::shared_ptr<XFontStruct> fontStruct;
    bool isLoaded = false;
    Display* display = nullptr;
    std::string family;
    int size = 14;
    bool bold = false;
    bool italic = false;
    std::string xlfdName;
};
