#include <gtest/gtest.h>

#include "game/FormAbout.h"
#include "gui/controls/CellControl.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/StandIns.h"
#include "support/TestElements.h"

namespace {

class FormAboutTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        owner = std::make_unique<RecordingForm>();
        owner->SetScreen(screen.get());
        owner->Move(0, 0);
        owner->SetSize(800, 600);
        owner->Show();
        Open();
    }
    void Open() {
        about.reset();
        about = std::make_unique<FormAbout>(owner.get());
        about->SetScreen(screen.get());
        about->SetIcon(nullptr, 163, 50);
        about->SetWebAddress("https://www.brisgola.org");
        about->Show();
        XSync(screen->GetDisplay(), False);
    }
    void TearDown() override {
        about.reset();
        owner.reset();
    }

    std::unique_ptr<RecordingForm> owner;
    std::unique_ptr<FormAbout> about;
};

} // namespace

TEST_F(FormAboutTest, IsADialogThatDisablesItsOwnerUntilEnterEscapeOrDeleteCloseIt) {
    EXPECT_EQ(windows.LongProperty(about->GetWindow(), "_NET_WM_WINDOW_TYPE", XA_ATOM).size(), 1u);
    for (KeySym key : {XK_a, XK_Return, XK_Escape, XK_Delete}) {
        SCOPED_TRACE(XKeysymToString(key));
        if (!about->IsCreated()) {
            Open();
        }
        EXPECT_FALSE(owner->IsEnabled());
        EXPECT_TRUE(owner->HasMarkA());
        EXPECT_EQ(owner->GetModalChild(), about.get());
        SendKey(owner.get(), about.get(), KeyRelease, key);
        const bool closes = key != XK_a;
        EXPECT_EQ(about->IsCreated(), !closes);
        EXPECT_EQ(owner->IsEnabled(), closes);
        EXPECT_EQ(owner->GetModalChild(), closes ? nullptr : about.get());
        EXPECT_EQ(about->IsClosed(), closes);
    }
}

TEST_F(FormAboutTest, LinksStartTheBrowserAndTheMailProgramWithoutWaitingForThem) {
    StandIns programs(workDir.Path());
    programs.Install("firefox", StandIns::Ending::kHoldUntilRelease);
    programs.Install("thunderbird", StandIns::Ending::kHoldUntilRelease);
    programs.PutFirstOnPath();
    // The stand-ins hold until released, so a dialog that waited for them would hang here.
    const Area web = FormAbout::LayOut(FormAbout::kWidth, FormAbout::kHeight, 163).webLink;
    SendButton(owner.get(), about.get(), ButtonPress, Button1, web.CentreX(), web.CentreY());
    about->OnLink(about->GetMailLink());
    ASSERT_TRUE(programs.WaitForCalls(2));
    EXPECT_EQ(programs.CallsOf("firefox").at(0).arguments,
              std::vector<std::string>{"https://www.brisgola.org"});
    EXPECT_EQ(programs.CallsOf("thunderbird").at(0).arguments,
              (std::vector<std::string>{"-compose", "to=info@brisgola.org"}));
}
