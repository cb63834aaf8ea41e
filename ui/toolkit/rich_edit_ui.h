#pragma once

#include "ui/toolkit/label_ui.h"

#include <QPlainTextEdit>
#include <QPointer>

// CRichEditUI: a multi-line text field (a real QPlainTextEdit). Notifications: "setfocus",
// "killfocus", "textchanged"; with wantreturn="false", Enter sends "return" instead of a new
// line. Attributes: readonly, wantreturn, maxchar, textcolor, font. Its text is never translated.
//
// Thread: the UI thread only.

namespace ui {

class CRichEditUI : public CLabelUI {
public:
    CRichEditUI();
    ~CRichEditUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    std::string GetText() const override;
    void SetText(const std::string& text) override;
    void SetReadOnly(bool value);
    bool IsReadOnly() const { return readOnly_; }
    void SetLimitText(int count);
    QPlainTextEdit* GetNativeEdit() const { return edit_; }

    void DoInit() override;
    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintText(QPainter& painter) override;

    void OnNativeFocus(bool in);
    // True when the key was Enter and was turned into "return".
    bool OnNativeReturn();

private:
    void CreateNativeEdit();
    void ApplyNativeState();

    QPointer<QPlainTextEdit> edit_;
    bool readOnly_ = false;
    bool wantReturn_ = true;
    int maxChar_ = 30000;
    bool settingText_ = false;
};

}  // namespace ui
