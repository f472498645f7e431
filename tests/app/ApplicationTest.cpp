#include <gtest/gtest.h>
#include <memory>
#include <tuple>

#include "support/TempFolder.h"
#include "support/TestElements.h"
#include "util/TextFile.h"

using Application::allElements;
using Application::forms;

namespace {

std::unique_ptr<RecordingControl> ShownControl(GUIElement* parent, const char* kind, int x, int y,
                                               int w, int h) {
    auto control = std::make_unique<RecordingControl>(parent, kind, x, y, w, h);
    control->Show();
    return control;
}

// Controls that a focus handler of the test destroys, or hands the focus to.
std::unique_ptr<RecordingControl> doomed;
GUIElement* redirect = nullptr;

} // namespace

TEST(Application, ElementsRegisterInConstructionOrderAndLeaveOnDestruction) {
    RecordingForm form;
    auto first = std::make_unique<RecordingControl>(&form, "button", 0, 0, 1, 1);
    auto second = std::make_unique<RecordingControl>(&form, "button", 0, 0, 1, 1);
    EXPECT_EQ(allElements, (std::vector<GUIElement*>{&form, first.get(), second.get()}));
    EXPECT_EQ(forms, std::vector<GUIElement*>{&form});
    // A destroyed control must not stay the focus either.
    Application::focusedElement = first.get();
    first.reset();
    EXPECT_EQ(allElements, (std::vector<GUIElement*>{&form, second.get()}));
    EXPECT_EQ(Application::focusedElement, nullptr);
}

// The control losing the focus may, from its handler, destroy the control the focus is moving
// to or move the focus elsewhere: the move then stops, and no control is told twice.
TEST(Application, AFocusMoveStopsWhereTheOldControlsHandlerDestroysOrRedirectsIt) {
    std::vector<std::string> journal;
    RecordingForm form;
    auto first = std::make_unique<RecordingControl>(&form, "first", 0, 0, 1, 1, &journal);
    auto other = std::make_unique<RecordingControl>(&form, "other", 0, 0, 1, 1, &journal);
    auto third = std::make_unique<RecordingControl>(&form, "third", 0, 0, 1, 1, &journal);
    doomed = std::make_unique<RecordingControl>(&form, "doomed", 0, 0, 1, 1, &journal);
    redirect = third.get();
    EXPECT_TRUE(Application::MoveFocus(first.get()) && Application::MoveFocus(first.get()));
    first->SetOnFocusOut([](GUIElement*) { doomed.reset(); });
    EXPECT_TRUE(!Application::MoveFocus(doomed.get()) && Application::focusedElement == nullptr);
    Application::MoveFocus(first.get());
    first->SetOnFocusOut([](GUIElement*) { Application::MoveFocus(redirect); });
    EXPECT_TRUE(!Application::MoveFocus(other.get()) && Application::focusedElement == third.get());
    EXPECT_EQ(journal,
              (std::vector<std::string>{"first0 FocusIn", "first0 FocusOut", "first0 FocusIn",
                                        "first0 FocusOut", "third0 FocusIn"}));
    Application::DropFocus();
}

TEST(Application, FindChildAtHitsEdgesDescendsIntoPanelsAndPrefersTheFirstConstructed) {
    RecordingForm form;
    form.GiveId();
    auto button = ShownControl(&form, "button", 10, 10, 100, 20);
    auto below = ShownControl(&form, "button", 0, 40, 50, 50);
    auto above = ShownControl(&form, "button", 0, 40, 50, 50);
    auto panel = ShownControl(&form, "panel", 200, 100, 100, 100);
    auto inPanel = ShownControl(panel.get(), "image", 10, 10, 20, 20);
    RecordingControl uncreated(&form, "button", 0, 0, 500, 500);
    const auto at = [&](int x, int y) {
        return Application::FindChildAt(form.GetId(), PackPoint(x, y));
    };
    // All four edges belong to the element, the pixels beyond them do not; a panel itself is
    // never the answer.
    const std::tuple<int, int, GUIElement*> hits[] = {
        {10, 10, button.get()}, {110, 30, button.get()},   {9, 20, nullptr},
        {111, 20, nullptr},     {50, 9, nullptr},          {50, 31, nullptr},
        {5, 45, below.get()},   {215, 115, inPanel.get()}, {250, 150, nullptr}};
    for (const auto& [x, y, hit] : hits) {
        EXPECT_EQ(at(x, y), hit) << x << "," << y;
    }
    button->Hide();
    below->SetEnabled(false);
    EXPECT_EQ(at(50, 15), nullptr);
    EXPECT_EQ(at(5, 45), above.get());
}

TEST(Application, PanelContentsFollowThePanelAndParentChainsLeadToTheForm) {
    RecordingForm form;
    form.GiveId();
    auto a = ShownControl(&form, "button", 0, 0, 1, 1);
    auto panel = ShownControl(&form, "panel", 30, 40, 100, 100);
    auto b = ShownControl(&form, "button", 0, 0, 1, 1);
    auto inner = ShownControl(panel.get(), "panel", 5, 6, 50, 50);
    auto leaf = ShownControl(inner.get(), "image", 1, 2, 10, 10);
    EXPECT_EQ(Application::CollectChildren(form.GetId()),
              (std::vector<GUIElement*>{a.get(), panel.get(), inner.get(), leaf.get(), b.get()}));
    EXPECT_EQ(Application::GetOffsetInForm(leaf.get(), 1, 2), PackPoint(36, 48));
    EXPECT_EQ(Application::FindElementById(9999), nullptr);
    RecordingControl orphan(nullptr, "image", 0, 0, 1, 1);
    EXPECT_EQ(Application::FindParentForm(&orphan), nullptr);
}
