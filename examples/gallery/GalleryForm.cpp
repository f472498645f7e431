#include "examples/gallery/GalleryForm.h"

#include <cctype>

#include "app/Application.h"
#include "examples/gallery/GalleryLayout.h"
#include "game/FormNamePlayer.h"
#include "game/Pictures.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/CheckBox.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/controls/OptionBox.h"
#include "gui/controls/PanelChildren.h"
#include "gui/controls/ProgressBar.h"
#include "gui/controls/Slider.h"
#include "gui/controls/TextBoxCustom.h"
#include "gui/controls/Timer.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageFrame.h"
#include "gui/graphics/MyImage.h"

using namespace Gallery;

namespace {

const int kQuestionCode = 1;
const uint32_t kHandInterval = 1000;
const long kHeadingColor = 0x203040;

void Place(GUIElement& element, const Area& area) {
    element.SetPosition(area.x, area.y);
    element.SetSize(area.w, area.h);
}

// The gallery is the program's first form: dialogs and timers reach it from there.
GalleryForm* TheGallery() {
    return Application::forms.empty() ? nullptr
                                      : dynamic_cast<GalleryForm*>(Application::forms.front());
}

void RunLoad(GUIElement* element, uint64_t) {
    static_cast<GalleryForm*>(element)->OnLoad();
}

// Closing the window ends the program; nothing needs asking first.
bool QuitOnClose(GUIElement*) {
    Application::quitRequested = true;
    return false;
}

void ButtonCommand(GUIElement* button) {
    if (GalleryForm* gallery = TheGallery()) {
        gallery->OnButton(button);
    }
}

void CheckCommand(GUIElement* element) {
    auto* box = dynamic_cast<CheckBox*>(element);
    GalleryForm* gallery = TheGallery();
    if (box != nullptr && gallery != nullptr) {
        gallery->Tell(box->GetText() + (box->IsChecked() ? " checked" : " unchecked"));
    }
}

void OptionCommand(GUIElement* element) {
    auto* box = dynamic_cast<OptionBox*>(element);
    GalleryForm* gallery = TheGallery();
    if (box != nullptr && gallery != nullptr) {
        const int chosen = box->GetSelected();
        gallery->Tell("Chose " + box->GetOptionCaption(chosen) + " (value \"" +
                      box->GetOptionValue(chosen) + "\")");
    }
}

void SliderMoved(Slider* slider, int value) {
    if (GalleryForm* gallery = TheGallery()) {
        gallery->OnSliderMoved(slider, value);
    }
}

// Told when a text box loses the focus with a text other than the one it had on getting it.
void TextChanged(GUIElement* box) {
    if (GalleryForm* gallery = TheGallery()) {
        gallery->OnTextChanged(box);
    }
}

void NameDialogClosed(GUIElement*) {
    if (GalleryForm* gallery = TheGallery()) {
        gallery->OnNameGiven();
    }
}

void HandTick(Timer*) {
    if (GalleryForm* gallery = TheGallery()) {
        gallery->ShowNextHand();
    }
}

} // namespace

GalleryForm::GalleryForm(Screen* screen) : Form(0, false) {
    SetScreen(screen);
    SetSize(kWindowWidth, kWindowHeight);
    SetTitle(kTitle);
    SetStyleFlag3(false);
    SetOnLoad(RunLoad);
    SetOnClosing(QuitOnClose);
    SetBackColor(kBackground);
    Create();
}

GalleryForm::~GalleryForm() {
    handTimer.reset();
    DestroyWindow();
    nameForm.reset();
}

void GalleryForm::OnLoad() {
    MakeHeadings();
    MakeButtons();
    MakeChoices();
    MakeTextBoxes();
    MakeSliders();
    MakePictures();
    MakeTables();
    // The slider starts with the focus, so the arrow keys move it (and the progress bar) at
    // once and the focused look is on show.
    horizontalSlider->SetFocus();
}

void GalleryForm::MakeHeadings() {
    const std::pair<Area, const char*> headings[] = {
        {kButtonsHeading, "Buttons"},
        {kCheckHeading, "Check boxes"},
        {kOptionHeading, "Option boxes"},
        {kTextHeading, "Text boxes"},
        {kSliderHeading, "Sliders and a progress bar"},
        {kPictureHeading, "Pictures in a panel"},
        {kScoresHeading, "High scores"},
        {kEventsHeading, "What happened last"},
    };
    for (const auto& [area, text] : headings) {
        auto label = std::make_unique<CellControl>(this);
        Place(*label, area);
        label->SetBackColor(kBackground);
        label->SetTextColor(kHeadingColor);
        label->SetAlignment(kAlignLeft);
        label->SetText(text);
        label->Create();
        labels.push_back(std::move(label));
    }
}

void GalleryForm::MakeButtons() {
    auto make = [this](const Area& area, const char* caption) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        Place(*button, area);
        button->SetCommand(ButtonCommand);
        button->Create();
        return button;
    };
    enabledButton = make(kEnabledButtonArea, "Enabled");
    disabledButton = make(kDisabledButtonArea, "Disabled");
    disabledButton->SetButtonEnabled(0);
    pressedButton = make(kPressedButtonArea, "Pressed");
    // Held down from the start, as a button looks while the mouse button is on it; a click
    // lets it go.
    pressedButton->OnMouseDown(
        PackPoint(kPressedButtonArea.CentreX(), kPressedButtonArea.CentreY()));
    messageButton = make(kMessageButtonArea, "Message box");
    scoreButton = make(kScoreButtonArea, "Add a score");
    toggleButton = make(kToggleButtonArea, "Disable");
}

void GalleryForm::MakeChoices() {
    const std::pair<Area, const char*> checks[] = {
        {kUncheckedArea, "Sound"},
        {kCheckedArea, "Music"},
        {kDisabledUncheckedArea, "Hints"},
        {kDisabledCheckedArea, "Saved"},
    };
    for (const auto& [area, caption] : checks) {
        auto box = std::make_unique<CheckBox>(this, caption);
        Place(*box, area);
        box->SetCommand(CheckCommand);
        box->Create();
        checkBoxes.push_back(std::move(box));
    }
    checkBoxes[1]->SetChecked(true);
    checkBoxes[2]->Enable(false);
    checkBoxes[3]->SetChecked(true);
    checkBoxes[3]->Enable(false);

    handOptions = std::make_unique<OptionBox>(this);
    Place(*handOptions, kHandOptionsArea);
    for (const char* caption : kHandCaptions) {
        std::string value = caption;
        value[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
        handOptions->AddOption(caption, value);
    }
    handOptions->SetSelected(1);
    handOptions->SetCommand(OptionCommand);
    handOptions->Create();

    levelOptions = std::make_unique<OptionBox>(this);
    Place(*levelOptions, kLevelOptionsArea);
    for (const char* caption : kLevelCaptions) {
        levelOptions->AddOption(caption, caption);
    }
    levelOptions->SetSelected(kChosenLevel);
    levelOptions->Enable(false);
    levelOptions->Create();
}

void GalleryForm::MakeTextBoxes() {
    const char* const texts[kTextRows] = {"Edit me", "Look only", "secret", "25/12/2026", "Off"};
    for (int row = 0; row < kTextRows; ++row) {
        auto label = std::make_unique<CellControl>(this);
        Place(*label, TextRow(kTextLabelColumn, row));
        label->SetBackColor(kBackground);
        label->SetAlignment(kAlignLeft);
        label->SetText(kTextCaptions[row]);
        label->Create();
        labels.push_back(std::move(label));

        auto box = std::make_unique<TextBoxCustom>(this, texts[row]);
        Place(*box, TextRow(kTextBoxColumn, row));
        box->SetOnChange(TextChanged);
        textBoxes.push_back(std::move(box));
    }
    textBoxes[1]->SetReadOnly(true);
    textBoxes[kPasswordRow]->SetPassword(true);
    textBoxes[3]->SetDateMode(true);
    textBoxes[4]->Enable(false);
    for (auto& box : textBoxes) {
        box->Create();
    }
}

void GalleryForm::MakeSliders() {
    horizontalSlider =
        std::make_unique<Slider>(this, false, kHorizontalMinimum, kHorizontalMaximum);
    Place(*horizontalSlider, kHorizontalSliderArea);
    horizontalSlider->SetValue(kHorizontalStart);
    horizontalSlider->SetOnValueChanged(SliderMoved);
    horizontalSlider->Create();

    progress = std::make_unique<ProgressBar>(this, kHorizontalMinimum, kHorizontalMaximum);
    Place(*progress, kProgressArea);
    progress->SetValue(kHorizontalStart);
    progress->Create();

    disabledSlider = std::make_unique<Slider>(this, false, 0, kDisabledMaximum);
    Place(*disabledSlider, kDisabledSliderArea);
    disabledSlider->SetValue(kDisabledMaximum / 2);
    disabledSlider->Enable(false);
    disabledSlider->Create();

    verticalSlider = std::make_unique<Slider>(this, true, kVerticalMinimum, kVerticalMaximum);
    Place(*verticalSlider, kVerticalSliderArea);
    verticalSlider->SetOnValueChanged(SliderMoved);
    verticalSlider->Create();
}

void GalleryForm::MakePictures() {
    picturePanel = std::make_unique<PanelChildren>(this);
    Place(*picturePanel, kPicturePanelArea);
    picturePanel->SetBorder(true);
    picturePanel->SetBackColor(kBackground);
    picturePanel->Create();

    // The pictures sit in the panel, placed from its corner.
    auto inPanel = [](const Area& area) {
        return Area{area.x - kPicturePanelArea.x, area.y - kPicturePanelArea.y, area.w, area.h};
    };
    logo = std::make_unique<MyImage>(picturePanel.get(), imgLOGO, wLOGO, hLOGO);
    Place(*logo, inPanel(kLogoArea));
    logo->Create();

    hand = std::make_unique<ImageFrame>(picturePanel.get(), handsStrip, kHandsStripFrames, 0, 0);
    Place(*hand, inPanel(kHandArea));
    hand->SetKeyed(true);
    hand->Create();

    handTimer = std::make_unique<Timer>(this, kHandInterval);
    handTimer->SetOnTick(HandTick);
    handTimer->Start();
}

void GalleryForm::MakeTables() {
    scoresLabel = std::make_unique<CellControl>(this);
    Place(*scoresLabel, kScoresArea);
    scoresLabel->SetBorder(true);
    scoresLabel->SetBackColor(kScoresBackground);
    scoresLabel->SetAlignment(kAlignLeft);
    scoresLabel->Create();
    ShowScores();

    eventsLabel = std::make_unique<CellControl>(this);
    Place(*eventsLabel, kEventsArea);
    eventsLabel->SetBorder(true);
    eventsLabel->SetBackColor(kEventsBackground);
    eventsLabel->SetText("Click, drag and type; Tab moves the focus.");
    eventsLabel->Create();
}

void GalleryForm::ShowScores() {
    std::string text;
    for (const std::string& line : scores.LoadScores()) {
        text += line + "\n";
    }
    if (text.empty()) {
        text = "No scores yet: set the slider, then press Add a score.";
    } else {
        text.pop_back();
    }
    scoresLabel->SetText(text);
}

void GalleryForm::Tell(const std::string& what) {
    eventsLabel->SetText(what);
}

void GalleryForm::OnButton(GUIElement* button) {
    const uint32_t id = button->GetId();
    if (id == messageButton->GetId()) {
        ShowMsgBoxYesNo(kQuestionCode, this, "Do you like what you see?", kQuestionTitle);
    } else if (id == scoreButton->GetId()) {
        AskName();
    } else if (id == toggleButton->GetId()) {
        ToggleEnabled();
    } else {
        Tell(button->GetText() + " button clicked");
    }
}

void GalleryForm::OnMsgBoxResult(int code, int result) {
    if (code != kQuestionCode) {
        return;
    }
    const char* answer = result == kMsgBoxYes ? "YES" : result == kMsgBoxNo ? "NO" : "nothing";
    Tell(std::string("The message box was answered ") + answer);
}

void GalleryForm::AskName() {
    Application::Retire(std::move(nameForm));
    nameForm = std::make_unique<FormNamePlayer>(this, GetOwnerHandle(), kNameTitle);
    nameForm->SetOnClosed(NameDialogClosed);
    nameForm->SetPrompt("Your name, for " +
                        std::to_string(horizontalSlider->GetValue() * kScorePerStep) + " points:");
    const int64_t position = GetPosition();
    const int64_t dialogSize = nameForm->GetSize();
    nameForm->SetPosition(PointX(position) + (kWindowWidth - PointX(dialogSize)) / 2,
                          PointY(position) + (kWindowHeight - PointY(dialogSize)) / 2);
    nameForm->Show();
}

void GalleryForm::OnNameGiven() {
    if (playerName.empty()) {
        Tell("The name form was closed without a name");
        return;
    }
    const int points = horizontalSlider->GetValue() * kScorePerStep;
    if (!scores.AddScore(points, playerName)) {
        Tell("The high-score table could not be written");
        return;
    }
    ShowScores();
    Tell(std::to_string(points) + " points added for " + playerName);
}

void GalleryForm::ToggleEnabled() {
    firstGroupEnabled = !firstGroupEnabled;
    enabledButton->SetButtonEnabled(firstGroupEnabled ? 1 : 0);
    checkBoxes[0]->Enable(firstGroupEnabled);
    handOptions->Enable(firstGroupEnabled);
    textBoxes[0]->Enable(firstGroupEnabled);
    horizontalSlider->Enable(firstGroupEnabled);
    verticalSlider->Enable(firstGroupEnabled);
    toggleButton->SetText(firstGroupEnabled ? "Disable" : "Enable");
}

void GalleryForm::OnSliderMoved(Slider* slider, int value) {
    if (slider == horizontalSlider.get()) {
        progress->SetValue(value);
        Tell("The slider and the progress bar show " + std::to_string(value));
    } else {
        Tell("The vertical slider shows " + std::to_string(value));
    }
}

void GalleryForm::OnTextChanged(GUIElement* box) {
    for (size_t row = 0; row < textBoxes.size(); ++row) {
        if (textBoxes[row].get() != box) {
            continue;
        }
        // What a password box hides is not spelt out elsewhere either.
        const std::string caption = kTextCaptions[row];
        Tell(box == textBoxes[kPasswordRow].get()
                 ? caption + " changed"
                 : caption + " now reads \"" + box->GetText() + "\"");
    }
}

void GalleryForm::ShowNextHand() {
    const int next = (PointX(hand->GetFrame()) + 1) % kHandsStripFrames;
    hand->SetFrame(next, 0);
}
