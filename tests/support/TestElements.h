#pragma once

#include <string>
#include <vector>

#include "app/Application.h"
#include "gui/core/Child.h"
#include "gui/core/Form.h"
#include "gui/core/PackedPoint.h"

// Small concrete elements for tests: they record every handler call in order, so a test can
// compare the exact sequence the event loop produced.
class RecordingControl : public Child {
  public:
    RecordingControl(GUIElement* parentElement, const std::string& kindWord, int left, int top,
                     int w, int h, std::vector<std::string>* journal = nullptr)
        : log(journal) {
        parent = parentElement;
        kind = kindWord;
        x = left;
        y = top;
        width = w;
        height = h;
    }

    void Create() override {
        if (!created) {
            AssignId();
            created = true;
        }
    }
    void Show() override {
        Create();
        visible = true;
    }
    void Hide() override { visible = false; }
    void SetTabStop(bool value) { tabStop = value; }
    void SetLastClickTime(const DateTime& time) { lastClickTime = time; }

    void OnFocusIn() override {
        Note("FocusIn");
        GUIElement::OnFocusIn();
    }
    void OnFocusOut() override {
        Note("FocusOut");
        GUIElement::OnFocusOut();
    }
    void OnMouseDown(int64_t point) override {
        Note("MouseDown " + Point(point));
        GUIElement::OnMouseDown(point);
    }
    void OnClick(int64_t point) override {
        Note("Click " + Point(point));
        GUIElement::OnClick(point);
    }
    void OnDoubleClick(int64_t point) override {
        Note("DoubleClick");
        GUIElement::OnDoubleClick(point);
    }
    void OnKeyDown(Key key) override { Note("KeyDown " + std::to_string(key)); }
    void OnKeyUp(Key key) override { Note("KeyUp " + std::to_string(key)); }
    bool OnKeyChar(int character) override {
        Note("KeyChar " + std::to_string(character));
        return true;
    }
    void OnMouseMove(int mouseX, int mouseY) override {
        Note("MouseMove " + std::to_string(mouseX) + "," + std::to_string(mouseY));
    }

  private:
    static std::string Point(int64_t point) {
        return std::to_string(PointX(point)) + "," + std::to_string(PointY(point));
    }
    void Note(const std::string& what) {
        if (log != nullptr) {
            log->push_back(kind + std::to_string(id) + " " + what);
        }
    }
    std::vector<std::string>* log;
};

// A form that records the handlers the event loop calls on it.
class RecordingForm : public Form {
  public:
    explicit RecordingForm(std::vector<std::string>* journal = nullptr, bool dialog = false)
        : Form(0, dialog), log(journal) {}

    void OnMouseDown(int64_t point) override {
        Note("form MouseDown");
        Form::OnMouseDown(point);
    }
    void OnClick(int64_t point) override {
        Note("form Click");
        Form::OnClick(point);
    }
    void OnOtherButtonDown(int64_t) override { Note("form OtherButtonDown"); }
    void OnOtherButtonUp(int64_t) override { Note("form OtherButtonUp"); }
    void OnKeyDown(Key key) override { Note("form KeyDown " + std::to_string(key)); }
    void OnKeyUp(Key key) override { Note("form KeyUp " + std::to_string(key)); }
    bool OnKeyChar(int character) override {
        Note("form KeyChar " + std::to_string(character));
        return true;
    }
    void OnResize() override {
        Note("form Resize " + std::to_string(width) + "x" + std::to_string(height));
    }
    bool OnClosing() override {
        Note("form Closing");
        return Form::OnClosing();
    }
    void OnClosed() override {
        Note("form Closed");
        Form::OnClosed();
    }
    // Lets registry tests give a form an id without an X window.
    void GiveId() { AssignId(); }

  private:
    void Note(const std::string& what) {
        if (log != nullptr) {
            log->push_back(what);
        }
    }
    std::vector<std::string>* log;
};
