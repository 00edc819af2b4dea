#include "framework/Classes.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

bool PropInteger(TPropValue& value, long long n) {
    value.Kind = TPropValue::pkInteger;
    value.Int = n;
    return true;
}

bool PropBoolean(TPropValue& value, bool b) {
    return PropEnum(value, b ? 1 : 0, {"False", "True"});
}

bool PropEnum(TPropValue& value, int ordinal, std::initializer_list<const char*> names) {
    value.Kind = TPropValue::pkEnum;
    value.Int = ordinal;
    int i = 0;
    for (const char* n : names)
        if (i++ == ordinal) value.Text = n;
    return true;
}

bool PropString(TPropValue& value, const std::string& text) {
    value.Kind = TPropValue::pkString;
    value.Text = text;
    return true;
}

bool PropString(TPropValue& value, const std::wstring& text) {
    return PropString(value, WideToUtf8(text));
}

bool PropObject(TPropValue& value, const TObject* object) {
    value.Kind = TPropValue::pkObject;
    value.Object = const_cast<TObject*>(object);
    return true;
}

bool TObject::GetPropValue(const std::string&, TPropValue&) const {
    return false;
}

bool TObject::SetPropValue(const std::string&, const std::string&) {
    return false;
}

std::string TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string s = status == 0 && name ? std::string(name.get()) : std::string(mangled);
    // Without its namespace, as class names are compared.
    const size_t colon = s.rfind("::");
    return colon == std::string::npos ? s : s.substr(colon + 2);
}

bool TComponent::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Name")) return PropString(value, Name);
    if (SameText(name, "Tag")) return PropInteger(value, Tag);
    return TObject::GetPropValue(name, value);
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    ComponentState.Include(TComponentStateFlag::Destroying);
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        delete c;
    }
}

void TComponent::InsertComponent(TComponent* c) {
    c->owner_ = this;
    components_.push_back(c);
}

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    c->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (SameText(c->Name, name)) return c;
    return nullptr;
}

void TComponent::Loaded() {
    ComponentState.Exclude(TComponentStateFlag::Loading);
}

int TStringList::Add(const std::string& s) {
    items_.push_back(s);
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& s) {
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, s);
}

void TStringList::Delete(int index) {
    if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

int TStringList::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[size_t(i)] == s) return i;
    return -1;
}

int TStringList::IndexOfName(const std::string& name, char sep) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& line = items_[size_t(i)];
        size_t p = line.find(sep);
        if (p != std::string::npos && SameText(line.substr(0, p), name)) return i;
    }
    return -1;
}

std::string TStringList::Text() const {
    std::string out;
    for (const std::string& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetText(const std::string& text) {
    items_.clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t e = text.find_first_of("\r\n", i);
        if (e == std::string::npos) {
            items_.push_back(text.substr(i));
            break;
        }
        items_.push_back(text.substr(i, e - i));
        i = e + ((text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1);
    }
}
