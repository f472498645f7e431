#include <gtest/gtest.h>

#include "app/Application.h"
#include "gui/controls/OptionBox.h"
#include "support/FormFixture.h"

namespace {

const Area kBox{40, 20, 120, 30};
const int kOptions = 3;

// A focused box of three options, none chosen yet.
class OptionBoxTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        box = std::make_unique<OptionBox>(form.get());
        box->SetCommand(CountCommand);
        Place(*box, kBox);
        Application::MoveFocus(box.get());
        Refill();
    }
    void Refill() {
        box->Clear();
        for (const char* caption : {"Rock", "Paper", "Scissors"}) {
            box->AddOption(caption, std::string(caption) + " value");
        }
    }
    static int RowTop(int row) { return kBox.y + row * OptionBox::kRowHeight; }
    // The chosen row, and the rows whose mark shows the dot in its centre: only that one.
    void ExpectChosen(int row) {
        std::vector<int> dots;
        for (int at = 0; at < box->GetCount(); ++at) {
            const int x = kBox.x + OptionBox::kMarkLeft + 9;
            if (Pixel(x, RowTop(at) + OptionBox::kMarkTop + 8) == 0x010101) {
                dots.push_back(at);
            }
        }
        EXPECT_EQ(box->GetSelected(), row);
        EXPECT_EQ(dots, row < 0 ? std::vector<int>{} : std::vector<int>{row});
    }

    std::unique_ptr<OptionBox> box;
};

} // namespace

// From every option, and from no choice yet, Down moves to the option below and from the
// last to the first; Up to the one above and from the first (or none) to the last. Each key
// runs the command, even where it changes nothing.
TEST_F(OptionBoxTest, UpAndDownWrapAroundAndEveryStepRunsTheCommand) {
    // Before the first choice no mark is set and the focus frame stands round the first row
    // alone.
    ExpectChosen(-1);
    for (int row = 0; row < kOptions; ++row) {
        EXPECT_EQ(Count({kBox.x + 25, RowTop(row) + 2, kBox.w - 31, 1}, 0x000000) > 10, row == 0)
            << "focus frame on row " << row;
    }
    for (int start = -1; start < kOptions; ++start) {
        for (const KeySym key : {XK_Down, XK_Up, XK_space, XK_Left, XK_Return}) {
            SCOPED_TRACE(testing::Message() << "from " << start << " key " << key);
            Refill();
            if (start >= 0) {
                box->SetSelected(start);
            }
            commands = 0;
            Tap(key);
            const int below = start + 1 == kOptions ? 0 : start + 1;
            const int above = start <= 0 ? kOptions - 1 : start - 1;
            const bool moves = key == XK_Down || key == XK_Up || key == XK_space;
            ExpectChosen(key == XK_Up ? above : moves ? below : start);
            EXPECT_EQ(commands, moves ? 1 : 0);
        }
    }
}

TEST_F(OptionBoxTest, ClickChoosesTheRowUnderThePointerBelowTheLastRowTheLastAndNoneWhenDisabled) {
    box->SetSize(kBox.w, 5 * OptionBox::kRowHeight);
    const std::pair<int, int> clicks[] = {
        {RowTop(2) + 3, 2}, {RowTop(0) + 20, 0}, {RowTop(4) + 5, 2}, {RowTop(1), 1}};
    for (const auto& [y, row] : clicks) {
        SCOPED_TRACE(y);
        ClickAt(kBox.CentreX(), y);
        ExpectChosen(row);
    }
    EXPECT_EQ(commands, 4);
    // The marks are drawn keyed: outside the circle the box's background shows.
    EXPECT_EQ(Pixel(kBox.x + OptionBox::kMarkLeft, RowTop(0) + OptionBox::kMarkTop), backColor);

    // Disabled, chosen or not, it keeps its choice through every click and key, runs nothing
    // and looks the same afterwards.
    for (const int chosen : {-1, 1}) {
        SCOPED_TRACE(chosen);
        Refill();
        if (chosen >= 0) {
            box->SetSelected(chosen);
        }
        box->Enable(false);
        const Area drawn{kBox.x, kBox.y, kBox.w, kOptions * OptionBox::kRowHeight};
        const Pixels before = Read(drawn);
        commands = 0;
        for (int row = 0; row < kOptions; ++row) {
            ClickAt(kBox.CentreX(), RowTop(row) + 5);
        }
        for (const KeySym key : {XK_Down, XK_Up, XK_space}) {
            Tap(key);
        }
        EXPECT_EQ(std::pair(box->GetSelected(), commands), std::pair(chosen, 0));
        EXPECT_TRUE(Read(drawn) == before) << "the disabled box was drawn differently";
        box->Enable(true);
    }
}

TEST_F(OptionBoxTest, RemovingAnOptionKeepsTheChosenOneAndClearingChoosesNothing) {
    struct Case {
        int chosen, removed;
        bool removes;
        int after;
    };
    const Case cases[] = {
        {2, 1, true, 1},  {0, 2, true, 0},   {1, 1, true, 1},   {2, 2, true, 1},
        {1, 3, false, 1}, {1, -1, false, 1}, {-1, 0, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "chosen " << c.chosen << " removed " << c.removed);
        Refill();
        if (c.chosen >= 0) {
            box->SetSelected(c.chosen);
        }
        const std::string caption = box->GetOptionCaption(c.chosen);
        EXPECT_EQ(box->RemoveOption(c.removed), c.removes);
        EXPECT_EQ(box->GetCount(), c.removes ? kOptions - 1 : kOptions);
        EXPECT_EQ(box->GetSelected(), c.after);
        if (c.chosen != c.removed && c.chosen >= 0) {
            EXPECT_EQ(box->GetOptionCaption(box->GetSelected()), caption);
        }
    }
    EXPECT_EQ(box->GetOptionValue(7), "Scissors value") << "beyond the end: the last";
    EXPECT_EQ(box->GetOptionCaption(-1), "Scissors");
    EXPECT_TRUE(box->SetSelected(-4));
    EXPECT_EQ(box->GetSelected(), 0);
    EXPECT_EQ(commands, 0) << "only the user's choices run the command";

    // Cleared, the box repaints its rows in its background alone and ignores every input.
    const Area around{kBox.x - 5, kBox.y - 5, kBox.w + 10, kOptions * OptionBox::kRowHeight + 10};
    Fill(around, 0xff0000);
    box->Clear();
    const Area drawn{kBox.x, kBox.y, kBox.w, kOptions * OptionBox::kRowHeight};
    EXPECT_EQ(Count(drawn, backColor), drawn.w * drawn.h);
    EXPECT_EQ(Count(around, 0xff0000), around.w * around.h - drawn.w * drawn.h);
    Tap(XK_Down);
    Tap(XK_space);
    ClickAt(kBox.CentreX(), kBox.y + 5);
    EXPECT_EQ(std::pair(box->GetSelected(), commands), std::pair(-1, 0));
    EXPECT_EQ(box->GetOptionCaption(0), "");
    EXPECT_FALSE(box->SetSelected(0));
}
