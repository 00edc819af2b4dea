// Common controls over the system's classes: combo box, up-down, progress bar, track bar, tab
// control and page control, header, list view and status bar; and the tab set, a strip of tabs
// the framework draws itself. Each publishes by name the properties the skin engine reads.
#pragma once

#include "framework/Controls.h"

#include <memory>
#include <vector>

class TEdit;

// A combo box. Its height given to SetBounds includes the dropped-down list.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
class TComboBox : public TWinControl {
public:
    TComboBox(TComponent* AOwner, TWinControl* AParent, TComboBoxStyle style = csDropDown);
    TComboBoxStyle Style() const { return style_; }
    void AddItem(const std::wstring& text);
    int ItemCount() const;
    // -1: no item chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool DroppedDown() const;
    // A choice from the list or typed text.
    TNotifyEvent OnChange;

    void WndProc(TMessage& m) override;
    // "ItemIndex", "Style".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    TComboBoxStyle style_;
};

// Up-down buttons. Given a TEdit as parent, they sit inside its right edge and step the number
// the edit shows; DockInEdit places them again after the edit's size changed.
enum TUDOrientation { udVertical, udHorizontal };
class TUpDown : public TWinControl {
public:
    TUpDown(TComponent* AOwner, TWinControl* AParent, TUDOrientation orientation = udVertical);
    void SetRange(int min, int max);
    int Position() const;
    void SetPosition(int value);
    void DockInEdit();
    // "Position", "Min", "Max", "Orientation".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};

class TProgressBar : public TWinControl {
public:
    // smooth: a continuous bar rather than blocks.
    TProgressBar(TComponent* AOwner, TWinControl* AParent, bool smooth = false);
    int Min() const;
    int Max() const;
    void SetRange(int min, int max);
    int Position() const;
    void SetPosition(int value);
    // "Position", "Min", "Max", "Smooth".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
class TTrackBar : public TWinControl {
public:
    TTrackBar(TComponent* AOwner, TWinControl* AParent, TTrackBarOrientation orientation = trHorizontal,
              TTickMark ticks = tmBottomRight);
    void SetRange(int min, int max);
    int Position() const;
    void SetPosition(int value);
    // "Position", "Min", "Max", "Orientation".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};

// A tab control; the side of its tabs is fixed at creation.
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
class TTabControl : public TWinControl {
public:
    TTabControl(TComponent* AOwner, TWinControl* AParent, TTabPosition position = tpTop);
    TTabPosition TabPosition() const { return position_; }
    int AddTab(const std::wstring& text);
    int TabCount() const;
    int TabIndex() const;
    void SetTabIndex(int index);
    // The page area inside the tabs, in client coordinates.
    RECT DisplayRect() const;
    // After the selected tab changed by mouse or keyboard.
    TNotifyEvent OnChange;

    void WndProc(TMessage& m) override;
    // "TabIndex", "TabPosition".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

protected:
    virtual void Change();

private:
    TTabPosition position_;
};

// A page of a page control: the controls placed on it are its child windows.
class TTabSheet : public TWinControl {
public:
    TTabSheet(TComponent* AOwner, TWinControl* AParent);
    void WndProc(TMessage& m) override;
};

// A tab control whose tabs show one page each.
class TPageControl : public TTabControl {
public:
    TPageControl(TComponent* AOwner, TWinControl* AParent, TTabPosition position = tpTop);
    // A new page with its tab; the page control owns it.
    TTabSheet* AddPage(const std::wstring& caption);
    int PageCount() const { return int(pages_.size()); }
    TTabSheet* Pages(int i) const { return pages_.at(size_t(i)); }
    int ActivePageIndex() const { return TabIndex(); }
    void SetActivePageIndex(int index);

    void WndProc(TMessage& m) override;

protected:
    void Change() override;

private:
    void LayoutPages();
    std::vector<TTabSheet*> pages_;
};

// A strip of tabs hanging from its top edge, drawn by the framework, with a horizontal scroller
// (its first owned component) shown when the tabs do not all fit.
class TTabSet : public TWinControl {
public:
    TTabSet(TComponent* AOwner, TWinControl* AParent);
    void AddTab(const std::wstring& text);
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int index);
    int StartMargin = 5;
    int EndMargin = 5;
    TUpDown* Scroller() const { return scroller_; }
    // The tab at a point of the control, or -1.
    int TabAt(int x, int y) const;
    TNotifyEvent OnChange;

    void WndProc(TMessage& m) override;
    // "Tabs" (a TStringList of UTF-8 texts), "TabIndex", "FirstIndex", "StartMargin", "EndMargin".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    struct TCell {
        int Index, Left, Right;
    };
    std::vector<TCell> Layout(HDC dc) const;
    void Paint(HDC dc);
    void UpdateScroller();
    TStringList tabs_;
    int tabIndex_ = -1;
    int firstIndex_ = 0;
    TUpDown* scroller_ = nullptr;
};

class THeaderControl : public TWinControl {
public:
    THeaderControl(TComponent* AOwner, TWinControl* AParent);
    void AddSection(const std::wstring& text, int width, TAlignment alignment = taLeftJustify);
    int SectionCount() const;
};

// A list view in report style: columns under a header, rows of texts.
class TListView : public TWinControl {
public:
    TListView(TComponent* AOwner, TWinControl* AParent);
    void AddColumn(const std::wstring& caption, int width);
    // One row: the first text in the first column, the rest in the following ones.
    void AddItem(const std::vector<std::wstring>& texts);
    int ItemCount() const;
    HWND HeaderHandle() const;
};

enum TStatusPanelBevel { pbLowered, pbRaised, pbNone };
enum TBiDiMode { bdLeftToRight, bdRightToLeft };
class TStatusBar;

// A panel of a status bar; after changing panels, the bar's UpdatePanels shows them.
class TStatusPanel : public TObject {
public:
    std::wstring Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
    TBiDiMode BiDiMode = bdLeftToRight;
    // "Text", "Width", "Alignment", "Bevel", "BiDiMode".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};

class TStatusPanels : public TObject {
public:
    int Count() const { return int(items_.size()); }
    TStatusPanel* Items(int i) const { return items_.at(size_t(i)).get(); }
    TStatusPanel* Add();
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    std::vector<std::unique_ptr<TStatusPanel>> items_;
};

// A status bar along the bottom of its parent: panels or, in simple mode, one text.
class TStatusBar : public TWinControl {
public:
    TStatusBar(TComponent* AOwner, TWinControl* AParent, bool sizeGrip = true);
    TStatusPanels Panels;
    // Adds a panel and shows it.
    TStatusPanel* AddPanel(const std::wstring& text, int width, TAlignment alignment = taLeftJustify,
                           TStatusPanelBevel bevel = pbLowered, TBiDiMode bidi = bdLeftToRight);
    // Shows the panels' current texts and widths.
    void UpdatePanels();
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::wstring& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::wstring& text);
    bool SizeGrip() const;
    // Takes its place along the parent's bottom edge again.
    void Realign();
    void SetSizeGrip(bool value);
    // "Panels", "SimplePanel", "SimpleText", "SizeGrip"; "SizeGrip" can be set.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
    bool SetPropValue(const std::string& name, const std::string& value) override;

private:
    bool simplePanel_ = false;
    std::wstring simpleText_;
};
