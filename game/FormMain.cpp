#include "game/FormMain.h"

#include <optional>

#include "app/Application.h"
#include "game/FormAbout.h"
#include "game/Pictures.h"
#include "game/Product.h"
#include "game/RoundRules.h"
#include "game/SoundPlayer.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/controls/Timer.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageFrame.h"
#include "gui/graphics/MyImage.h"
#include "util/DateTime.h"

FormMain* mainForm = nullptr;
bool firstPaint = true;

namespace {

const int kWindowWidth = 800;
const int kWindowHeight = 600;
const uint32_t kClockInterval = 1000;
const int64_t kButtonFace = 0xfffde5;
const int64_t kStartFace = 0xff0000;
const long kStartCaption = 0xffff00;
const long kLabelText = 0xffffff;
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

void RunLoad(GUIElement* element, uint64_t) { static_cast<FormMain*>(element)->OnLoad(); }
bool RunAskExit(GUIElement* element) { return static_cast<FormMain*>(element)->AskExit(); }
// Typed characters are accepted and mean nothing.
bool AcceptKey(GUIElement*, int) { return true; }

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
    FormMain* form = element->GetKind() == "form" ? dynamic_cast<FormMain*>(element)
                                                  : FindOwnerForm(element);
    if (form != nullptr) {
        form->OnButton(element);
    }
}

void TimerTick(Timer* timer) {
    if (FormMain* form = FindOwnerForm(timer)) {
        form->OnTimer();
    }
}

int FrameOf(const ImageFrame& frame) { return PointX(frame.GetFrame()); }

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

    SetBackColor(0);
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
    const int w = PointX(GetSize());
    const int frameLeft = (w - wBAR_TOP) / 2;
    const int frameHeight = hBAR_TOP + hBAR_LEFT;
    const int frameTop = 150;
    const int boardY = (frameHeight - hHAND0) / 2 + frameTop;
    const int choiceLeft = (w - 340) / 2;
    const int choiceTop = 469;

    logo = std::make_unique<MyImage>(this, imgLOGO, wLOGO, hLOGO);
    logo->SetPosition(28, 22);
    logo->Create();

    auto makeButton = [this](const char* caption, int left) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        button->SetSize(100, 28);
        button->SetPosition(left, 30);
        button->SetCommand(ButtonCommand);
        return button;
    };
    buttonInfo = makeButton("Info", w - 248);
    buttonInfo->SetTextColor(0);
    buttonInfo->SetBackColor(kButtonFace);
    buttonInfo->Create();
    buttonExit = makeButton("Exit", w - 128);
    buttonExit->SetTextColor(0);
    buttonExit->SetBackColor(kButtonFace);
    buttonExit->Create();
    buttonStart = makeButton("START", w - 368);
    buttonStart->SetBackColor(kStartFace);
    buttonStart->SetTextColor(kStartCaption);
    buttonStart->SetMarkB(true);
    buttonStart->Create();

    auto makeLabel = [this](int width, int left, int top) {
        auto label = std::make_unique<CellControl>(this);
        label->SetSize(width, 18);
        label->SetPosition(left, top);
        label->SetBackColor(GetBackColor());
        label->SetTextColor(kLabelText);
        return label;
    };
    labelScore = makeLabel(160, w - 368, 65);
    labelScore->SetAlignment(0);
    labelScore->Create();
    labelStatus = makeLabel(300, 250, 85);
    labelStatus->Create();

    auto makeBar = [this](const unsigned char* block, int width, int height, int left, int top) {
        auto bar = std::make_unique<MyImage>(this, block, width, height);
        bar->SetPosition(left, top);
        bar->Create();
        return bar;
    };
    barTop = makeBar(imgBAR_TOP, wBAR_TOP, hBAR_TOP, frameLeft, frameTop);
    barLeft = makeBar(imgBAR_LEFT, wBAR_LEFT, hBAR_LEFT, frameLeft, frameTop + hBAR_TOP);
    barRight = makeBar(imgBAR_RIGHT, wBAR_RIGHT, hBAR_RIGHT, frameLeft + wBAR_TOP - wBAR_RIGHT,
                       frameTop + hBAR_TOP);
    barBottom = makeBar(imgBAR_BOTTOM, wBAR_BOTTOM, hBAR_BOTTOM, frameLeft,
                        frameTop + frameHeight - hBAR_BOTTOM);

    auto makeFrame = [this](const unsigned char* const* strip, int count, int frame, int width,
                            int height, int left, int top) {
        auto picture = std::make_unique<ImageFrame>(this, strip, count, frame, 0);
        picture->SetSize(width, height);
        picture->SetPosition(left, top);
        picture->SetKeyed(false);
        return picture;
    };
    handComputer = makeFrame(handsStrip, kHandsStripFrames, kComputerScissors, wHAND0, hHAND0,
                             frameLeft + wBAR_LEFT + 112 - wHAND0, boardY);
    handComputer->Create();
    handPlayer = makeFrame(handsStrip, kHandsStripFrames, kPlayerRock, wHAND0, hHAND0,
                           frameLeft + wBAR_TOP - 112 - wBAR_RIGHT - 10, boardY);
    handPlayer->Create();
    resultFrame = makeFrame(resultStrip, kResultStripFrames, kTitleFrame, wRESULT0, hRESULT0,
                            (w - wRESULT0) / 2, boardY);
    resultFrame->Create();

    auto makeChoice = [&](int hand, int left) {
        auto choice = makeFrame(handsStrip, kHandsStripFrames, hand, wHAND0, hHAND0, left,
                                choiceTop);
        choice->SetMarkB(true);
        choice->SetOnMouseDown(MouseDownHook);
        choice->Create();
        return choice;
    };
    choicePaper = makeChoice(kPlayerPaper, choiceLeft);
    choiceRock = makeChoice(kPlayerRock, choiceLeft + 120);
    choiceScissors = makeChoice(kPlayerScissors, choiceLeft + 240);

    timer = std::make_unique<Timer>(this, kClockInterval);
    timer->SetOnTick(TimerTick);
}

void FormMain::Paint() {
    if (IsCreated() && firstPaint) {
        firstPaint = false;
        ResetBoard();
    }
    Form::Paint();
}

void FormMain::Update() { Form::Update(); }

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
    if (buttonStart->GetText() != "CANCEL") {
        scorePlayer = 0;
        scoreComputer = 0;
        ClearBoard();
        running = true;
        buttonStart->SetText("CANCEL");
        SetFocus();
        timer->Start();
    } else {
        timer->Stop();
        running = false;
        buttonStart->SetText("START");
        ResetBoard();
    }
}

void FormMain::OpenAbout() {
    aboutForm.reset();
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
    buttonStart->SetText("START");
    running = false;
    labelStatus->SetText("Game over!");
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
        }
    } else if (frame == kCountdownOne) {
        // Still showing the 1: the countdown is over and the player may choose. Once the
        // picture is hidden the round waits for the click.
        if (resultFrame->IsVisible()) {
            resultFrame->Hide();
            choicePaper->Show();
            choiceRock->Show();
            choiceScissors->Show();
            handComputer->SetFrame(RandomBetween(kComputerScissors, kComputerPaper), 0);
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
    // The sound starts once the board shows the result: forking the player takes longer than
    // painting, and the picture should answer the click first.
    if (outcome.decided && outcome.sound != nullptr) {
        sound->Play(outcome.sound, false);
    }
}
