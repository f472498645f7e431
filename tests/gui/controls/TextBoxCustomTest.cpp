#include <gtest/gtest.h>

#include "gui/controls/TextBoxCustom.h"

#include <sys/stat.h>

#include "support/FormFixture.h"
#include "support/StandIns.h"
#include "tools/driver/ExpectedPixels.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

namespace {

const long kWhite = 0xffffff;
const long kBlack = 0x000000;
const long kCaret = 0xffff00;
const long kGreyText = 0x9b9b9b;
const long kGreyFace = 0xaaaaaa;

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
        font = LoadProgramFont(observer);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override {
        box.reset();
        XFreeFont(observer, font);
        FormFixture::TearDown();
    }

    // A box at (20, 20), set up by the caller, shown and given the focus, its caret after
    // its text; the form's window has the keyboard.
    TextBoxCustom& Make(int w, int h, const std::function<void(TextBoxCustom&)>& setUp = {},
                        const std::string& initial = "") {
        box.reset();
        input.FocusKeyboardOn(form->GetWindow());
        box = std::make_unique<TextBoxCustom>(form.get(), initial);
        box->SetPosition(20, 20);
        box->SetSize(w, h);
        if (setUp) {
            setUp(*box);
        }
        box->Show();
        box->SetFocus();
        return *box;
    }
    void Type(const std::string& keys) {
        input.Type(keys);
        DispatchPending(form.get());
    }
    // Types the keys one by one, each once the beep of the one before has ended (a beep still
    // playing answers for the next), and answers how many beeped.
    size_t TypeCountingBeeps(const std::string& keys) {
        const size_t before = sounds.Calls().size();
        for (const char key : keys) {
            Type(std::string(1, key));
            WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 5000);
        }
        return sounds.Calls().size() - before;
    }
    void Tap(KeySym key) {
        input.TapKey(key);
        DispatchPending(form.get());
    }
    // Whether the cell of the grid shows the character in these colours, as the box draws it:
    // its last column is left as it was.
    bool CellShows(int row, int column, char character, long fg, long bg) {
        const Area cell = box->CellArea(row, column);
        const int cw = cell.w;
        XSync(screen->GetDisplay(), False);
        const Pixels seen = reader.ReadWindow(form->GetWindow(), cell);
        const Pixels expected =
            RenderText(observer, font, cw, cell.h, std::string(1, character), fg, bg, kAlignLeft);
        for (size_t i = 0; i < seen.size() && i < expected.size(); ++i) {
            const bool lastColumn = static_cast<int>(i % static_cast<size_t>(cw)) == cw - 1;
            if (!lastColumn && seen[i] != expected[i]) {
                return false;
            }
        }
        return !seen.empty() && seen.size() == expected.size();
    }
    bool RowShows(int row, const std::string& characters, long fg = kBlack, long bg = kWhite,
                  int firstColumn = 0) {
        for (size_t i = 0; i < characters.size(); ++i) {
            if (!CellShows(row, firstColumn + static_cast<int>(i), characters[i], fg, bg)) {
                return false;
            }
        }
        return true;
    }
    StandIns sounds{workDir.Path()};
    std::unique_ptr<TextBoxCustom> box;
    XFontStruct* font = nullptr;
};

} // namespace

TEST_F(TextBoxTest, TypedCharactersFillTheCellsAndTheOneBeyondTheLastCellBeeps) {
    TextBoxCustom& text = Make(100, 10);
    EXPECT_EQ(text.Rows(), 1) << "a box too low for a line holds exactly one";
    const int columns = text.Columns();
    ASSERT_GT(columns, 3);
    const std::string full(static_cast<size_t>(columns), 'w');
    EXPECT_EQ(TypeCountingBeeps(full + "xy"), 2u);
    EXPECT_EQ(text.GetText(), full);
    EXPECT_TRUE(RowShows(0, full));
}

TEST_F(TextBoxTest, TheCaretCellShowsWhereTheNextCharacterGoesAndAClickMovesIt) {
    TextBoxCustom& text = Make(200, 30, {}, "abcdef");
    EXPECT_TRUE(CellShows(0, 6, ' ', kBlack, kCaret)) << "the caret after the text";
    EXPECT_TRUE(CellShows(0, 0, 'a', kBlack, kWhite));
    // A click on the third cell puts the caret there; typing overwrites it. The window manager
    // sees the click first and hands it on.
    input.Click(form->GetWindow(), 20 + 2 * text.CellWidth() + 3, 30);
    EXPECT_TRUE(PumpUntil(form.get(), [&] { return text.GetCaret() == 2; }));
    EXPECT_TRUE(CellShows(0, 2, 'c', kBlack, kCaret));
    EXPECT_TRUE(CellShows(0, 6, ' ', kBlack, kWhite)) << "the old caret is gone";
    Type("Z");
    EXPECT_EQ(text.GetText(), "abZdef");
    Tap(XK_Left);
    Tap(XK_Left);
    EXPECT_TRUE(CellShows(0, 1, 'b', kBlack, kCaret));
    EXPECT_TRUE(CellShows(0, 3, 'd', kBlack, kWhite));
}

TEST_F(TextBoxTest, ADateBoxWritesItsSlashesAndTakesBackTheDigitBeforeOne) {
    TextBoxCustom& date = Make(200, 30, [](TextBoxCustom& b) { b.SetDateMode(true); });
    EXPECT_EQ(TypeCountingBeeps("25122026"), 0u);
    EXPECT_EQ(date.GetText(), "25/12/2026");
    EXPECT_TRUE(RowShows(0, "25/12/2026"));
    EXPECT_EQ(TypeCountingBeeps("9a"), 2u) << "a ninth digit does not fit, a letter never";

    // Backspace right after a slash takes the slash and the digit before it, and the rest is
    // slashed again.
    for (int i = 0; i < 4; ++i) {
        Tap(XK_Left);
    }
    ASSERT_EQ(date.GetCaret(), 6);
    Tap(XK_BackSpace);
    EXPECT_EQ(date.GetText(), "25/12/026");
    EXPECT_EQ(date.GetCaret(), 4);
    EXPECT_TRUE(RowShows(0, "25/1"));
    EXPECT_TRUE(CellShows(0, 4, '2', kBlack, kCaret));
    EXPECT_TRUE(RowShows(0, "/026 ", kBlack, kWhite, 5));
}

TEST_F(TextBoxTest, DigitBoxesTakeDigitsAndOneDecimalPoint) {
    TextBoxCustom& number = Make(200, 30, [](TextBoxCustom& b) {
        b.SetDigitsOnly(true);
        b.SetAllowDecimalPoint(true);
    });
    EXPECT_EQ(TypeCountingBeeps("3.1.4a5"), 2u);
    EXPECT_EQ(number.GetText(), "3.145");
}

TEST_F(TextBoxTest, PasswordReadOnlyAndDisabledBoxesShowAndRefuseAsTheyShould) {
    TextBoxCustom& secret = Make(200, 30, [](TextBoxCustom& b) { b.SetPassword(true); }, "ab c");
    EXPECT_TRUE(RowShows(0, "** *")) << "blanks stay blank, the rest shows as stars";
    Type("d");
    EXPECT_EQ(secret.GetText(), "ab cd");
    EXPECT_TRUE(RowShows(0, "** **"));

    TextBoxCustom& fixed = Make(200, 30, [](TextBoxCustom& b) { b.SetReadOnly(true); }, "abc");
    Type("xyz");
    EXPECT_EQ(fixed.GetText(), "abc") << "typing is refused";
    Tap(XK_Left);
    EXPECT_EQ(fixed.GetCaret(), 2) << "the arrows still move the caret";
    EXPECT_EQ(Count({20, 20, 200, 30}, kCaret), 0) << "but no caret is drawn";

    TextBoxCustom& grey = Make(200, 30, [](TextBoxCustom& b) { b.Enable(false); }, "abc");
    EXPECT_EQ(TypeCountingBeeps("x"), 0u);
    EXPECT_EQ(grey.GetText(), "abc");
    EXPECT_TRUE(RowShows(0, "abc", kGreyText, kGreyFace));
}

TEST_F(TextBoxTest, MultiLineBoxesInsertBreakLinesAndRefuseWhatDoesNotFit) {
    TextBoxCustom& lines = Make(8 * 12, 60, [](TextBoxCustom& b) { b.SetMultiLine(true); });
    ASSERT_GE(lines.Rows(), 2);
    Type("ab");
    Tap(XK_Return);
    Type("cd");
    Tap(XK_Left);
    Tap(XK_Left);
    Tap(XK_Up);
    Type("X");
    EXPECT_EQ(lines.GetText(), "Xab\rcd") << "inserted in front of the first row";
    EXPECT_TRUE(RowShows(0, "X"));
    EXPECT_TRUE(CellShows(0, 1, 'a', kBlack, kCaret));
    EXPECT_TRUE(RowShows(0, "b", kBlack, kWhite, 2));
    EXPECT_TRUE(RowShows(1, "cd"));

    // Filling every row: what no longer fits is refused with a beep and changes nothing.
    const std::string before = lines.GetText();
    Tap(XK_Down);
    Type(std::string(static_cast<size_t>(lines.Columns() * lines.Rows()), 'z'));
    const std::string full = lines.GetText();
    EXPECT_GT(full.size(), before.size());
    WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 5000);
    EXPECT_EQ(TypeCountingBeeps("z"), 1u);
    EXPECT_EQ(lines.GetText(), full);
}

TEST_F(TextBoxTest, AKeystrokeRedrawsOnlyTheCellsItChanged) {
    // The X requests of one keystroke at the end of a long text and of a short one: a box that
    // drew every cell again would send a hundred times more for the long one.
    form->SetSize(800, 600);
    auto requestsForOneKey = [this](int characters) {
        // Room for 1,600 cells of the program font.
        TextBoxCustom probe(form.get());
        probe.Create();
        const int w = 6 + 80 * probe.CellWidth();
        const int h = 6 + 20 * probe.LineHeight();
        TextBoxCustom& lines = Make(w, h, [](TextBoxCustom& b) {
            b.SetMultiLine(true);
            b.SetMaxLength(2000);
        });
        std::string text;
        for (int i = 0; i < characters; ++i) {
            text += static_cast<char>('a' + i % 26);
        }
        lines.SetText(text);
        lines.SetFocus();
        Display* display = screen->GetDisplay();
        const unsigned long before = NextRequest(display);
        lines.OnKeyChar('q');
        return NextRequest(display) - before;
    };
    const unsigned long shortText = requestsForOneKey(10);
    const unsigned long longText = requestsForOneKey(1500);
    EXPECT_LE(longText, shortText + 2) << shortText << " requests for a short text";
}

TEST_F(TextBoxTest, ShownAgainAfterHideItShowsItsStoredTextAndTrimsTrailingBlanks) {
    TextBoxCustom& text = Make(200, 30, {}, "keep  ");
    EXPECT_EQ(text.GetText(), "keep");
    Type("er");
    EXPECT_EQ(text.GetText(), "keeper");
    text.Hide();
    EXPECT_EQ(Count({20, 20, 200, 30}, kWhite), 0) << "hidden, the box leaves the form's colour";
    text.Show();
    EXPECT_EQ(text.GetText(), "keeper") << "the text read last is the one shown again";
    EXPECT_TRUE(RowShows(0, "keeper"));
}
