// The portable half of the skin data component: its skin model, its options, and the building of
// the model from a skin package. The Windows component derives from it and adds persistence in
// form resources, the face brush as a GDI object and the requests to the skin manager.
#pragma once

#include "skin/data/SkinModel.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/Streams.h"

class TSkinDataCore : public TSkinModel, public TSkinOptions {
public:
    // sender: the component, passed to the option events.
    explicit TSkinDataCore(TObject* sender = nullptr) : TSkinOptions(sender) {}

    // Reads the description into the model; the skin is usable from then on (Loading cleared).
    void LoadFromIni(const TQuickIni& ini, const TSkinReader* package) override;
    // Builds the skin from a package in its stored, compressed form (read from position 0). Sets
    // Loading first; a rejected package returns false, leaves the model as it was and Loading set.
    // A package without a description gives the defaults of an empty one.
    bool LoadSkin(TStream& package);
};
