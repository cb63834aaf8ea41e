#pragma once

#include "ui/toolkit/label_ui.h"

#include <QLineEdit>
#include <QPointer>

// CEditUI: a one-line text field, a real QLineEdit over the control's rectangle. Notifications:
// "setfocus" and "killfocus", "textchanged" for each edit by the user, "return" on Enter.
// Number-only fields take digits only; with a range (SetMinValue / SetMaxValue, min < max) their
// value is brought into it when the user leaves the field or presses Enter, before the
// notification; an emptied field gets the minimum back. Attributes: numberonly, minvalue,
// maxvalue, maxchar, readonly, password, tipvalue (placeholder), textcolor, font, nativebkcolor.
// SetText from code sends nothing. The text of an edit is user data: it is never translated.
//
// Thread: the UI thread only.

namespace ui {

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    std::string GetText() const override;
    void SetText(const std::string& text) override;
    void SetNumberOnly(bool value);
    bool IsNumberOnly() const { return numberOnly_; }
    void SetMinValue(int value);
    void SetMaxValue(int value);
    int GetMinValue() const { return minValue_; }
    int GetMaxValue() const { return maxValue_; }
    void SetMaxChar(int count);
    int GetMaxChar() const { return maxChar_; }
    void SetReadOnly(bool value);
    bool IsReadOnly() const { return readOnly_; }
    void SetPasswordMode(bool value);
    void SetSel(int start, int end);

    // The native field (null until the control is in a window).
    QLineEdit* GetNativeEdit() const { return edit_; }

    void DoInit() override;
    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void SetFocus() override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintText(QPainter& painter) override;
    void PaintBorder(QPainter& painter) override;

    // Called by the native field.
    void OnNativeFocus(bool in);
    void OnNativeReturn();

private:
    void CreateNativeEdit();
    void ApplyNativeState();
    void ClampToRange();

    QPointer<QLineEdit> edit_;
    QObject* filter_ = nullptr;
    bool numberOnly_ = false;
    int minValue_ = 0;
    int maxValue_ = 0;
    int maxChar_ = 255;
    bool readOnly_ = false;
    bool password_ = false;
    std::string placeholder_;
    std::uint32_t nativeBkColor_ = 0;
};

}  // namespace ui
