#include <gtest/gtest.h>

#include "gui/controls/TextBoxGrid.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace {

// Cells of 10 × 20 pixels: a box of 106 × 46 holds 10 columns and 2 rows inside its frame.
const int kCellWidth = 10;
const int kLineHeight = 20;
const int kMaxLength = 256;

TextBoxGrid Grid(int width, int height, int maxLength = kMaxLength, bool dateMode = false) {
    return {width, height, kCellWidth, kLineHeight, maxLength, dateMode};
}

// The records a 106 × 46 box holds once it has drawn "ab", a line break and "cd": the break
// fills the rest of its row, and the cells never drawn keep the index past the buffer.
TextBoxGrid::Cells TwoRows() {
    const int indices[] = {0, 1, 2, 2, 2, 2, 2, 2, 2, 2, 3, 4};
    TextBoxGrid::Cells cells(21);
    for (size_t i = 0; i < cells.size(); ++i) {
        cells[i].index = i < std::size(indices) ? indices[i] : kMaxLength;
    }
    return cells;
}

} // namespace

// The grid fills what lies inside the frame with whole cells, and a large box stops at the
// records it keeps, so no character is stored in a cell that is never drawn.
TEST(TextBoxGrid, ShapeFillsTheFrameWithWholeCellsUpToTheRecordsKept) {
    struct Case {
        int width, height, cellWidth, lineHeight, columns, rows, capacity, records;
    };
    const Case cases[] = {
        {106, 46, kCellWidth, kLineHeight, 10, 2, 20, 21},
        {105, 45, kCellWidth, kLineHeight, 9, 1, 9, 10}, // a pixel short of a whole cell
        {4, 4, kCellWidth, kLineHeight, 0, 0, 0, 1},     // smaller than the frame
        {106, 46, 0, 0, 0, 0, 0, 1},                     // no font measured yet
        {1006, 606, kCellWidth, kLineHeight, 100, 30, 1600, 1600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const TextBoxGrid grid(c.width, c.height, c.cellWidth, c.lineHeight, kMaxLength, false);
        EXPECT_EQ(std::tuple(grid.Columns(), grid.Rows(), grid.Capacity(), grid.RecordCount()),
                  std::tuple(c.columns, c.rows, c.capacity, c.records));
        // The first and the last cell lie inside the two-pixel frame.
        const Area first = grid.CellArea(0, 0), last = grid.CellArea(c.rows - 1, c.columns - 1);
        EXPECT_TRUE(c.rows == 0 ||
                    (std::min(first.x, first.y) >= 2 && last.x + last.w <= c.width - 2 &&
                     last.y + last.h <= c.height - 2));
    }
}

// An insertion fits when the character at the target index still lands in a drawn cell.
TEST(TextBoxGrid, TextFitsUpToTheLastCellTheLastRowAndTheBufferLength) {
    struct Case {
        const char* name;
        TextBoxGrid grid;
        std::string text;
        int target;
        bool fits;
    };
    const std::string row(10, 'z');
    const Case cases[] = {
        {"last cell", Grid(106, 46), row + row, 19, true},
        {"past the last cell", Grid(106, 46), row + row + "z", 20, false},
        {"a break, then a full row", Grid(106, 46), "ab\r" + row, 12, true},
        {"a break, then more than a row", Grid(106, 46), "ab\rz" + row, 13, false},
        {"a break on the last row", Grid(106, 46), "ab\r\r", 3, true},
        {"a break past the last row", Grid(106, 46), "ab\r\r\r", 4, false},
        {"up to the buffer's end", Grid(106, 46, 5), "abcde", 5, true},
        {"past the buffer's end", Grid(106, 46, 5), "abcdef", 6, false},
        // A grid of 3,000 cells keeps records for 1,600 only.
        {"last kept cell", Grid(1006, 606, 4000), std::string(1599, 'z'), 1599, true},
        {"past the last kept cell", Grid(1006, 606, 4000), std::string(1600, 'z'), 1600, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.grid.Fits(c.text, c.target), c.fits);
    }
}

// Left and Right step over a date's slashes; Right refuses to pass the text's end.
TEST(TextBoxGrid, ArrowsStepOverTheDateSlashesAndStopAtTheEnds) {
    struct Case {
        bool date;
        bool right;
        int caret, length, maxLength;
        int expected;
        bool beep;
    };
    const Case cases[] = {
        {false, true, 1, 3, kMaxLength, 2, false},
        {false, true, 3, 5, 3, 3, false}, // a text longer than the buffer
        {true, true, 1, 8, 10, 3, false},
        {true, true, 4, 8, 10, 6, false},
        {false, false, 3, 3, kMaxLength, 2, false},
        {false, false, 0, 3, kMaxLength, 0, false},
        {true, false, 3, 8, 10, 1, false},
        {true, false, 6, 8, 10, 4, false},
        {true, false, 1, 8, 10, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date ? "date, " : "") +
                     (c.right ? "right from " : "left from ") + std::to_string(c.caret));
        const TextBoxGrid grid = Grid(106, 46, c.maxLength, c.date);
        const TextBoxGrid::CaretStep step = c.right
                                                ? grid.Right(c.caret, c.length)
                                                : TextBoxGrid::CaretStep{grid.Left(c.caret), false};
        EXPECT_EQ(std::pair(step.caret, step.beep), std::pair(c.expected, c.beep));
    }
}

// Up and Down go to the character drawn in the same column of the row above or below; on the
// first or last row, or where the row below has no character, they beep.
TEST(TextBoxGrid, UpAndDownFollowTheColumnThroughTheCellRecords) {
    struct Case {
        bool up;
        int caret;
        int expected;
        bool beep;
    };
    const Case cases[] = {
        {true, 4, 1, false},  {true, 1, 1, true},  {false, 0, 3, false},
        {false, 1, 4, false}, {false, 2, 2, true}, {false, 3, 3, true}, // 2: below the break
    };
    const TextBoxGrid grid = Grid(106, 46);
    const TextBoxGrid::Cells cells = TwoRows();
    const int length = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.up ? "up from " : "down from ") + std::to_string(c.caret));
        const auto step = c.up ? grid.Up(cells, c.caret) : grid.Down(cells, c.caret, length);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(std::pair(step->caret, step->beep), std::pair(c.expected, c.beep));
    }
    EXPECT_FALSE(grid.Up(cells, 7).has_value()) << "no record holds the caret";
    EXPECT_FALSE(grid.Down(cells, 7, length).has_value());
}

// A click puts the caret on the character of the cell under it, or at the end of the text
// when that cell holds none; a click that finds no record leaves the caret alone.
TEST(TextBoxGrid, AClickPutsTheCaretOnItsCellOrAtTheEnd) {
    struct Case {
        const char* name;
        int x, y;
        std::optional<int> caret;
    };
    const Case cases[] = {
        {"a cell after the text", 25, 30, 5},
        // Right of the last whole column, at the column count itself: the end of the row,
        // not the start of the next.
        {"the strip right of the last column", 103, 30, 5},
        {"the strip right of the first row", 103, 10, 2},
        {"the frame above the first row", 15, 2, 1},
        {"the frame left of the first column", -5, 10, 0},
        {"left of the box", -15, 10, std::nullopt},
        {"below the last record", 15, 50, std::nullopt},
    };
    const TextBoxGrid grid = Grid(106, 46);
    const TextBoxGrid::Cells cells = TwoRows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(grid.CaretAt(cells, c.x, c.y, 5), c.caret);
    }

    // A date's slash is no place for the caret: it goes before it.
    TextBoxGrid::Cells date(11);
    for (size_t i = 0; i < date.size(); ++i) {
        date[i].index = static_cast<int>(i);
    }
    const TextBoxGrid dateGrid = Grid(106, 46, 10, true);
    EXPECT_EQ(dateGrid.CaretAt(date, 25, 10, 10), 1);
    EXPECT_EQ(dateGrid.CaretAt(date, 55, 10, 10), 4);

    // However many records a box were given, none past the 1,600th is read.
    const TextBoxGrid large = Grid(1006, 606, 4000);
    EXPECT_FALSE(large.CaretAt(TextBoxGrid::Cells(1700), 5, 16 * kLineHeight + 10, 0).has_value());
}

// Backspace takes digits out of a date; the rest is slashed again as typing slashes it.
TEST(TextBoxGrid, ReslashPutsTheSlashesBackAfterTheDayAndTheMonth) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"2", "2"}, {"25", "25/"}, {"2512", "25/12/"}, {"25/1026", "25/10/26"},
    };
    for (const auto& [digits, slashed] : cases) {
        EXPECT_EQ(TextBoxGrid::Reslash(digits), slashed) << digits;
    }
}
