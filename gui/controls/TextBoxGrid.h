#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gui/core/Area.h"

// The grid of cells a text box lays its characters out in, as the box is now: its size, the
// size of a cell, its buffer's length and whether it holds a date. It knows nothing of the
// display: the box measures its font and asks the grid how many cells fit, where a cell lies,
// whether an edited text still fits, and where the caret goes for a key or a click. The
// records of what each cell shows belong to the box, which writes them as it draws; the grid
// reads them to move the caret between rows.
class TextBoxGrid {
  public:
    // What one cell shows, and which character of the buffer.
    struct Cell {
        char character = ' ';
        long foreground = 0;
        long background = 0;
        int index = 0;
    };
    using Cells = std::vector<Cell>;

    // Where the caret goes for a key, and whether the box refuses the key with a beep.
    struct CaretStep {
        int caret = 0;
        bool beep = false;
    };

    // The grid starts inside the double frame; the frame and a margin take this much of each
    // dimension.
    static constexpr int kFrameMargin = 6;
    // A box keeps records for no more cells than this, however large it is.
    static constexpr int kMaxCells = 1600;

    // A box of width × height whose cells are cellWidth × lineHeight, with a buffer of
    // maxLength characters; a cell size of 0 (no font measured yet) makes a grid of no cells.
    TextBoxGrid(int width, int height, int cellWidth, int lineHeight, int maxLength, bool dateMode);

    // The shape
    int Columns() const;
    int Rows() const;
    // Cells that can hold a character: the whole grid, but no more than the records kept.
    int Capacity() const;
    // Records to keep: one more than the capacity, at most kMaxCells.
    int RecordCount() const;
    // The width the cells share inside the frame.
    int Width() const { return width - kFrameMargin; }
    // Where the cell lies, from the box's top-left corner.
    Area CellArea(int row, int column) const;
    // Whether a character at this column goes to the start of the next row instead.
    bool WrapsAt(int column) const;
    // Whether the row lies wholly inside the frame.
    bool ShowsRow(int row) const;

    // Whether the text, laid out as the box lays it out (a carriage return ends a row), reaches
    // the target index without passing the last cell or maxLength.
    bool Fits(const std::string& text, int target) const;
    // The cell whose record holds the index, as row and column; false when none does.
    bool FindCell(const Cells& cells, int index, int& row, int& column) const;

    // The caret
    // Right refuses to pass the text's end; in a date both skip the slashes.
    CaretStep Right(int caret, int length) const;
    int Left(int caret) const;
    // To the character above or below the caret's cell; nothing when no record holds the
    // caret.
    std::optional<CaretStep> Up(const Cells& cells, int caret) const;
    std::optional<CaretStep> Down(const Cells& cells, int caret, int length) const;
    // The caret for a click at (x, y) from the box's top-left corner; nothing when the click
    // finds no record.
    std::optional<int> CaretAt(const Cells& cells, int x, int y, int length) const;

    // The date's slashes, which the box writes itself
    static bool IsSlashPlace(int index);
    // Whether the index is just after a slash, where Backspace takes the digit before it too.
    static bool FollowsSlash(int index);
    // The digits of a date with its slashes put back as typing puts them.
    static std::string Reslash(const std::string& date);

  private:
    int width;
    int height;
    int cellWidth;
    int lineHeight;
    int maxLength;
    bool dateMode;
};
