// The standard controls over the system's window classes: labels (STATIC), edits and memos (EDIT),
// push buttons, check boxes and group boxes (BUTTON).
#pragma once

#include "framework/Controls.h"

// Static text. With AutoSize (the default) the label takes the size of its text, line breaks
// ("\r\n") included.
class TLabel : public TWinControl {
public:
    TLabel(TComponent* AOwner, TWinControl* AParent);
    void SetCaption(const std::wstring& text);
    bool AutoSize = true;
    void AdjustSize();

protected:
    void FontChanged() override;
};

// Single-line edit.
class TEdit : public TWinControl {
public:
    TEdit(TComponent* AOwner, TWinControl* AParent);
    // 0: no limit of the control's own.
    int MaxLength() const;
    void SetMaxLength(int n);
    // Shows this character in place of each typed one (0: plain text).
    void SetPasswordChar(wchar_t c);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    void Clear() { SetText(L""); }
    TNotifyEvent OnChange;

    void WndProc(TMessage& m) override;

protected:
    TEdit(TComponent* AOwner, TWinControl* AParent, DWORD style);
    LRESULT CtlColor(HDC dc) override;
};

// Multi-line edit. Its text separates lines with CR LF, and its length (also for MaxLength)
// counts each line break as two characters. Tab and Escape move on rather than being typed.
class TMemo : public TEdit {
public:
    TMemo(TComponent* AOwner, TWinControl* AParent, bool vertScrollBar = false);
    // Replaces the text with these lines, each followed by a line break but the last.
    void SetLines(const std::vector<std::wstring>& lines);
    std::vector<std::wstring> Lines() const;

    void WndProc(TMessage& m) override;
};

// Push button. A press fires OnClick, then closes a modal parent form with ModalResult (when set).
class TButton : public TWinControl {
public:
    TButton(TComponent* AOwner, TWinControl* AParent);
    int ModalResult = mrNone;
    TNotifyEvent OnClick;
    // Presses the button as a mouse click would.
    virtual void Click();
    // The form's default button: a plain push button shows the default frame.
    bool Default() const { return default_; }
    void SetDefault(bool value);

    void WndProc(TMessage& m) override;
    // "Default", and the control's own.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

protected:
    TButton(TComponent* AOwner, TWinControl* AParent, DWORD style);

private:
    bool default_ = false;
};

// Check box. Setting Checked to a different value fires OnClick, as a click does.
class TCheckBox : public TWinControl {
public:
    TCheckBox(TComponent* AOwner, TWinControl* AParent);
    bool Checked() const;
    void SetChecked(bool value);
    TNotifyEvent OnClick;

    void WndProc(TMessage& m) override;
    // "Checked", and the control's own.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};

// A framed group with a caption; the controls inside are its child windows.
class TGroupBox : public TWinControl {
public:
    TGroupBox(TComponent* AOwner, TWinControl* AParent);
    void WndProc(TMessage& m) override;
};

// ---- Radio buttons

// Radio button. Checking one unchecks the other radio buttons of the same parent; a click checks
// it and fires OnClick, as setting Checked to true does.
class TRadioButton : public TWinControl {
public:
    TRadioButton(TComponent* AOwner, TWinControl* AParent);
    bool Checked() const;
    void SetChecked(bool value);
    TNotifyEvent OnClick;

    void WndProc(TMessage& m) override;
    // "Checked", and the control's own.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};

// ---- List boxes and stand-alone scroll bars

// A list of text lines with one selected (or none); it scrolls when the lines overflow.
class TListBox : public TWinControl {
public:
    TListBox(TComponent* AOwner, TWinControl* AParent);
    void AddItem(const std::wstring& text);
    void Clear();
    int Count() const;
    std::wstring Item(int index) const;
    // -1: nothing selected.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The selection changed by the user.
    TNotifyEvent OnClick;

    void WndProc(TMessage& m) override;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode code, int& position)>;

// A scroll bar control. Position runs from Min to Max, or to Max - PageSize + 1 with a page; arrows
// move it by SmallChange, page clicks by LargeChange, and the thumb anywhere in between.
class TScrollBar : public TWinControl {
public:
    TScrollBar(TComponent* AOwner, TWinControl* AParent, TScrollBarKind kind = sbHorizontal);
    TScrollBarKind Kind() const { return kind_; }
    int Position() const { return position_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int PageSize() const { return page_; }
    void SetPosition(int value);
    // Range and position at once; the position is kept within the range.
    void SetParams(int position, int min, int max);
    void SetPageSize(int value);
    int SmallChange = 1;
    int LargeChange = 1;
    // Every scroll the user makes, before the position changes; the handler may alter it.
    TScrollEvent OnScroll;
    // The position changed.
    TNotifyEvent OnChange;

    void WndProc(TMessage& m) override;
    // "Kind" (sbHorizontal, sbVertical), "Position", "Min", "Max", "PageSize", and the control's own.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    int Clamped(int position) const;
    void Apply();
    TScrollBarKind kind_;
    int min_ = 0, max_ = 100, position_ = 0, page_ = 0;
};
