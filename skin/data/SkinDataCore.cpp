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
