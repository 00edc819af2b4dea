#include "skin/data/SkinDataCore.h"

#include "skin/data/WinSkinStore.h"

#include <cstdint>

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

bool TSkinDataCore::LoadFromCollection(TSkinStore& store, int index) {
    if (index >= store.Store.Count()) return false;
    TSkinCollectionItem& item = store.Store.Items(index);
    Loading = true;
    SkinStream.Assign(item.Data().Bytes());
    return LoadStored();
}

bool TSkinDataCore::ReadData(TStream& stream, bool designing) {
    std::uint8_t le[4] = {};
    SkinStream.Clear();
    if (stream.Read(le, 4) != 4) return false;
    const std::int32_t n = std::int32_t(std::uint32_t(le[0]) | std::uint32_t(le[1]) << 8 | std::uint32_t(le[2]) << 16 |
                                        std::uint32_t(le[3]) << 24);
    if (n <= 0 || std::int64_t(n) > stream.Size() - stream.Position()) return false;
    std::string bytes(size_t(n), '\0');
    stream.ReadBuffer(bytes.data(), n);
    SkinStream.Assign(std::move(bytes));
    return !designing && LoadSkin();
}

void TSkinDataCore::WriteData(TStream& stream) const {
    const std::uint32_t n = std::uint32_t(SkinStream.Size());
    const std::uint8_t le[4] = {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
    stream.WriteBuffer(le, 4);
    if (n) stream.WriteBuffer(SkinStream.Memory(), n);
}

void TSkinDataCore::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        "SkinStream", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, true);
}
