#pragma once

#include <memory>
#include <string>

#include "gui/core/Form.h"

class ButtonCustom;
class CellControl;
class FormAbout;
class FormNamePlayer;
class ImageFrame;
class MyImage;
class SoundPlayer;
class Timer;

// The game's window: the logo, the Info, START and Exit buttons, the score and status lines,
// the dark-red frame with the two hands and the round's picture, and below it the three
// hands the player clicks. Every round runs by itself on a one-second clock (OnTimer); the
// player's pick arrives as OnChoice.
class FormMain : public Form {
  public:
    FormMain(Screen* screen, const std::string& title);
    ~FormMain() override;

    void OnMsgBoxResult(int code, int result) override;
    void Paint() override;
    void Update() override;

    virtual void OnLoad();
    virtual bool AskExit();
    virtual void OnTimer();
    virtual void OnChoice(GUIElement* element);
    virtual void OnFormMouseDown(int64_t position);
    virtual void OnButton(GUIElement* button);
    // Opens the player-name dialog, centred on this window. The game itself never asks.
    virtual void AskPlayerName();

    // The board
    void ResetBoard();
    void ClearBoard();
    void GameOver();
    void UpdateScore();

    // Read-only views for tests and the driver.
    bool IsRunning() const { return running; }
    int GetScorePlayer() const { return scorePlayer; }
    int GetScoreComputer() const { return scoreComputer; }
    ButtonCustom* GetStartButton() const { return buttonStart.get(); }
    ButtonCustom* GetInfoButton() const { return buttonInfo.get(); }
    ButtonCustom* GetExitButton() const { return buttonExit.get(); }
    CellControl* GetScoreLabel() const { return labelScore.get(); }
    CellControl* GetStatusLabel() const { return labelStatus.get(); }
    ImageFrame* GetHandComputer() const { return handComputer.get(); }
    ImageFrame* GetHandPlayer() const { return handPlayer.get(); }
    ImageFrame* GetResultFrame() const { return resultFrame.get(); }
    ImageFrame* GetChoicePaper() const { return choicePaper.get(); }
    ImageFrame* GetChoiceRock() const { return choiceRock.get(); }
    ImageFrame* GetChoiceScissors() const { return choiceScissors.get(); }
    MyImage* GetLogo() const { return logo.get(); }
    FormAbout* GetAboutForm() const { return aboutForm.get(); }
    FormNamePlayer* GetNamePlayerForm() const { return namePlayerForm.get(); }
    Timer* GetTimer() const { return timer.get(); }

  private:
    void StartOrCancel();
    void OpenAbout();

    bool running = false;
    std::unique_ptr<ButtonCustom> buttonInfo;
    std::unique_ptr<ButtonCustom> buttonStart;
    std::unique_ptr<ButtonCustom> buttonExit;
    std::unique_ptr<MyImage> logo;
    int scorePlayer = 0;
    int scoreComputer = 0;
    std::unique_ptr<CellControl> labelScore;
    std::unique_ptr<CellControl> labelStatus;
    std::unique_ptr<MyImage> barTop;
    std::unique_ptr<MyImage> barBottom;
    std::unique_ptr<MyImage> barLeft;
    std::unique_ptr<MyImage> barRight;
    std::unique_ptr<ImageFrame> handComputer;
    std::unique_ptr<ImageFrame> handPlayer;
    std::unique_ptr<ImageFrame> resultFrame;
    std::unique_ptr<ImageFrame> choiceRock;
    std::unique_ptr<ImageFrame> choiceScissors;
    std::unique_ptr<ImageFrame> choicePaper;
    std::unique_ptr<FormAbout> aboutForm;
    std::unique_ptr<FormNamePlayer> namePlayerForm;
    std::unique_ptr<Timer> timer;
    std::unique_ptr<SoundPlayer> sound;
};

// The first game window made; the owner of last resort for controls whose form is unknown.
extern FormMain* mainForm;
// True until the first paint of the created game window lays out the idle board.
extern bool firstPaint;

// The question asked before the game ends, and its code.
inline constexpr int kExitQuestionCode = 1000;
inline constexpr const char* kExitQuestion = "Do you really want to go exit?";
