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
        Application::focusedElement = box.get();
        box->OnFocusIn();
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

TEST_F(OptionBoxTest, UpAndDownWrapAroundAndEveryStepRunsTheCommand) {
    // Before the first choice the focus frame stands round the first row.
    EXPECT_GT(Count({kBox.x + 25, RowTop(0) + 2, kBox.w - 31, 1}, 0x000000), 10);
    struct Case {
        int start; // -1: no choice yet
        KeySym key;
        int chosen, commandsRun;
    };
    const Case cases[] = {
        {-1, XK_Down, 0, 1}, {-1, XK_Up, 2, 1},  {0, XK_Up, 2, 1},     {2, XK_Down, 0, 1},
        {1, XK_space, 2, 1}, {1, XK_Left, 1, 0}, {1, XK_Return, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.start << " key " << c.key);
        Refill();
        if (c.start >= 0) {
            box->SetSelected(c.start);
        }
        commands = 0;
        Tap(c.key);
        ExpectChosen(c.chosen);
        EXPECT_EQ(commands, c.commandsRun);
    }
}

TEST_F(OptionBoxTest, ClickChoosesTheRowUnderThePointerAndBelowTheLastRowTheLast) {
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
}

TEST_F(OptionBoxTest, RemovingAnOptionKeepsTheChosenOneAndClearingChoosesNothing) {
    struct Case {
        int chosen, removed;
        bool removes;
        int after;
    };
    const Case cases[] = {
        {2, 1, true, 1}, {0, 2, true, 0},  {1, 1, true, 1},   {2, 2, true, 1},
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
