#include "gui/controls/TextBoxCustom.h"

#include <algorithm>
#include <optional>

#include "app/Application.h"
#include "gui/core/Form.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "util/SoundCommand.h"
#include "util/StringUtils.h"

namespace {

const int64_t kBoxColor = 0xffffff;
const long kDisabledFace = 0xaaaaaa;
const long kWhite = 0xffffff;
const long kBlack = 0x000000;
// The grid starts inside the double frame; the frame and a margin take this much of each
// dimension.
const int kFrameMargin = TextBoxGrid::kFrameMargin;
const int kLineGap = 4;
const int kCellGap = 2;
const int kHeightOverFont = 10;
const char kBlank = ' ';
const char kLineFeed = 10;
// Return, typed into a multi-line box, is kept in the buffer as its line break.
const char kCarriageReturn = kCharReturn;
// A date is dd/mm/yyyy.
const int kDateLength = 10;

} // namespace

TextBoxCustom::TextBoxCustom(GUIElement* parentElement, const std::string& initialText) {
    parent = parentElement;
    kind = "TextBoxCustom";
    autoRedraw = true;
    width = 80;
    height = 30;
    backColor = kBoxColor;
    text = TrimRight(initialText);
    length = static_cast<int>(text.size());
    MeasureFont();
}

void TextBoxCustom::MeasureFont() {
    Form* form = Application::GetForm(this);
    const int textHeight = ProgramTextHeight(form);
    const int charWidth = ProgramCharWidth(form);
    // Without a display yet the grid waits for creation, which measures again.
    if (textHeight > 0 && charWidth > 0) {
        lineHeight = textHeight + kLineGap;
        cellWidth = charWidth + kCellGap;
    }
}

Area TextBoxCustom::CellArea(int row, int column) {
    const Area cell = Grid().CellArea(row, column);
    return {FormX() + cell.x, FormY() + cell.y, cell.w, cell.h};
}

long TextBoxCustom::Background() const {
    return enabled ? static_cast<long>(backColor) : kDisabledFace;
}

long TextBoxCustom::Foreground() const {
    return enabled ? textColor : kDisabledColor;
}

bool TextBoxCustom::ShowsCaret() const {
    return hasFocus && enabled && !readOnly;
}

void TextBoxCustom::FitHeightToOneLine() {
    if (lineHeight + 5 >= height) {
        height = lineHeight + kFrameMargin;
    }
}

void TextBoxCustom::SetSize(int w, int h) {
    h = std::max(font.GetFontSize() + kHeightOverFont, h);
    if (h <= lineHeight + 5) {
        h = lineHeight + kFrameMargin;
    }
    Relocate(x, y, w, h);
}

void TextBoxCustom::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void TextBoxCustom::Show() {
    GUIElement::Show();
    Paint();
}

void TextBoxCustom::ShowMapped() {
    Show();
}

void TextBoxCustom::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void TextBoxCustom::Create() {
    if (created) {
        return;
    }
    AssignId();
    MeasureFont();
    buffer.assign(static_cast<size_t>(maxLength) + 1, kBlank);
    buffer.back() = '\0';
    FitHeightToOneLine();
    AllocateCells();
    RebuildBuffer();
    created = true;
    visible = true;
}

void TextBoxCustom::AllocateCells() {
    // The records of an earlier creation are given back; a box shown again starts afresh.
    TextBoxGrid::Cell blank;
    blank.foreground = Foreground();
    blank.background = Background();
    blank.index = maxLength;
    cells.assign(static_cast<size_t>(Grid().RecordCount()), blank);
}

void TextBoxCustom::RebuildBuffer() {
    if (!multiLine && !text.empty()) {
        text = text.substr(0, text.find(kLineFeed));
    }
    std::fill(buffer.begin(), buffer.end() - 1, kBlank);
    const int count = std::min(maxLength, static_cast<int>(text.size()));
    std::copy(text.begin(), text.begin() + count, buffer.begin());
    caret = count;
}

std::string TextBoxCustom::BufferText() const {
    return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}

std::string TextBoxCustom::TextThroughCaret() const {
    // Only the blanks that fill the buffer are dropped: a line break at the end is text, and
    // so are blanks typed at the end while the caret stands after them.
    std::string edited = BufferText();
    edited.erase(edited.find_last_not_of(kBlank) + 1);
    if (edited.size() < static_cast<size_t>(caret)) {
        edited.resize(static_cast<size_t>(caret), kBlank);
    }
    return edited;
}

void TextBoxCustom::SetText(const std::string& value) {
    text = value;
    length = static_cast<int>(text.size());
    caret = std::max(length - 1, 0);
    if (created) {
        RebuildBuffer();
        Paint();
    }
}

std::string TextBoxCustom::GetText() {
    if (created) {
        text = TrimRight(BufferText());
    }
    return text;
}

void TextBoxCustom::Enable(bool value) {
    enabled = value;
    RepaintIfCreated();
}

void TextBoxCustom::SetMultiLine(bool value) {
    multiLine = value;
    RepaintIfCreated();
}

void TextBoxCustom::SetReadOnly(bool value) {
    readOnly = value;
    RepaintIfCreated();
}

void TextBoxCustom::SetDigitsOnly(bool value) {
    digitsOnly = value;
    RepaintIfCreated();
}

void TextBoxCustom::SetAllowDecimalPoint(bool value) {
    allowDecimalPoint = value;
    RepaintIfCreated();
}

void TextBoxCustom::SetPassword(bool value) {
    password = value;
    RepaintIfCreated();
}

void TextBoxCustom::SetAlignRight(bool value) {
    alignRight = value;
    if (value) {
        alignCenter = false;
    }
    RepaintIfCreated();
}

void TextBoxCustom::SetAlignCenter(bool value) {
    alignCenter = value;
    if (value) {
        alignRight = false;
    }
    RepaintIfCreated();
}

void TextBoxCustom::SetAlignLeft(bool value) {
    if (value) {
        alignRight = false;
        alignCenter = false;
    }
    RepaintIfCreated();
}

void TextBoxCustom::SetDateMode(bool value) {
    dateMode = value;
    digitsOnly = value;
    if (value) {
        deleteCloses = false;
        if (created && maxLength != kDateLength) {
            // The buffer is made for the length; a created box makes it again around its
            // text rather than write past its end.
            GetText();
            maxLength = kDateLength;
            created = false;
            Create();
        }
        maxLength = kDateLength;
    }
    RepaintIfCreated();
}

void TextBoxCustom::Repaint() {
    RepaintIfCreated();
}

void TextBoxCustom::SetMaxLength(int value) {
    if (!created && value >= 0) {
        maxLength = value;
    }
}

void TextBoxCustom::SetDeleteCloses(bool value) {
    deleteCloses = value;
    if (value) {
        multiLine = true;
        dateMode = false;
    }
}

void TextBoxCustom::SetFocus() {
    if (!created) {
        return;
    }
    Application::MoveFocus(this);
}

void TextBoxCustom::OnFocusIn() {
    GUIElement::OnFocusIn();
    Redraw(false);
}

void TextBoxCustom::OnFocusOut() {
    GUIElement::OnFocusOut();
    Redraw(false);
}

void TextBoxCustom::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    FitHeightToOneLine();
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    FillRect(dc, left, top, width, height, 0, -1, Background());
    if (border) {
        // A sunken double frame: light above and to the left outside, dark inside.
        DrawBevel(dc, left, top, width, height, kWhite, kBlack);
        DrawBevel(dc, left + 1, top + 1, width - 2, height - 2, kBlack, kWhite);
    }
    Redraw(true);
}

void TextBoxCustom::Redraw(bool full) {
    DrawCells(full, caret);
}

void TextBoxCustom::DrawCells(bool full, int from) {
    const TextBoxGrid grid = Grid();
    const int capacity = grid.Capacity();
    if (!ShouldPaint() || capacity == 0 || cells.empty()) {
        return;
    }
    const long background = Background();
    const long foreground = Foreground();
    int start = std::max(from - 1, 0);
    if (dateMode && TextBoxGrid::FollowsSlash(from)) {
        start = std::max(start - 1, 0);
    }
    if (full) {
        start = 0;
    }
    const int columns = grid.Columns();
    const int gridWidth = grid.Width();
    const int alignment = multiLine     ? kAlignLeft
                          : alignRight  ? kAlignRight
                          : alignCenter ? kAlignCenter
                                        : kAlignLeft;
    const int cellCount = static_cast<int>(cells.size());
    DrawingContext dc(Application::GetForm(this));
    int row = 0;
    int column = 0;
    for (int i = 0; i <= maxLength; ++i) {
        char shown = buffer[static_cast<size_t>(i)];
        if (!password && shown == kCarriageReturn) {
            const Area first = CellArea(row, column);
            // A line break clears the rest of its row; its first cell carries the caret when
            // the caret stands at the break.
            if (column * cellWidth < gridWidth - cellWidth) {
                const bool caretHere = ShowsCaret() && caret == i;
                const long breakColor = caretHere ? caretColor : background;
                bool changed = full;
                for (int c = column; c < columns && row * columns + c < cellCount; ++c) {
                    TextBoxGrid::Cell& cell = cells[static_cast<size_t>(row * columns + c)];
                    const long cellColor = c == column ? breakColor : background;
                    changed = changed || cell.character != kCarriageReturn ||
                              cell.foreground != foreground || cell.background != cellColor;
                    cell = {kCarriageReturn, foreground, cellColor, i};
                }
                if (changed && i >= start && (row + 1) * lineHeight < height) {
                    FillRect(dc, first.x, first.y, gridWidth - column * cellWidth, lineHeight + 1,
                             0, -1, background);
                    if (caretHere) {
                        DrawText(dc, first.x, first.y, first.w, first.h, " ", foreground,
                                 caretColor, alignment);
                    }
                }
            }
            ++row;
            column = 0;
            continue;
        }
        if (shown == kLineFeed || shown == '\0') {
            shown = kBlank;
        } else if (password && shown != kBlank) {
            shown = '*';
        }
        if (grid.WrapsAt(column)) {
            ++row;
            column = 0;
        }
        if (!grid.ShowsRow(row)) {
            // Past the last row: what was typed there does not fit and is taken back.
            if (i < maxLength) {
                buffer[static_cast<size_t>(i)] = kBlank;
            }
            if (i == start && !full) {
                caret = std::max(caret - 1, 0);
                Beep();
            }
            return;
        }
        const int index = row * columns + column;
        if (index >= capacity || index >= cellCount) {
            return;
        }
        if (i >= start) {
            const long cellBackground = ShowsCaret() && caret == i ? caretColor : background;
            TextBoxGrid::Cell& cell = cells[static_cast<size_t>(index)];
            if (full || cell.character != shown || cell.foreground != foreground ||
                cell.background != cellBackground) {
                const Area area = CellArea(row, column);
                DrawText(dc, area.x, area.y, area.w, area.h, std::string(1, shown), foreground,
                         cellBackground, alignment);
            }
            cell = {shown, foreground, cellBackground, i};
        }
        ++column;
    }
}

void TextBoxCustom::OnKeyUp(Key key) {
    GUIElement::OnKeyUp(key);
}

void TextBoxCustom::OnKeyDown(Key key) {
    GUIElement::OnKeyDown(key);
    const int oldCaret = caret;
    std::optional<TextBoxGrid::CaretStep> step;
    switch (key) {
    case kKeyRight:
        step = Grid().Right(caret, length);
        break;
    case kKeyLeft:
        step = TextBoxGrid::CaretStep{Grid().Left(caret), false};
        break;
    case kKeyUp:
        if (multiLine) {
            step = Grid().Up(cells, caret);
        }
        break;
    case kKeyDown:
        if (multiLine) {
            step = Grid().Down(cells, caret, length);
        }
        break;
    default:
        break;
    }
    if (!step) {
        return;
    }
    caret = step->caret;
    if (step->beep) {
        Beep();
    }
    if (key == kKeyDown) {
        DrawCells(false, oldCaret);
    } else {
        Redraw(false);
    }
}

bool TextBoxCustom::OnKeyChar(int character) {
    // A hidden box keeps the focus but has no buffer to edit: the one left from its last
    // showing may be shorter than a maxLength set since, and Show rebuilds it from the text
    // anyway.
    if (!created || !enabled || readOnly || !GUIElement::OnKeyChar(character)) {
        return false;
    }
    if (character == kCharDelete) {
        DeleteAtCaret();
        return true;
    }
    if (character == kCharBackSpace) {
        Backspace();
        return true;
    }
    if (character == kCarriageReturn) {
        if (multiLine && caret < maxLength) {
            InsertAtCaret(kCarriageReturn);
        }
        return true;
    }
    if (character == kCharEscape) {
        return true;
    }
    if (character < kCharSpace) {
        Beep();
        return true;
    }
    if (digitsOnly && (character < '0' || character > '9')) {
        const bool secondPoint = BufferText().find('.') != std::string::npos;
        if (!(character == '.' && allowDecimalPoint && !secondPoint && caret < maxLength)) {
            Beep();
            return true;
        }
    }
    if (caret >= maxLength) {
        Beep();
        return true;
    }
    InsertAtCaret(static_cast<char>(character));
    return true;
}

void TextBoxCustom::InsertAtCaret(char character) {
    if (multiLine) {
        std::string edited = TextThroughCaret();
        edited.insert(static_cast<size_t>(caret), 1, character);
        if (!Grid().Fits(edited, length + 1)) {
            Beep();
            return;
        }
        const int newCaret = caret + 1;
        text = edited;
        RebuildBuffer();
        caret = newCaret;
        ++length;
    } else {
        buffer[static_cast<size_t>(caret)] = character;
        ++caret;
        if (dateMode && TextBoxGrid::IsSlashPlace(caret) && caret < maxLength) {
            buffer[static_cast<size_t>(caret)] = '/';
            ++caret;
            length += 2;
        } else {
            ++length;
        }
    }
    Redraw(false);
}

void TextBoxCustom::Backspace() {
    if (caret <= 0) {
        Beep();
        return;
    }
    std::string edited = TextThroughCaret();
    // Right after a slash, the slash and the digit before it go together.
    const bool pair = dateMode && TextBoxGrid::FollowsSlash(caret);
    const int removed = pair ? 2 : 1;
    edited.erase(static_cast<size_t>(caret - removed), static_cast<size_t>(removed));
    if (dateMode) {
        edited = TextBoxGrid::Reslash(edited);
    }
    const int newCaret = caret - removed;
    text = edited;
    RebuildBuffer();
    length = std::max(length - removed, 0);
    caret = newCaret;
    DrawCells(false, caret);
}

void TextBoxCustom::DeleteAtCaret() {
    if (caret >= maxLength) {
        return;
    }
    if (deleteCloses) {
        std::string edited = TextThroughCaret();
        if (static_cast<size_t>(caret) < edited.size()) {
            edited.erase(static_cast<size_t>(caret), 1);
        }
        const int kept = caret;
        text = edited;
        RebuildBuffer();
        caret = kept;
        length = std::max(length - 1, 0);
    } else {
        buffer[static_cast<size_t>(caret)] = kBlank;
    }
    Redraw(false);
}

void TextBoxCustom::OnClick(int64_t point) {
    GUIElement::OnClick(point);
    if (!created) {
        return;
    }
    const std::optional<int> clicked =
        Grid().CaretAt(cells, PointX(point) - x, PointY(point) - y, length);
    if (clicked) {
        caret = *clicked;
        DrawCells(false, 0);
    }
}
