#include "RecipeActions.h"

#include "DataEntry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>

namespace ivra {

RecipeActions::RecipeActions(QWidget* window, QMenu* popup, std::function<DataEntry*()> selected)
    : QObject(window), window_(window), selected_(std::move(selected))
{
    popup->addSeparator();
    QAction* copy = popup->addAction(tr("Copy Command"), this, &RecipeActions::copyCommand);
    QAction* save = popup->addAction(tr("Save Recipe..."), this, &RecipeActions::saveRecipeAs);
    connect(popup, &QMenu::aboutToShow, this, [this, copy, save] {
        const DataEntry* entry = selected_();
        const bool known = entry && !entry->recipe().source.isEmpty();
        copy->setEnabled(known);
        save->setEnabled(known);
    });
}

QString RecipeActions::command(const DataEntry& entry)
{
    const EntryRecipe& recipe = entry.recipe();
    return commandLine(recipe, QFileInfo(recipe.source).completeBaseName() + QStringLiteral("-result.npy"));
}

bool RecipeActions::saveRecipe(const DataEntry& entry, const QString& path, QString& error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(recipeDocument(entry.recipe()).toUtf8()) >= 0 && file.commit())
        return true;
    error = file.errorString();
    return false;
}

void RecipeActions::copyCommand()
{
    if (const DataEntry* entry = selected_(); entry && !entry->recipe().source.isEmpty())
        QApplication::clipboard()->setText(command(*entry));
}

void RecipeActions::saveRecipeAs()
{
    const DataEntry* entry = selected_();
    if (!entry || entry->recipe().source.isEmpty())
        return;
    const QString path =
        QFileDialog::getSaveFileName(window_, tr("Save Recipe"), QString(), tr("Recipes (*.json);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!saveRecipe(*entry, path, error))
        QMessageBox::critical(window_, tr("Save Recipe"), tr("Could not write %1: %2").arg(path, error));
}

} // namespace ivra
