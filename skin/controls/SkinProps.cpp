#include "skin/controls/SkinProps.h"

namespace {
TPropValue Read(const TObject* object, const std::string& name, TPropValue::TKind kind) {
    TPropValue v;
    if (!object || !object->GetPropValue(name, v) || v.Kind != kind) return TPropValue{};
    return v;
}
} // namespace

long long GetIntProperty(const TObject* object, const std::string& name) {
    return Read(object, name, TPropValue::pkInteger).Int;
}

std::string GetEnumProperty(const TObject* object, const std::string& name) {
    return Read(object, name, TPropValue::pkEnum).Text;
}

std::string GetStringProp(const TObject* object, const std::string& name) {
    return Read(object, name, TPropValue::pkString).Text;
}
