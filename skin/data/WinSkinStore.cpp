#include "skin/data/WinSkinStore.h"

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection* collection, int id)
    : collection_(collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == name_) return;
    for (const auto& other : collection_->items_)
        if (other.get() != this && other->name_ == name) throw Exception("The name " + name + " is already used.");
    name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& other) {
    name_ = other.name_;
    data_.Assign(other.data_.Bytes());
}

void TSkinCollectionItem::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        "DataStream", [this](TStream& s) { data_.LoadFromStream(s); },
        [this](TStream& s) {
            if (data_.Size()) s.WriteBuffer(data_.Memory(), data_.Size());
        },
        true);
}

TSkinCollectionItem& TSkinCollection::Add() {
    items_.push_back(std::make_unique<TSkinCollectionItem>(this, nextId_++));
    return *items_.back();
}

TSkinCollectionItem& TSkinCollection::Items(int index) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return *items_[size_t(index)];
}

void TSkinCollection::Assign(const TSkinCollection& other) {
    if (&other == this) return;
    items_.clear();
    for (const auto& item : other.items_)
        Add().Assign(*item);
}
