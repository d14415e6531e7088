#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace ivra {

class DataEntry;

// The image tree's popup entries about recipes: "Copy Command" puts the ivra-cli
// command line that makes the entry again on the clipboard, "Save Recipe..."
// writes the entry's recipe file, "Apply Recipe to Files..." runs the entry's
// steps on chosen pictures in the background. All are offered for entries whose source
// picture file is known.
class RecipeActions : public QObject {
    Q_OBJECT
public:
    // `selected` gives the entry the popup is about (or none).
    RecipeActions(QWidget* window, QMenu* popup, std::function<DataEntry*()> selected);

    // The command line of the entry's recipe, its result written to a .npy file
    // named after the source picture.
    static QString command(const DataEntry& entry);
    // Writes the entry's recipe file; false (and the reason in `error`) when it cannot.
    static bool saveRecipe(const DataEntry& entry, const QString& path, QString& error);

private:
    void copyCommand();
    void saveRecipeAs();
    void applyToFiles();

    QWidget* window_;
    std::function<DataEntry*()> selected_;
};

} // namespace ivra
