#include "skin/data/SkinDataCore.h"

void TSkinDataCore::LoadFromIni(const TQuickIni& ini, const TSkinReader* package) {
    TSkinModel::LoadFromIni(ini, package);
    Loading = false;
}

bool TSkinDataCore::LoadSkin(TStream& package) {
    Loading = true;
    TSkinReader reader;
    if (!reader.Loadfromstream(package)) return false;
    TMemoryStream description;
    std::string name;
    reader.readIni(".ini", description, name);
    description.SetPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(&description);
    LoadFromIni(ini, &reader);
    return true;
}

bool TSkinDataCore::LoadSkin() {
    SkinStream.SetPosition(0);
    return LoadSkin(SkinStream);
}

bool TSkinDataCore::LoadStored() {
    bool loaded = LoadSkin();
    if (SkinFormtype == sfMainform && OnUpdateSkin) OnUpdateSkin();
    return loaded;
}

bool TSkinDataCore::LoadFromFile(const std::string& fileName) {
    Loading = true;
    SkinFile = fileName;
    std::string bytes;
    if (!TryReadFileBytes(fileName, bytes)) return false;
    SkinStream.Assign(std::move(bytes));
    return LoadStored();
}

bool TSkinDataCore::LoadFromStream(TStream& stream) {
    Loading = true;
    SkinStream.LoadFromStream(stream);
    return LoadStored();
}

std::string TSkinDataCore::GetFileName(const std::string& name) {
    size_t dot = name.find('.');
    if (dot == std::string::npos) return std::string();
    return name.substr(0, dot);
}
