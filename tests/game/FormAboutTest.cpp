#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/EventLoop.h"
#include "game/FormAbout.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "support/DisplayTest.h"
#include "support/TestElements.h"
#include "util/FileUtils.h"

namespace {

using Clock = std::chrono::steady_clock;

// Puts recording stand-ins for the browser and the mail program first on PATH; each writes
// its arguments, one per line, to a file named after it, after a pause that a caller who
// waited would notice.
class RecordingPrograms {
public:
    explicit RecordingPrograms(const std::string& folder) : folder(folder) {
        previousPath = getenv("PATH") != nullptr ? getenv("PATH") : "";
        for (const char* name : {"firefox", "thunderbird"}) {
            const std::string script = folder + "/" + name;
            std::ofstream out(script);
            out << "#!/bin/sh\nsleep 1\nfor a in \"$@\"; do echo \"$a\"; done > " << folder
                << "/" << name << ".args\n";
            out.close();
            chmod(script.c_str(), 0755);
        }
        setenv("PATH", (folder + ":" + previousPath).c_str(), 1);
    }
    ~RecordingPrograms() { setenv("PATH", previousPath.c_str(), 1); }
    std::string Arguments(const char* name) const {
        std::ifstream in(folder + "/" + name + ".args");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string folder;
    std::string previousPath;
};

class FormAboutTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        owner = std::make_unique<RecordingForm>();
        owner->SetScreen(screen.get());
        owner->Move(0, 0);
        owner->SetSize(800, 600);
        owner->Show();
        about = std::make_unique<FormAbout>(owner.get());
        about->SetScreen(screen.get());
        about->SetIcon(nullptr, 163, 50);
        about->SetNameText("Brisgola 1.0.0.0");
        about->SetCopyright("Copyright");
        about->SetLicence("Licence text");
        about->SetWebAddress("https://www.brisgola.org");
        about->Show();
        XSync(screen->GetDisplay(), False);
    }
    void TearDown() override {
        about.reset();
        owner.reset();
        DisplayTest::TearDown();
    }
    void ReleaseKey(KeySym key) {
        XEvent event{};
        event.type = KeyRelease;
        event.xkey.window = about->GetWindow();
        event.xkey.display = screen->GetDisplay();
        event.xkey.keycode = XKeysymToKeycode(screen->GetDisplay(), key);
        DispatchEvent(owner.get(), event);
    }

    std::unique_ptr<RecordingForm> owner;
    std::unique_ptr<FormAbout> about;
};

} // namespace

TEST_F(FormAboutTest, DialogIsLaidOutBesideTheLogo) {
    EXPECT_EQ(about->GetSize(), PackPoint(600, 210));
    EXPECT_EQ(about->GetWebLink()->GetPosition(), PackPoint(208, 68));
    EXPECT_EQ(about->GetWebLink()->GetSize(), PackPoint(200, 12));
    EXPECT_EQ(about->GetMailLink()->GetPosition(), PackPoint(418, 68));
    EXPECT_EQ(about->GetLicenceLabel()->GetPosition(), PackPoint(208, 95));
    EXPECT_EQ(about->GetLicenceLabel()->GetSize(), PackPoint(382, 65));
    EXPECT_EQ(about->GetOkButton()->GetPosition(), PackPoint(359, 173));
    EXPECT_EQ(about->GetMailAddress(), "info@brisgola.org");
    EXPECT_FALSE(owner->IsEnabled());
    EXPECT_TRUE(owner->HasMarkA());
    EXPECT_EQ(owner->GetModalChild(), about.get());
    const std::vector<long> type = xtest::ReadLongProperty(observer, about->GetWindow(),
                                                           "_NET_WM_WINDOW_TYPE", XA_ATOM);
    EXPECT_EQ(type.size(), 1u);
}

TEST_F(FormAboutTest, EnterEscapeAndDeleteCloseItLikeOk) {
    for (KeySym key : {XK_Return, XK_Escape, XK_Delete}) {
        if (!about->IsCreated()) {
            owner->SetEnabled(false);
            owner->SetModalChild(about.get());
            about->Show();
        }
        ReleaseKey(key);
        EXPECT_FALSE(about->IsCreated()) << key;
        EXPECT_TRUE(owner->IsEnabled()) << key;
        EXPECT_EQ(owner->GetModalChild(), nullptr) << key;
    }
    EXPECT_TRUE(about->IsClosed());
}

TEST_F(FormAboutTest, OtherKeysLeaveItOpen) {
    ReleaseKey(XK_a);
    EXPECT_TRUE(about->IsCreated());
    EXPECT_FALSE(owner->IsEnabled());
}

TEST_F(FormAboutTest, LinksStartTheBrowserAndTheMailProgramWithoutWaiting) {
    RecordingPrograms programs(workDir.Path());
    const auto start = Clock::now();
    about->OnLink(about->GetWebLink());
    about->OnLink(about->GetMailLink());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(800)) << "the dialog never waits";
    ASSERT_TRUE(xtest::WaitUntil([&] { return !programs.Arguments("thunderbird").empty(); }));
    ASSERT_TRUE(xtest::WaitUntil([&] { return !programs.Arguments("firefox").empty(); }));
    EXPECT_EQ(programs.Arguments("firefox"), "https://www.brisgola.org\n");
    EXPECT_EQ(programs.Arguments("thunderbird"), "-compose\nto=info@brisgola.org\n");
}

TEST_F(FormAboutTest, APressOnTheWebLinkReachesOnLink) {
    RecordingPrograms programs(workDir.Path());
    XEvent press{};
    press.type = ButtonPress;
    press.xbutton.window = about->GetWindow();
    press.xbutton.button = Button1;
    press.xbutton.x = 220;
    press.xbutton.y = 72;
    owner->SetEnabled(true); // the dialog itself is enabled; events go to it
    DispatchEvent(owner.get(), press);
    EXPECT_TRUE(xtest::WaitUntil([&] { return !programs.Arguments("firefox").empty(); }));
}
