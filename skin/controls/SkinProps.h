// Reading a control's published properties by name, so that one skinner serves every control
// class that publishes properties of the names it expects. Each answers the empty value (0, "",
// nullptr) for a null object, an unknown name or a property of another kind.
#pragma once

#include "framework/Classes.h"

#include <string>

long long GetIntProperty(const TObject* object, const std::string& name);
// An enumeration's (or boolean's) identifier as the class names it: "True", "taCenter".
std::string GetEnumProperty(const TObject* object, const std::string& name);
std::string GetStringProp(const TObject* object, const std::string& name);
// The object an object property holds when it is a T.
template <class T> T* GetObjProp(const TObject* object, const std::string& name) {
    TPropValue v;
    if (!object || !object->GetPropValue(name, v) || v.Kind != TPropValue::pkObject) return nullptr;
    return dynamic_cast<T*>(v.Object);
}
