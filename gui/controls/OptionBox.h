#pragma once

#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "gui/core/Child.h"
#include "gui/core/CommandElement.h"
#include "gui/graphics/ImageBlock.h"

// A group of mutually exclusive options in one control: rows of a round mark and a caption,
// each option also carrying a value text. A click on a row, Up and Down (which wrap around) or
// the space bar choose an option and run the command; before the first choice none is chosen.
class OptionBox : public Child, public CommandElement {
  public:
    static constexpr int kRowHeight = 26;
    // Where the mark lies inside its row, and where the caption starts.
    static constexpr int kMarkLeft = 1;
    static constexpr int kMarkTop = 6;
    static constexpr int kMarkSize = 20;
    static constexpr int kCaptionLeft = 28;
    static constexpr int kNoSelection = -1;

    explicit OptionBox(GUIElement* parent);

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void OnClick(int64_t point) override;
    void OnMouseDown(int64_t point) override;
    void OnKeyDown(Key key) override;
    bool OnKeyChar(int character) override;
    void Paint() override;
    void OnFocusIn() override;
    void OnFocusOut() override;
    void Create() override;

    virtual int GetSelected() const { return selected; }
    // A negative index chooses the first option; one past the last answers false. Runs no
    // command.
    virtual bool SetSelected(int index);
    // The chosen option stays chosen when another is removed. Removing the chosen one passes
    // the choice to the option that takes its place, or to the new last one.
    virtual bool RemoveOption(int index);
    virtual void AddOption(const std::string& caption, const std::string& value);
    virtual int GetCount() const { return static_cast<int>(captions.size()); }
    // An index beyond either end gives the last option; with no options, an empty text.
    virtual std::string GetOptionCaption(int index) const;
    virtual std::string GetOptionValue(int index) const;
    // Leaves no options and no choice.
    virtual void Clear();
    virtual void SelectFirst();
    virtual void Enable(bool value);
    virtual void SetTextColor(long color);

  private:
    // Makes the choice the user asked for known: paints it and runs the command.
    void Choose(int index);
    static std::string Pick(const std::vector<std::string>& texts, int index);
    XImage* MarkFor(bool chosen);

    std::vector<std::string> captions;
    std::vector<std::string> values;
    int selected = kNoSelection;
    long textColor = 0;
    ClientImage imageSelected;
    ClientImage imageSelectedDisabled;
    ClientImage imageUnselected;
    ClientImage imageUnselectedDisabled;
};
