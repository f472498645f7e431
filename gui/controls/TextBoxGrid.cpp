#include "gui/controls/TextBoxGrid.h"

#include <algorithm>

#include "gui/core/Keys.h"

namespace {

// The first cell's corner inside the box.
const int kTextLeft = 3;
const int kTextTop = 2;
// The row of a click is counted from this far below the box's top edge.
const int kClickTop = 4;
// Return, typed into a multi-line box, is kept in the buffer as its line break.
const char kCarriageReturn = kCharReturn;
// The slashes of dd/mm/yyyy stand at these indices.
const int kFirstSlash = 2;
const int kSecondSlash = 5;

} // namespace

TextBoxGrid::TextBoxGrid(int width, int height, int cellWidth, int lineHeight, int maxLength,
                         bool dateMode)
    : width(width), height(height), cellWidth(cellWidth), lineHeight(lineHeight),
      maxLength(maxLength), dateMode(dateMode) {}

int TextBoxGrid::Columns() const {
    return cellWidth > 0 ? std::max(Width() / cellWidth, 0) : 0;
}

int TextBoxGrid::Rows() const {
    return lineHeight > 0 ? std::max((height - kFrameMargin) / lineHeight, 0) : 0;
}

// The grid holds no more cells than the box keeps records for: a character past the last
// record would be stored and never drawn, so a large box refuses it as a full one does.
int TextBoxGrid::Capacity() const {
    return std::min(Columns() * Rows(), kMaxCells);
}

int TextBoxGrid::RecordCount() const {
    return std::min(Capacity() + 1, kMaxCells);
}

Area TextBoxGrid::CellArea(int row, int column) const {
    return {kTextLeft + column * cellWidth, kTextTop + row * lineHeight + 1, cellWidth, lineHeight};
}

bool TextBoxGrid::WrapsAt(int column) const {
    return column * cellWidth > Width() - cellWidth;
}

bool TextBoxGrid::ShowsRow(int row) const {
    return (row + 1) * lineHeight <= height - kFrameMargin;
}

bool TextBoxGrid::Fits(const std::string& text, int target) const {
    const int capacity = Capacity();
    const int columns = Columns();
    int row = 0;
    int column = 0;
    const int size = static_cast<int>(text.size());
    for (int i = 0; i <= size; ++i) {
        if (i > maxLength) {
            return false;
        }
        if (i < size && text[static_cast<size_t>(i)] == kCarriageReturn) {
            if (i == target) {
                return ShowsRow(row);
            }
            ++row;
            column = 0;
            continue;
        }
        if (WrapsAt(column)) {
            ++row;
            column = 0;
        }
        if (!ShowsRow(row) || row * columns + column >= capacity) {
            return false;
        }
        if (i == target) {
            return true;
        }
        ++column;
    }
    return false;
}

bool TextBoxGrid::FindCell(const Cells& cells, int index, int& row, int& column) const {
    const int columns = Columns();
    for (size_t i = 0; columns > 0 && i < cells.size(); ++i) {
        if (cells[i].index == index) {
            row = static_cast<int>(i) / columns;
            column = static_cast<int>(i) % columns;
            return true;
        }
    }
    return false;
}

TextBoxGrid::CaretStep TextBoxGrid::Right(int caret, int length) const {
    if (caret >= length) {
        return {caret, true};
    }
    caret = std::min(caret + 1, maxLength);
    if (dateMode && IsSlashPlace(caret)) {
        caret = std::min(caret + 1, maxLength);
    }
    return {caret, false};
}

int TextBoxGrid::Left(int caret) const {
    caret = std::max(caret - 1, 0);
    if (dateMode && IsSlashPlace(caret)) {
        caret = std::max(caret - 1, 0);
    }
    return caret;
}

std::optional<TextBoxGrid::CaretStep> TextBoxGrid::Up(const Cells& cells, int caret) const {
    int row = 0;
    int column = 0;
    if (!FindCell(cells, caret, row, column)) {
        return std::nullopt;
    }
    if (row == 0) {
        return CaretStep{caret, true};
    }
    return CaretStep{cells[static_cast<size_t>((row - 1) * Columns() + column)].index, false};
}

std::optional<TextBoxGrid::CaretStep> TextBoxGrid::Down(const Cells& cells, int caret,
                                                        int length) const {
    int row = 0;
    int column = 0;
    if (!FindCell(cells, caret, row, column)) {
        return std::nullopt;
    }
    const size_t below = static_cast<size_t>((row + 1) * Columns() + column);
    if (row + 1 >= Rows() || below >= cells.size() || cells[below].index >= length) {
        return CaretStep{caret, true};
    }
    return CaretStep{cells[below].index, false};
}

std::optional<int> TextBoxGrid::CaretAt(const Cells& cells, int x, int y, int length) const {
    if (cellWidth <= 0 || lineHeight <= 0) {
        return std::nullopt;
    }
    const int row = (y - kClickTop) / lineHeight;
    // The strip right of the last whole column belongs to that column, so a click there puts
    // the caret where a click on the row's end would.
    const int column = std::min(x / cellWidth, Columns() - 1);
    const int cell = row * Columns() + column;
    if (row < 0 || column < 0 || cell >= kMaxCells || cell >= static_cast<int>(cells.size())) {
        return std::nullopt;
    }
    const int index = cells[static_cast<size_t>(cell)].index;
    int caret = index < length ? index : std::max(length, 0);
    caret = std::min(caret, maxLength);
    if (dateMode && IsSlashPlace(caret)) {
        --caret;
    }
    return caret;
}

bool TextBoxGrid::IsSlashPlace(int index) {
    return index == kFirstSlash || index == kSecondSlash;
}

bool TextBoxGrid::FollowsSlash(int index) {
    return index == kFirstSlash + 1 || index == kSecondSlash + 1;
}

// Typing puts a slash after the second digit, and after the fourth once it is there.
std::string TextBoxGrid::Reslash(const std::string& date) {
    std::string slashed;
    for (char c : date) {
        if (c != '/') {
            slashed += c;
        }
    }
    if (slashed.size() > 1) {
        slashed.insert(kFirstSlash, 1, '/');
    }
    if (slashed.size() > 4) {
        slashed.insert(kSecondSlash, 1, '/');
    }
    return slashed;
}
