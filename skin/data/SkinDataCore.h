// The portable half of the skin data component: its skin model, its options, and the building of
// the model from a skin package. The Windows component derives from it and adds persistence in
// form resources, the face brush as a GDI object and the requests to the skin manager.
#pragma once

#include "skin/data/Filer.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/Streams.h"

#include <functional>
#include <string>

class TSkinStore;

class TSkinDataCore : public TSkinModel, public TSkinOptions, public TBinaryPersistent {
public:
    // sender: the component, passed to the option events.
    explicit TSkinDataCore(TObject* sender = nullptr) : TSkinOptions(sender) {}

    // Reads the description into the model; the skin is usable from then on (Loading cleared).
    void LoadFromIni(const TQuickIni& ini, const TSkinReader* package) override;
    // Builds the skin from a package in its stored, compressed form (read from position 0). Sets
    // Loading first; a rejected package returns false, leaves the model as it was and Loading set.
    // A package without a description gives the defaults of an empty one.
    bool LoadSkin(TStream& package);
    // Builds the skin from the package held in SkinStream.
    bool LoadSkin();

    // Replace SkinStream by the package of a file or a stream (from its position to its end) and
    // load it; a main form's skin then asks for a refresh (OnUpdateSkin). A missing file changes
    // nothing but leaves Loading set. Both return whether a skin was loaded.
    bool LoadFromFile(const std::string& fileName);
    bool LoadFromStream(TStream& stream);

    // Loads package `index` of a skin store; an index past the last is ignored (false). A negative
    // index is an error of the store's collection (EListError).
    bool LoadFromCollection(TSkinStore& store, int index);

    // The stored form of SkinStream: N (4 bytes, little-endian, signed), then N bytes of package.
    // N = 0, a negative N or one past the stream's end mean no stored skin: nothing is read or
    // allocated, SkinStream is emptied and Loading stays set. Otherwise the skin is loaded at once
    // (unless `designing`); true when a skin was loaded.
    bool ReadData(TStream& stream, bool designing = false);
    void WriteData(TStream& stream) const;
    // The binary property "SkinStream", always written.
    void DefineProperties(TFiler& filer) override;

    // The part of a name before its first "."; empty when there is none or the name starts with it.
    static std::string GetFileName(const std::string& name);

    TMemoryStream SkinStream; // the stored package, kept so the form can store it again
    std::string SkinFile;     // the package file last loaded by name
    // Asked after a main form's skin was replaced; the Windows component passes it to the manager.
    std::function<void()> OnUpdateSkin;

private:
    bool LoadStored();
};
