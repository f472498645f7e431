#pragma once

#include <string>
#include <vector>

#include "gui/controls/TextBoxGrid.h"
#include "gui/core/Area.h"
#include "gui/core/Child.h"

// The text entry control. It draws its text one character per cell of a fixed grid and keeps
// a record of what every cell shows, so that after a keystroke only the cells that changed
// are drawn again. Single-line boxes overwrite a fixed buffer; multi-line boxes insert, with
// Enter starting a new row and Up and Down moving between rows. A date box writes its
// slashes itself (dd/mm/yyyy); digit boxes take digits and at most one decimal point;
// password boxes show "*". Refused input beeps.
class TextBoxCustom : public Child {
  public:
    explicit TextBoxCustom(GUIElement* parent, const std::string& initialText = "");

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void SetText(const std::string& value) override;
    std::string GetText() override;
    void OnClick(int64_t point) override;
    void OnKeyUp(Key key) override;
    void OnKeyDown(Key key) override;
    bool OnKeyChar(int character) override;
    void SetFocus() override;
    void Paint() override;
    void OnFocusIn() override;
    void OnFocusOut() override;
    void Create() override;

    virtual void Redraw(bool full);
    virtual void DrawCells(bool full, int from);
    virtual void Enable(bool value);

    // Setters that repaint a created box
    void SetMultiLine(bool value);
    void SetReadOnly(bool value);
    void SetDigitsOnly(bool value);
    void SetAllowDecimalPoint(bool value);
    void SetPassword(bool value);
    void SetAlignRight(bool value);
    void SetAlignCenter(bool value);
    void SetAlignLeft(bool value);
    // Also takes digits only; a date holds ten characters and closes no gaps on Delete.
    void SetDateMode(bool value);
    void Repaint();

    // Setters that take effect at the next paint
    void SetTextColor(long color) { textColor = color; }
    void SetCaretColor(long color) { caretColor = color; }
    void SetBorder(bool value) { border = value; }
    // Only before the box is created: the buffer is made once per creation.
    void SetMaxLength(int value);
    // Delete then closes the gap, which only a multi-line box does.
    void SetDeleteCloses(bool value);

    int GetCaret() const { return caret; }
    // The grid: how many cells a row has and how many rows fit.
    int Columns() const { return Grid().Columns(); }
    int Rows() const { return Grid().Rows(); }
    int CellWidth() const { return cellWidth; }
    int LineHeight() const { return lineHeight; }
    // Where the cell of the grid lies, in the coordinates of the form's window.
    Area CellArea(int row, int column);

  private:
    // The grid at the box's size as it is now.
    TextBoxGrid Grid() const { return {width, height, cellWidth, lineHeight, maxLength, dateMode}; }
    void MeasureFont();
    void FitHeightToOneLine();
    void AllocateCells();
    void RebuildBuffer();
    long Background() const;
    long Foreground() const;
    bool ShowsCaret() const;
    // The buffer up to its end, as the characters typed so far.
    std::string BufferText() const;
    // The text less trailing blanks, but reaching at least the caret.
    std::string TextThroughCaret() const;
    void InsertAtCaret(char character);
    void Backspace();
    void DeleteAtCaret();

    std::vector<char> buffer;
    long textColor = 0;
    int caret = 0;
    int length = 0;
    long caretColor = 0xffff00;
    int maxLength = 256;
    bool multiLine = false;
    bool dateMode = false;
    bool readOnly = false;
    bool digitsOnly = false;
    bool allowDecimalPoint = false;
    bool password = false;
    bool alignRight = false;
    bool alignCenter = false;
    bool border = true;
    bool deleteCloses = false;
    TextBoxGrid::Cells cells;
    int lineHeight = 0;
    int cellWidth = 0;
};
