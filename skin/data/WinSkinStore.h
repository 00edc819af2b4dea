// A component holding further skin packages by name, from which skin data can load one.
#pragma once

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "skin/data/Filer.h"
#include "skin/data/Streams.h"

#include <memory>
#include <string>
#include <vector>

// An index outside a collection.
class EListError : public Exception {
public:
    using Exception::Exception;
};

class TSkinCollection;

// One stored package. Its bytes are stored as the binary property "DataStream", raw (no size of
// their own).
class TSkinCollectionItem : public TBinaryPersistent {
public:
    TSkinCollectionItem(TSkinCollection* collection, int id);

    const std::string& Name() const { return name_; }
    // Another item of the collection with the same name (case-sensitive): Exception "The name X
    // is already used.", and the old name stays.
    void SetName(const std::string& name);
    int ID() const { return id_; }
    // A caption for an editor; writing it does nothing.
    std::string SkinData() const { return "Load Skin"; }
    int DataSize() const { return int(data_.Size()); }
    TMemoryStream& Data() { return data_; }
    const TMemoryStream& Data() const { return data_; }
    // The whole file becomes the item's package (EFOpenError when it cannot be read).
    void LoadFromFile(const std::string& fileName) { data_.LoadFromFile(fileName); }
    // Copies the name and the bytes.
    void Assign(const TSkinCollectionItem& other);
    void DefineProperties(TFiler& filer) override;

private:
    TSkinCollection* collection_;
    int id_;
    std::string name_;
    TMemoryStream data_;
};

class TSkinCollection {
public:
    // A new item at the end, named "SkinItem" + its ID.
    TSkinCollectionItem& Add();
    int Count() const { return int(items_.size()); }
    TSkinCollectionItem& Items(int index); // EListError outside 0 .. Count() - 1
    void Clear() { items_.clear(); }
    // Copies every item of other.
    void Assign(const TSkinCollection& other);

private:
    friend class TSkinCollectionItem;
    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
    int nextId_ = 0;
};

class TSkinStore : public TComponent {
public:
    explicit TSkinStore(TComponent* AOwner) : TComponent(AOwner) {}
    TSkinCollection Store;
    // Copies the given collection's items; nothing for a null one.
    void SetStore(const TSkinCollection* value) {
        if (value) Store.Assign(*value);
    }
};
