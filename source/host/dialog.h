// The host's dialog toolkit: the dialog base class whose hooks the module
// overrides, and message boxes.
#pragma once

#include "container.h"
#include "kernel.h"

namespace host {

// A text the host could not make is not shown: a blank or cut-off box would
// tell the user something false. Answers 0 (neither Yes nor No) then.
inline int32_t messageBox(const String& text, int32_t style) {
    if (text.refused()) return 0;
    return tables().t_C4DOS_Ge->messageBox(text.handle(), style);
}

// The host side of a dialog and the hooks through which the host drives it.
// The host sends every message to message(); the default handling there
// dispatches to the hooks.
class DialogBase {
public:
    DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    // Hooks, in the base's order.
    virtual bool createLayout() { return defaultLayout(); }
    virtual bool initValues() { return defaultValues(); }
    virtual bool command(int32_t id, const HostContainer* msg);
    // true refuses to close the window.
    virtual bool askClose() { return false; }
    // Every message; the default handling dispatches to the hooks above.
    virtual int32_t message(const HostContainer* msg, HostContainer* result);

    // Creates the host side when there is none yet (its creation at
    // construction may have failed); false when the host cannot make it.
    bool createHostSide();

    // Window.
    bool isOpen() const { return dialog_ && fn().isOpen(dialog_); }
    bool open(int32_t kind, int32_t pluginId, int32_t subId, int32_t x, int32_t y, int32_t width, int32_t height,
              int32_t flags) {
        return dialog_ && fn().open(dialog_, kind, pluginId, subId, x, y, width, height, flags);
    }
    bool restore(int32_t pluginId, int32_t subId, void* layoutData) {
        return dialog_ && fn().restore(dialog_, pluginId, subId, layoutData);
    }
    bool close() { return dialog_ && fn().close(dialog_); }
    bool defaultLayout() { return dialog_ && fn().defaultLayout(dialog_); }
    bool defaultValues() { return dialog_ && fn().defaultValues(dialog_); }

    // Layout.
    void setTitle(const String& title) {
        if (dialog_) fn().setTitle(dialog_, title.handle());
    }
    void menuClear() {
        if (dialog_) fn().menuClear(dialog_);
    }
    void menuSubBegin(const String& title) {
        if (dialog_) fn().menuSubBegin(dialog_, title.handle());
    }
    void menuAddCommand(int32_t id, const String& text) {
        if (dialog_) fn().menuAddCommand(dialog_, id, text.handle());
    }
    void menuSubEnd() {
        if (dialog_) fn().menuSubEnd(dialog_);
    }
    void menuFinish() {
        if (dialog_) fn().menuFinish(dialog_);
    }
    bool groupBegin(int32_t id, int32_t flags, int32_t columns, int32_t rows, const String& title, int32_t groupFlags,
                    int32_t width = 0, int32_t height = 0) {
        return dialog_ && fn().groupBegin(dialog_, id, flags, columns, rows, title.handle(), groupFlags, width, height);
    }
    bool groupEnd() { return dialog_ && fn().groupEnd(dialog_); }
    bool groupBorderSpace(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        return dialog_ && fn().groupBorderSpace(dialog_, left, top, right, bottom);
    }
    bool groupBorder(uint32_t style) { return dialog_ && fn().groupBorder(dialog_, style); }
    bool addStaticText(int32_t id, int32_t flags, int32_t width, int32_t height, const String& text, int32_t border) {
        return dialog_ && fn().addStaticText(dialog_, id, flags, width, height, text.handle(), border);
    }
    bool addComboBox(int32_t id, int32_t flags, int32_t width, int32_t height, bool specialAlign = false,
                     bool allowFiltering = false) {
        return dialog_ && fn().addComboBox(dialog_, id, flags, width, height, specialAlign, allowFiltering);
    }
    bool addComboEntry(int32_t comboId, int32_t entryId, const String& text) {
        return dialog_ && fn().addComboEntry(dialog_, comboId, entryId, text.handle());
    }
    bool clearComboEntries(int32_t comboId) { return dialog_ && fn().clearComboEntries(dialog_, comboId); }
    bool addNumberField(int32_t id, int32_t flags, int32_t width, int32_t height) {
        return dialog_ && fn().addNumberField(dialog_, id, flags, width, height);
    }
    bool addCheckBox(int32_t id, int32_t flags, int32_t width, int32_t height, const String& text) {
        return dialog_ && fn().addCheckBox(dialog_, id, flags, width, height, text.handle());
    }
    bool addButton(int32_t id, int32_t flags, int32_t width, int32_t height, const String& text) {
        return dialog_ && fn().addButton(dialog_, id, flags, width, height, text.handle());
    }
    HostGui* addCustomGui(int32_t id, int32_t guiKind, const String& name, int32_t flags, int32_t minWidth,
                          int32_t minHeight, const Container& settings) {
        return dialog_ ? fn().addCustomGui(dialog_, id, guiKind, name.handle(), flags, minWidth, minHeight,
                                           settings.handle())
                       : nullptr;
    }

    // Values. A control that does not exist reads as 0 / false.
    int32_t getInt32(int32_t id) const {
        int32_t value = 0;
        if (dialog_) fn().getInt32(dialog_, id, &value);
        return value;
    }
    double getFloat(int32_t id) const {
        double value = 0.0;
        if (dialog_) fn().getFloat(dialog_, id, &value);
        return value;
    }
    bool getBool(int32_t id) const {
        bool value = false;
        if (dialog_) fn().getBool(dialog_, id, &value);
        return value;
    }
    bool setInt32(int32_t id, int32_t value, int32_t min = INT32_MIN, int32_t max = INT32_MAX, int32_t step = 1,
                  bool tristate = false) {
        return dialog_ && fn().setInt32(dialog_, id, value, min, max, step, tristate);
    }
    bool setFloat(int32_t id, double value, double min, double max, double step, int32_t format, double min2 = 0.0,
                  double max2 = 0.0, bool quadScale = false, bool tristate = false) {
        return dialog_ && fn().setFloat(dialog_, id, value, min, max, step, format, min2, max2, quadScale, tristate);
    }
    bool setBool(int32_t id, bool value, bool tristate = false) {
        return dialog_ && fn().setBool(dialog_, id, value, tristate);
    }
    bool enable(int32_t id, bool enabled) { return dialog_ && fn().enable(dialog_, id, enabled); }

    const HostDialog* handle() const { return dialog_; }

private:
    static const HostDialogTable& fn() { return *tables().t_C4DOS_Gd; }
    HostDialog* dialog_ = nullptr;
};

}  // namespace host
