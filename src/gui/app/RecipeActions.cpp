#include "RecipeActions.h"

#include "DataEntry.h"
#include "RecipeBatch.h"

#include "recipe/Recipe.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
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
    QAction* apply = popup->addAction(tr("Apply Recipe to Files..."), this, &RecipeActions::applyToFiles);
    connect(popup, &QMenu::aboutToShow, this, [this, copy, save, apply] {
        const DataEntry* entry = selected_();
        const bool known = entry && !entry->recipe().source.isEmpty();
        for (QAction* action : {copy, save, apply})
            action->setEnabled(known);
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

void RecipeActions::applyToFiles()
{
    const DataEntry* entry = selected_();
    if (!entry || entry->recipe().source.isEmpty())
        return;
    std::vector<recipe::StepCall> calls;
    for (const nlohmann::ordered_json& step : entry->recipe().steps)
        calls.push_back(recipe::readRecipeStep(step));
    const QStringList inputs = QFileDialog::getOpenFileNames(window_, tr("Apply Recipe to Files"), QString(),
                                                             tr("Pictures (*.png *.ppm *.pgm);;All files (*)"));
    if (inputs.isEmpty())
        return;
    const QString folder = QFileDialog::getExistingDirectory(window_, tr("Output Folder"));
    if (folder.isEmpty())
        return;
    bool ok = false;
    const QString format = QInputDialog::getItem(window_, tr("Apply Recipe to Files"), tr("Output format:"),
                                                 {"png", "npy", "ppm", "pgm", "xpm"}, 0, false, &ok);
    if (!ok)
        return;
    RecipeBatch batch(std::move(calls), inputs, folder, format);
    QStringList outputs;
    for (const QString& input : inputs) {
        if (outputs.contains(batch.outputOf(input))) {
            QMessageBox::critical(window_, tr("Apply Recipe to Files"),
                                  tr("Two pictures would both be written to %1.").arg(batch.outputOf(input)));
            return;
        }
        outputs << batch.outputOf(input);
    }
    QMessageBox::information(window_, tr("Apply Recipe to Files"), runRecipeBatch(window_, batch));
}

} // namespace ivra
