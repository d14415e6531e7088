#pragma once

#include "EntryRecipe.h"

#include "image/DataObject.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

namespace ivra {

// One node of the image tree: a picture or histogram, the window that shows it,
// its name, and the results computed from it (its children, in the order added).
// The entry owns its data object and its children; it refers to its window
// without owning it, and the reference clears itself when the window is destroyed.
class DataEntry {
public:
    // Takes the data object (none for the root), the name, the window (normally
    // none; set later with setWindow()) and the hidden flag (true only for the root).
    DataEntry(std::unique_ptr<DataObject> data, const QString& name, QWidget* window = nullptr,
              bool hidden = false);
    DataEntry(const DataEntry&) = delete;
    DataEntry& operator=(const DataEntry&) = delete;
    // Deletes the children first, then the data object, then the window: no window
    // outlives the entry it shows.
    virtual ~DataEntry();

    virtual bool isHidden() const { return hidden_; }
    virtual QString name() const { return name_; }
    // The data object's type code; 0 for an entry without data (the root).
    virtual int type() const { return data_ ? data_->type() : 0; }

    DataObject* data() const { return data_.get(); }
    // A number no other entry of this run has had: it tells a new entry from one
    // that lived at the same address before.
    std::uint64_t serial() const { return serial_; }

    // How the entry was made: its source picture file and the chain of steps.
    const EntryRecipe& recipe() const { return recipe_; }
    void setRecipe(EntryRecipe recipe) { recipe_ = std::move(recipe); }

    QWidget* window() const { return window_.data(); }
    void setWindow(QWidget* window) { window_ = window; }

    const std::vector<std::unique_ptr<DataEntry>>& children() const { return children_; }
    // Appends a result as the last child; returns the new entry.
    DataEntry* addChild(std::unique_ptr<DataObject> data, const QString& name);
    DataEntry* addChild(std::unique_ptr<DataEntry> child);
    // Detaches a child with its subtree and hands it over; none when it is not a
    // child of this entry. index (when given) receives the position it had.
    std::unique_ptr<DataEntry> takeChild(const DataEntry* child, std::size_t* index = nullptr);
    // Puts a subtree back at a position (past the end: appended); returns it.
    DataEntry* insertChild(std::size_t index, std::unique_ptr<DataEntry> child);
    // True when a child of this entry has the given name.
    bool hasChildNamed(const QString& name) const;
    // Deletes every child subtree (children first, each with its window).
    void clearChildren();

private:
    std::unique_ptr<DataObject> data_;
    QPointer<QWidget> window_;
    QString name_;
    bool hidden_;
    EntryRecipe recipe_;
    std::uint64_t serial_;
    std::vector<std::unique_ptr<DataEntry>> children_;
};

} // namespace ivra
