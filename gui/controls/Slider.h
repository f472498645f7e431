#pragma once

#include <cstdint>
#include <vector>

#include "gui/core/Child.h"

class DrawingContext;
class Slider;

// Told of every change of value the user makes, with the new value.
using ValueChangedHook = void (*)(Slider* slider, int value);

// Chooses a whole number between a minimum and a maximum on a horizontal or vertical track
// with one tick per value and a triangular thumb at the value. A press or a drag picks the
// tick under the pointer; the drag goes on outside the control while the button is held,
// because the loop sends pointer motion to a focused slider wherever the pointer is. The
// arrow keys and the space bar step through the values, wrapping round at either end.
//
// The control sizes itself so that every step gets the same whole number of pixels, at least
// kMinimumStep, and room is left for the labels at the ends; the size it takes is known from
// its first paint on.
class Slider : public Child {
  public:
    static constexpr int kMinimumStep = 8;
    // Beyond this many ticks the track would pass the largest coordinate X can draw at. A
    // wider range keeps every value; its ticks then stand for evenly spread values.
    static constexpr int kMaxTicks = 4000;
    // How far past a tick, towards the maximum, a press still picks it.
    static constexpr int kPickSlack = 2;

    // A range given high end first is taken the right way round.
    Slider(GUIElement* parent, bool vertical, int minimum, int maximum);

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void OnClick(int64_t point) override;
    void OnMouseDown(int64_t point) override;
    void OnKeyDown(Key key) override;
    bool OnKeyChar(int character) override;
    void OnMouseMove(int mouseX, int mouseY) override;
    // Makes the slider the focused control, so that the keys go to it.
    void SetFocus() override;
    void Paint() override;
    void OnFocusIn() override;
    void OnFocusOut() override;
    void Create() override;

    virtual void Enable(bool value);

    // A value outside the range is taken as the nearer end. Tells nobody: only the user's
    // changes are announced.
    void SetValue(int newValue);
    int GetValue() const { return value; }
    int GetMinimum() const { return minimum; }
    int GetMaximum() const { return maximum; }
    bool IsVertical() const { return vertical; }
    bool IsDragging() const { return dragging; }
    void SetColor(long newColor);
    void SetShowLabels(bool value);
    void SetOnValueChanged(ValueChangedHook hook) { onValueChanged = hook; }
    // Tells the value-changed hook, then the element's change hook.
    void FireValueChanged();

  private:
    // Where a tick lies, in the form's coordinates.
    struct Tick {
        int x = 0;
        int y = 0;
    };

    // Values above the minimum, which may exceed an int for a range of every int.
    int64_t Range() const { return static_cast<int64_t>(maximum) - minimum; }
    // Steps of the track between its ticks; 0 for a slider that holds one value only.
    int Steps() const;
    // The tick of a value, and the value a tick stands for: one and the same up to kMaxTicks
    // steps, spread evenly beyond.
    int TickOf(int someValue) const;
    int ValueAt(int tick) const;
    void ApplySizeRules();
    // Picks the tick under a point of the form and announces the change; true when the value
    // changed.
    bool PickAt(int pointX, int pointY);
    void Step(bool up);
    void PaintHorizontal(DrawingContext& dc, int left, int top, long foreground, long background);
    void PaintVertical(DrawingContext& dc, int left, int top, long foreground, long background);

    bool showLabels = true;
    int minimum;
    int maximum;
    int value;
    long color = 0;
    bool vertical;
    bool dragging = false;
    std::vector<Tick> ticks;
    ValueChangedHook onValueChanged = nullptr;
};
