#include <gtest/gtest.h>

#include "gui/controls/TextBoxCustom.h"

#include <functional>
#include <sys/stat.h>

#include "support/FormFixture.h"
#include "support/StandIns.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

namespace {

const long kCaret = 0xffff00;

// A text box on the shown form, typed into with real keys through XTest. Beeps go to a
// recording "aplay".
class TextBoxTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        ASSERT_EQ(mkdir("Data", 0777), 0);
        WriteRawFile("Data/beep.wav", "RIFF");
        sounds.Install("aplay");
        sounds.PutFirstOnPath();
        input.FocusKeyboardOn(form->GetWindow());
    }
    void TearDown() override {
        box.reset();
        FormFixture::TearDown();
    }

    // A box at (20, 20), set up by the caller, shown and given the focus, its caret after
    // its text.
    TextBoxCustom& Make(int w, int h, const std::function<void(TextBoxCustom&)>& setUp = {},
                        const std::string& initial = "") {
        box.reset();
        box = std::make_unique<TextBoxCustom>(form.get(), initial);
        if (setUp) {
            setUp(*box);
        }
        Place(*box, {20, 20, w, h});
        box->SetFocus();
        return *box;
    }
    void Type(const std::string& keys) {
        input.Type(keys);
        DispatchPending(form.get());
    }
    void Press(KeySym key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            input.TapKey(key);
        }
        DispatchPending(form.get());
    }
    // Types the keys one by one, each once the beep of the one before has ended (a beep still
    // playing answers for the next), and answers how many beeped.
    size_t TypeCountingBeeps(const std::string& keys) {
        const size_t before = Beeps();
        for (const char key : keys) {
            Type(std::string(1, key));
            Beeps();
        }
        return Beeps() - before;
    }
    // The beeps so far, once the last has ended.
    size_t Beeps() {
        WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 5000);
        return sounds.Calls().size();
    }
    // Whether the cells of the row from the column on show the characters in these colours,
    // the one at index caretAt on the caret's colour, each placed in its cell as the box
    // places it. A cell's last column is left out: drawn text fills one column less than its box.
    bool Shows(int row, int column, const std::string& characters, int caretAt = -1,
               long fg = kBlack, long bg = kWhite, int alignment = kAlignLeft) {
        for (int i = 0; i < static_cast<int>(characters.size()); ++i) {
            const Area cell = box->CellArea(row, column + i);
            const std::string character = characters.substr(static_cast<size_t>(i), 1);
            const Pixels shown = Read(cell);
            const Pixels drawn =
                Text(cell.w, cell.h, character, fg, i == caretAt ? kCaret : bg, alignment);
            for (size_t at = 0; at < shown.size(); ++at) {
                if (at % static_cast<size_t>(cell.w) + 1 < static_cast<size_t>(cell.w) &&
                    shown[at] != drawn.at(at)) {
                    return false;
                }
            }
        }
        return true;
    }

    StandIns sounds{workDir.Path()};
    std::unique_ptr<TextBoxCustom> box;
};

} // namespace

// Typing refuses what a box does not take with one beep a key; each box shows what it holds,
// and the caret only where typing is possible.
TEST_F(TextBoxTest, EachKindOfBoxTakesShowsAndRefusesWhatItShould) {
    struct Case {
        const char* name;
        std::function<void(TextBoxCustom&)> setUp;
        std::string initial, keys, text;
        size_t beeps;
        std::string shown;
        bool caret;
        long fg = kBlack, bg = kWhite;
        int alignment = kAlignLeft;
    };
    const auto digits = [](TextBoxCustom& b) {
        b.SetDigitsOnly(true);
        b.SetAllowDecimalPoint(true);
        b.SetMaxLength(4);
    };
    // clang-format off
    const Case cases[] = {
        // A second point, a letter and a fifth character are refused.
        {"digits and one point", digits, "", "3.1.4a5", "3.14", 3, "3.14", true},
        // A ninth digit does not fit, a letter never.
        {"date", [](TextBoxCustom& b) { b.SetDateMode(true); }, "", "251220269a", "25/12/2026", 2,
         "25/12/2026", true},
        // Blanks stay blank, the rest shows as stars.
        {"password", [](TextBoxCustom& b) { b.SetPassword(true); }, "ab c", "d", "ab cd", 0,
         "** **", true},
        {"read-only", [](TextBoxCustom& b) { b.SetReadOnly(true); }, "abc", "xyz", "abc", 0, "abc",
         false},
        {"disabled", [](TextBoxCustom& b) { b.Enable(false); }, "abc", "x", "abc", 0, "abc", false,
         0x9b9b9b, 0xaaaaaa},
        // Each character is placed inside its own cell.
        {"centred", [](TextBoxCustom& b) { b.SetAlignCenter(true); }, "il", "W", "ilW", 0, "ilW",
         true, kBlack, kWhite, kAlignCenter},
        {"right", [](TextBoxCustom& b) { b.SetAlignRight(true); }, "il", "W", "ilW", 0, "ilW", true,
         kBlack, kWhite, kAlignRight},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextBoxCustom& text = Make(200, 30, c.setUp, c.initial);
        EXPECT_EQ(TypeCountingBeeps(c.keys), c.beeps);
        EXPECT_EQ(text.GetText(), c.text);
        EXPECT_TRUE(Shows(0, 0, c.shown, -1, c.fg, c.bg, c.alignment));
        EXPECT_EQ(Count({20, 20, 200, 30}, kCaret) > 0, c.caret);
    }
}

TEST_F(TextBoxTest, TheCellBeyondTheLastBeepsInABoxTooLowForMoreThanOneLine) {
    TextBoxCustom& text = Make(100, 10);
    EXPECT_EQ(text.Rows(), 1);
    const std::string full(static_cast<size_t>(text.Columns()), 'w');
    ASSERT_GT(full.size(), 3u);
    EXPECT_EQ(TypeCountingBeeps(full + "xy"), 2u);
    EXPECT_EQ(text.GetText(), full);
    EXPECT_TRUE(Shows(0, 0, full));
}

// Trailing blanks of the text given are dropped; hidden and shown again, the box shows the
// text last read from it.
TEST_F(TextBoxTest, TheCaretCellShowsWhereTheNextCharacterGoesAndAClickMovesIt) {
    TextBoxCustom& text = Make(200, 30, {}, "abcdef  ");
    EXPECT_TRUE(Shows(0, 0, "abcdef ", 6)) << "the caret after the text";
    // A click on the third cell puts the caret there; typing overwrites it. The window manager
    // sees the click first and hands it on.
    input.Click(form->GetWindow(), 20 + 2 * text.CellWidth() + 3, 30);
    EXPECT_TRUE(PumpUntil(form.get(), [&] { return text.GetCaret() == 2; }));
    EXPECT_TRUE(Shows(0, 0, "abcdef ", 2)) << "and the old caret is gone";
    Type("Z");
    Press(XK_Left, 2);
    EXPECT_TRUE(Shows(0, 0, "abZdef", 1));
    // Delete blanks the character at the caret and leaves the others where they are.
    Press(XK_Delete);
    EXPECT_EQ(text.GetText(), "a Zdef");
    // The caret leaves with the focus and comes back with it.
    ClickAt(300, 250);
    EXPECT_EQ(Count({20, 20, 200, 30}, kCaret), 0);
    ClickAt(20 + text.CellWidth() + 3, 30);
    EXPECT_TRUE(Shows(0, 0, "a Zdef", 1));
    text.Hide();
    EXPECT_EQ(Count({20, 20, 200, 30}, kWhite), 0) << "hidden, the box leaves the form's colour";
    text.Show();
    EXPECT_TRUE(Shows(0, 0, "a Zdef")) << "the text read last is the one shown again";
    text.SetText("xyz");
    Press(XK_Left, 2);
    Press(XK_Right);
    EXPECT_TRUE(Shows(0, 0, "xyz", 2));
    // At the end of the text Right beeps; Escape does nothing.
    Press(XK_Right);
    ASSERT_EQ(text.GetCaret(), 3);
    const size_t beeps = Beeps();
    Press(XK_Right);
    Press(XK_Escape);
    EXPECT_EQ(Beeps(), beeps + 1);
    EXPECT_EQ(std::pair(text.GetCaret(), text.GetText()), std::pair(3, std::string("xyz")));
    // Read-only, the box still moves its caret with the arrows.
    text.SetReadOnly(true);
    Press(XK_Left);
    EXPECT_EQ(text.GetCaret(), 2);
}

// Backspace right after a slash takes the slash and the digit before it, and the rest is
// slashed again.
TEST_F(TextBoxTest, BackspaceInADateTakesBackTheDigitBeforeASlash) {
    TextBoxCustom& date = Make(200, 30, [](TextBoxCustom& b) { b.SetDateMode(true); });
    Type("25122026");
    Press(XK_Left, 4);
    ASSERT_EQ(date.GetCaret(), 6);
    Press(XK_BackSpace);
    EXPECT_EQ(date.GetText(), "25/12/026");
    EXPECT_TRUE(Shows(0, 0, "25/12/026 ", 4));
}

TEST_F(TextBoxTest, MultiLineBoxesInsertBreakLinesAndRefuseWhatDoesNotFit) {
    TextBoxCustom& lines = Make(8 * 12, 60, [](TextBoxCustom& b) { b.SetMultiLine(true); });
    ASSERT_GE(lines.Rows(), 2);
    Type("ab");
    Press(XK_Return);
    Type("cd");
    Press(XK_Left, 2);
    Press(XK_Up);
    Type("X");
    EXPECT_EQ(lines.GetText(), "Xab\rcd") << "inserted in front of the first row";
    EXPECT_TRUE(Shows(0, 0, "Xab", 1) && Shows(1, 0, "cd"));

    // Filling every row: what no longer fits is refused with a beep and changes nothing.
    Press(XK_Down);
    Type(std::string(static_cast<size_t>(lines.Columns() * lines.Rows()), 'z'));
    const std::string full = lines.GetText();
    EXPECT_GT(full.size(), 6u);
    WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 5000);
    EXPECT_EQ(TypeCountingBeeps("z"), 1u);
    EXPECT_EQ(lines.GetText(), full);

    // Delete closes the gap where it is asked to.
    TextBoxCustom& closing = Make(
        200, 60, [](TextBoxCustom& b) { b.SetDeleteCloses(true); }, "abcd");
    Press(XK_Left, 3);
    Press(XK_Delete);
    EXPECT_EQ(closing.GetText(), "acd");
    EXPECT_TRUE(Shows(0, 0, "acd ", 1));
}
