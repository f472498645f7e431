#include "game/FormMain.h"

#include <optional>
#include <utility>

#include "app/Application.h"
#include "game/BoardLayout.h"
#include "game/FormAbout.h"
#include "game/FormNamePlayer.h"
#include "game/Pictures.h"
#include "game/Product.h"
#include "game/RoundRules.h"
#include "game/SoundPlayer.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/controls/Timer.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageFrame.h"
#include "gui/graphics/MyImage.h"
#include "util/DateTime.h"
#include "util/SoundCommand.h"

FormMain* mainForm = nullptr;
bool firstPaint = true;

namespace {

const uint32_t kClockInterval = 1000;
// Rounds are paced in whole seconds since the last tick that did work: a countdown step
// needs more than one, the pause after a result more than three.
const int64_t kStepSeconds = 1;
const int64_t kPauseSeconds = 3;

// State of the game clock between ticks.
std::optional<DateTime> lastTick;
bool tickBusy = false;
bool resultShown = false;

FormMain* FindOwnerForm(GUIElement* element) {
    for (GUIElement* up = element->GetParent(); up != nullptr; up = up->GetParent()) {
        if (up->GetKind() == "form") {
            return dynamic_cast<FormMain*>(up);
        }
    }
    return mainForm;
}

void RunLoad(GUIElement* element, uint64_t) {
    static_cast<FormMain*>(element)->OnLoad();
}
bool RunAskExit(GUIElement* element) {
    return static_cast<FormMain*>(element)->AskExit();
}
// Typed characters are accepted and mean nothing.
bool AcceptKey(GUIElement*, int) {
    return true;
}
void NothingToDo(GUIElement*) {}

void MouseDownHook(GUIElement* element, uint64_t, int64_t position) {
    if (element->GetKind() == "form") {
        if (auto* form = dynamic_cast<FormMain*>(element)) {
            form->OnFormMouseDown(position);
        }
    } else if (element->IsChild()) {
        if (FormMain* form = FindOwnerForm(element)) {
            form->OnChoice(element);
        }
    }
}

void ButtonCommand(GUIElement* element) {
    FormMain* form =
        element->GetKind() == "form" ? dynamic_cast<FormMain*>(element) : FindOwnerForm(element);
    if (form != nullptr) {
        form->OnButton(element);
    }
}

void TimerTick(Timer* timer) {
    if (FormMain* form = FindOwnerForm(timer)) {
        form->OnTimer();
    }
}

int FrameOf(const ImageFrame& frame) {
    return PointX(frame.GetFrame());
}

// Clears the busy mark on every way out of a tick.
struct BusyGuard {
    BusyGuard() { tickBusy = true; }
    ~BusyGuard() { tickBusy = false; }
};

} // namespace

FormMain::FormMain(Screen* screen, const std::string& title)
    : Form(0, false), sound(std::make_unique<SoundPlayer>()) {
    if (screen != nullptr) {
        SetScreen(screen);
    }
    SetSize(kWindowWidth, kWindowHeight);
    SetTitle(title);
    SetStyleFlag3(false);
    SetStyleFlag2(true);

    SetOnLoad(RunLoad);
    SetOnClosing(RunAskExit);
    SetOnKeyChar(AcceptKey);
    SetOnMouseDown(MouseDownHook);

    SetBackColor(kBoardColor);
    Create();
    if (mainForm == nullptr) {
        mainForm = this;
    }
}

FormMain::~FormMain() {
    timer.reset();
    sound.reset();
    DestroyWindow();
    aboutForm.reset();
    namePlayerForm.reset();
    choiceScissors.reset();
    choiceRock.reset();
    choicePaper.reset();
    resultFrame.reset();
    handPlayer.reset();
    handComputer.reset();
    barBottom.reset();
    barRight.reset();
    barLeft.reset();
    barTop.reset();
    labelStatus.reset();
    labelScore.reset();
    buttonStart.reset();
    buttonExit.reset();
    buttonInfo.reset();
    logo.reset();
    if (mainForm == this) {
        mainForm = nullptr;
    }
}

void FormMain::OnLoad() {
    logo = std::make_unique<MyImage>(this, imgLOGO, wLOGO, hLOGO);
    logo->SetPosition(kLogoArea.x, kLogoArea.y);
    logo->Create();

    auto makeButton = [this](const char* caption, const Area& area, int64_t face,
                             unsigned long captionColor) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        button->SetSize(area.w, area.h);
        button->SetPosition(area.x, area.y);
        button->SetCommand(ButtonCommand);
        button->SetTextColor(static_cast<long>(captionColor));
        button->SetBackColor(face);
        return button;
    };
    buttonInfo = makeButton("Info", kInfoButtonArea, kButtonFaceColor, kButtonTextColor);
    buttonInfo->Create();
    buttonExit = makeButton("Exit", kExitButtonArea, kButtonFaceColor, kButtonTextColor);
    buttonExit->Create();
    buttonStart = makeButton(kStartCaption, kStartButtonArea, kStartFaceColor, kStartCaptionColor);
    buttonStart->SetMarkB(true);
    buttonStart->Create();

    auto makeLabel = [this](const Area& area) {
        auto label = std::make_unique<CellControl>(this);
        label->SetSize(area.w, area.h);
        label->SetPosition(area.x, area.y);
        label->SetBackColor(GetBackColor());
        label->SetTextColor(static_cast<long>(kLineTextColor));
        return label;
    };
    labelScore = makeLabel(kScoreLineArea);
    labelScore->SetAlignment(kAlignLeft);
    labelScore->Create();
    labelStatus = makeLabel(kStatusLineArea);
    labelStatus->Create();

    auto makeBar = [this](const unsigned char* block, const Area& area) {
        auto bar = std::make_unique<MyImage>(this, block, area.w, area.h);
        bar->SetPosition(area.x, area.y);
        bar->Create();
        return bar;
    };
    barTop = makeBar(imgBAR_TOP, kBarTopArea);
    barLeft = makeBar(imgBAR_LEFT, kBarLeftArea);
    barRight = makeBar(imgBAR_RIGHT, kBarRightArea);
    barBottom = makeBar(imgBAR_BOTTOM, kBarBottomArea);

    auto makeFrame = [this](const unsigned char* const* strip, int count, int frame,
                            const Area& area) {
        auto picture = std::make_unique<ImageFrame>(this, strip, count, frame, 0);
        picture->SetSize(area.w, area.h);
        picture->SetPosition(area.x, area.y);
        picture->SetKeyed(false);
        return picture;
    };
    handComputer = makeFrame(handsStrip, kHandsStripFrames, kComputerScissors, kComputerHandArea);
    handComputer->Create();
    handPlayer = makeFrame(handsStrip, kHandsStripFrames, kPlayerRock, kPlayerHandArea);
    handPlayer->Create();
    resultFrame = makeFrame(resultStrip, kResultStripFrames, kTitleFrame, kResultArea);
    resultFrame->Create();

    auto makeChoice = [&](int hand) {
        auto choice = makeFrame(handsStrip, kHandsStripFrames, hand, kChoiceAreas[hand]);
        choice->SetMarkB(true);
        choice->SetOnMouseDown(MouseDownHook);
        choice->Create();
        return choice;
    };
    choicePaper = makeChoice(kPlayerPaper);
    choiceRock = makeChoice(kPlayerRock);
    choiceScissors = makeChoice(kPlayerScissors);

    timer = std::make_unique<Timer>(this, kClockInterval);
    timer->SetOnTick(TimerTick);
}

void FormMain::Paint() {
    if (IsCreated() && firstPaint) {
        firstPaint = false;
        // The board is only set here; the form's paint below draws each picture once.
        const bool suspended = std::exchange(Application::suspendPaint, true);
        ResetBoard();
        Application::suspendPaint = suspended;
    }
    Form::Paint();
}

void FormMain::Update() {
    Form::Update();
}

bool FormMain::AskExit() {
    ShowMsgBoxYesNo(kExitQuestionCode, this, kExitQuestion, "Exit");
    return false;
}

void FormMain::OnMsgBoxResult(int code, int result) {
    if (code != kExitQuestionCode || result != kMsgBoxYes) {
        return;
    }
    if (timer != nullptr) {
        timer->Stop();
    }
    Application::quitRequested = true;
}

void FormMain::OnFormMouseDown(int64_t) {
    // A click on the window behind an open dialog brings the dialog back to the front.
    if (!IsEnabled() && modalChild != nullptr) {
        Beep();
        modalChild->Show();
    }
}

void FormMain::OnButton(GUIElement* button) {
    const uint32_t pressed = button->GetId();
    if (pressed == buttonExit->GetId()) {
        if (AskExit()) {
            Application::quitRequested = true;
        }
    } else if (pressed == buttonStart->GetId()) {
        StartOrCancel();
    } else if (pressed == buttonInfo->GetId()) {
        OpenAbout();
    }
}

void FormMain::StartOrCancel() {
    if (buttonStart->GetText() != kCancelCaption) {
        scorePlayer = 0;
        scoreComputer = 0;
        ClearBoard();
        running = true;
        buttonStart->SetText(kCancelCaption);
        SetFocus();
        timer->Start();
    } else {
        timer->Stop();
        running = false;
        buttonStart->SetText(kStartCaption);
        ResetBoard();
    }
}

void FormMain::OpenAbout() {
    // The old box may be the one whose handler asks for the new one.
    Application::Retire(std::move(aboutForm));
    aboutForm = std::make_unique<FormAbout>(this);
    aboutForm->SetScreen(GetScreen());
    aboutForm->SetIcon(logo->GetImage(), static_cast<unsigned>(wLOGO),
                       static_cast<unsigned>(hLOGO));
    aboutForm->SetNameText(std::string(kProductName) + " " + kProductVersion);
    aboutForm->SetCopyright(kCopyrightNotice);
    aboutForm->SetLicence(kLicenceNotice);
    aboutForm->SetWebAddress(kWebAddress);
    aboutForm->Show();
}

void FormMain::AskPlayerName() {
    Application::Retire(std::move(namePlayerForm));
    namePlayerForm = std::make_unique<FormNamePlayer>(this, GetOwnerHandle(), "Classifica");
    namePlayerForm->SetOnClosed(NothingToDo);
    namePlayerForm->SetPrompt("Enter your name:");
    const int64_t position = GetPosition();
    const int64_t size = GetSize();
    const int64_t dialogSize = namePlayerForm->GetSize();
    namePlayerForm->SetPosition(PointX(position) + (PointX(size) - PointX(dialogSize)) / 2,
                                PointY(position) + (PointY(size) - PointY(dialogSize)) / 2);
    namePlayerForm->Show();
}

void FormMain::UpdateScore() {
    labelScore->SetText("Score: " + std::to_string(scorePlayer) + " - " +
                        std::to_string(scoreComputer));
}

void FormMain::ResetBoard() {
    resultFrame->Show();
    resultFrame->SetFrame(kTitleFrame, 0);
    handComputer->Show();
    handComputer->SetFrame(kComputerScissors, 0);
    handPlayer->Show();
    handPlayer->SetFrame(kPlayerRock, 0);
    choicePaper->Hide();
    choiceRock->Hide();
    choiceScissors->Hide();
}

void FormMain::ClearBoard() {
    UpdateScore();
    resultFrame->SetFrame(kTitleFrame, 0);
    resultFrame->Hide();
    handComputer->Hide();
    handPlayer->Hide();
    choicePaper->Hide();
    choiceRock->Hide();
    choiceScissors->Hide();
    labelStatus->SetText("");
}

void FormMain::GameOver() {
    UpdateScore();
    buttonStart->SetText(kStartCaption);
    running = false;
    labelStatus->SetText(kGameOverStatus);
}

void FormMain::OnTimer() {
    if (tickBusy) {
        return;
    }
    BusyGuard busy;
    if (!running) {
        return;
    }
    const DateTime now = DateTime::Now();
    if (!lastTick) {
        lastTick = now;
    }
    const int64_t threshold = resultShown ? kPauseSeconds : kStepSeconds;
    const int64_t elapsed = DateTime::SecondsBetween(*lastTick, now);
    const bool gameWon = scorePlayer == kWinningScore || scoreComputer == kWinningScore;

    if (elapsed <= threshold) {
        if (!gameWon) {
            return;
        }
        if (resultShown) {
            GameOver();
            resultShown = false;
        }
    } else if (resultShown) {
        if (gameWon) {
            GameOver();
        } else {
            ClearBoard();
        }
        resultShown = false;
    }

    const int frame = FrameOf(*resultFrame);
    if (frame <= kCountdownTwo) {
        resultFrame->SetFrame(frame + 1, 0);
        sound->Play(kBeepSound, false);
        if (frame + 1 == kCountdownThree) {
            resultFrame->Show();
            // The countdown leaves the program idle for seconds: the pictures a click on a
            // choice shows are made ready now, so that the click only has to copy them.
            handComputer->PrepareAllFrames();
            handPlayer->PrepareAllFrames();
            resultFrame->PrepareAllFrames();
        }
    } else if (frame == kCountdownOne) {
        // Still showing the 1: the countdown is over and the player may choose. Once the
        // picture is hidden the round waits for the click.
        if (resultFrame->IsVisible()) {
            resultFrame->Hide();
            choicePaper->Show();
            choiceRock->Show();
            choiceScissors->Show();
            handComputer->SetFrame(ComputerHand(), 0);
        }
    } else {
        resultShown = true;
    }
    lastTick = DateTime::Now();
}

void FormMain::OnChoice(GUIElement* element) {
    auto* choice = dynamic_cast<ImageFrame*>(element);
    if (choice == nullptr) {
        return;
    }
    handComputer->Show();
    const int player = FrameOf(*choice);
    const int computer = FrameOf(*handComputer);
    handPlayer->SetFrame(player, 0);
    handPlayer->Show();

    const RoundOutcome outcome = DecideRound(player, computer);
    if (outcome.decided) {
        resultFrame->SetFrame(outcome.resultFrame, 0);
        if (outcome.scorer == Scorer::kPlayer) {
            ++scorePlayer;
        } else if (outcome.scorer == Scorer::kComputer) {
            ++scoreComputer;
        }
    }
    resultFrame->Show();
    choicePaper->Hide();
    choiceRock->Hide();
    choiceScissors->Hide();
    UpdateScore();
    if (outcome.decided && outcome.sound != nullptr) {
        // The sound starts once the board shows the result: starting the player takes longer
        // than painting, and the picture should answer the click first, not share the
        // processors with it.
        WaitUntilDrawn();
        sound->Play(outcome.sound, false);
    }
}
