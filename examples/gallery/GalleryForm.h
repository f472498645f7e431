#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/HighScoreTable.h"
#include "gui/core/Form.h"

class ButtonCustom;
class CellControl;
class CheckBox;
class FormNamePlayer;
class ImageFrame;
class MyImage;
class OptionBox;
class PanelChildren;
class ProgressBar;
class Slider;
class TextBoxCustom;
class Timer;

// The gallery's one window: the toolkit's controls in their main states, live, so that a
// person can see and try them and a contributor can check a change by eye. Its layout lives
// in GalleryLayout.h. The last thing done with a control is told in a line of its own.
class GalleryForm : public Form {
  public:
    explicit GalleryForm(Screen* screen);
    ~GalleryForm() override;

    void OnMsgBoxResult(int code, int result) override;

    virtual void OnLoad();
    virtual void OnButton(GUIElement* button);

    // What the controls' hooks report.
    void Tell(const std::string& what);
    void OnSliderMoved(Slider* slider, int value);
    void OnTextChanged(GUIElement* box);
    void OnNameGiven();
    void ShowNextHand();

  private:
    void MakeHeadings();
    void MakeButtons();
    void MakeChoices();
    void MakeTextBoxes();
    void MakeSliders();
    void MakePictures();
    void MakeTables();
    void AskName();
    void ToggleEnabled();
    void ShowScores();

    std::vector<std::unique_ptr<CellControl>> labels;
    std::unique_ptr<ButtonCustom> enabledButton;
    std::unique_ptr<ButtonCustom> disabledButton;
    std::unique_ptr<ButtonCustom> pressedButton;
    std::unique_ptr<ButtonCustom> messageButton;
    std::unique_ptr<ButtonCustom> scoreButton;
    std::unique_ptr<ButtonCustom> toggleButton;
    std::vector<std::unique_ptr<CheckBox>> checkBoxes;
    std::unique_ptr<OptionBox> handOptions;
    std::unique_ptr<OptionBox> levelOptions;
    std::vector<std::unique_ptr<TextBoxCustom>> textBoxes;
    std::unique_ptr<Slider> horizontalSlider;
    std::unique_ptr<Slider> disabledSlider;
    std::unique_ptr<Slider> verticalSlider;
    std::unique_ptr<ProgressBar> progress;
    std::unique_ptr<PanelChildren> picturePanel;
    std::unique_ptr<MyImage> logo;
    std::unique_ptr<ImageFrame> hand;
    std::unique_ptr<Timer> handTimer;
    std::unique_ptr<CellControl> scoresLabel;
    std::unique_ptr<CellControl> eventsLabel;
    std::unique_ptr<FormNamePlayer> nameForm;
    HighScoreTable scores{"Gallery"};
    bool firstGroupEnabled = true;
};
