// Components, events and string lists: the object model the rest of the program is written against.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// A published property's value as lookup by name gives it.
struct TPropValue {
    enum TKind { pkNone, pkInteger, pkEnum, pkString, pkObject };
    TKind Kind = pkNone;
    long long Int = 0;         // an integer, or an enumeration's ordinal
    std::string Text;          // a string (UTF-8), or an enumeration's identifier ("True", "taCenter")
    class TObject* Object = nullptr;
};

// Fill a value of each kind and answer true, for GetPropValue's "found" answer. An enumeration
// gets the identifier of its ordinal from names (in ordinal order); booleans are "False", "True".
bool PropInteger(TPropValue& value, long long n);
bool PropBoolean(TPropValue& value, bool b);
bool PropEnum(TPropValue& value, int ordinal, std::initializer_list<const char*> names);
bool PropString(TPropValue& value, const std::string& text);
bool PropString(TPropValue& value, const std::wstring& text);
bool PropObject(TPropValue& value, const class TObject* object);

class TObject {
public:
    virtual ~TObject() = default;
    // Published properties, looked up by name without regard to case: false when the class
    // publishes none of that name. Classes add theirs and pass other names to their base.
    virtual bool GetPropValue(const std::string& name, TPropValue& value) const;
    // Sets a published property from text ("True", a number, an identifier); false when there is
    // no such property or the text is no value of it.
    virtual bool SetPropValue(const std::string& name, const std::string& value);
    // The name of the object's class as written in the source, without namespace ("TButton").
    std::string ClassName() const;
};

// Events are called with the sender first.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TComponentStateFlag : unsigned { Loading = 1, Reading = 2, Writing = 4, Destroying = 8, Designing = 16 };

class TComponentState {
public:
    bool Contains(TComponentStateFlag f) const { return (bits_ & unsigned(f)) != 0; }
    void Include(TComponentStateFlag f) { bits_ |= unsigned(f); }
    void Exclude(TComponentStateFlag f) { bits_ &= ~unsigned(f); }

private:
    unsigned bits_ = 0;
};

// A component is owned by its owner (when it has one) and frees the components it owns, last
// created first. Deleting an owned component directly is allowed: it leaves its owner's list.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int i) const { return components_.at(size_t(i)); }
    TComponent* FindComponent(const std::string& name) const;

    // Called once all stored properties are set (after loading), before the component is used.
    virtual void Loaded();
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
    // The framework classes this class counts as beyond its C++ bases, by name ("TCustomGrid"):
    // a class of the program that stands for one the framework does not have declares it, and is
    // then treated as that class would be.
    virtual std::vector<std::string> DeclaredClasses() const { return {}; }

    std::string Name;
    long long Tag = 0;
    TComponentState ComponentState;

protected:
    // Frees the owned components now; a derived class calls it when they must go before its own parts.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
};

// An ordered list of byte strings.
class TStringList : public TObject {
public:
    int Count() const { return int(items_.size()); }
    const std::string& operator[](int i) const { return items_.at(size_t(i)); }
    std::string& operator[](int i) { return items_.at(size_t(i)); }
    int Add(const std::string& s);
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear() { items_.clear(); }
    int IndexOf(const std::string& s) const;
    // Index of the first line whose text before its first '=' (or, with sep, its own separator)
    // equals name, compared without regard to ASCII case; -1 when there is none.
    int IndexOfName(const std::string& name, char sep = '=') const;
    // Each line followed by CR LF.
    std::string Text() const;
    // Splits at CR LF, LF or CR; a final line end adds no empty line.
    void SetText(const std::string& text);
    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }

private:
    std::vector<std::string> items_;
};
