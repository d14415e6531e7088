#pragma once

#include "DataEntry.h"
#include "ProgressRunner.h"

#include "image/DataObject.h"
#include "util/RandomGenerator.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QString>

#include <exception>
#include <initializer_list>
#include <memory>
#include <vector>

class QGridLayout;
class QPushButton;
class QTreeWidget;

namespace ivra {

class DataEntry;
class RunCounters;

// The common pattern of every operator dialog: a list of the image-tree entries
// whose type the operator accepts, a parameter area, and the buttons OK, Cancel
// and Info. showDialog() fills the list and runs the dialog modally, then rebuilds
// the main image list; execute() (the subclass's) reads the widgets, runs the core
// call and adds the results as children of the chosen entry; showInfo() opens the
// help window with helpText().
//
// The list has a hidden second column "Nr" holding each item's position in
// entries(): the position counts only the entries this dialog accepts, not the
// numbers of the main image list.
class OperatorDialog : public QDialog {
    Q_OBJECT

public:
    // okText: the OK button's text ("OK" in most dialogs, "Ok" in some).
    OperatorDialog(QWidget* parent, const QString& caption, const QString& okText,
                   std::initializer_list<int> acceptedTypes);

    QTreeWidget* listView() const { return listView_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* infoButton() const { return infoButton_; }
    const std::vector<DataEntry*>& entries() const { return entries_; }
    bool accepts(int typeCode) const;

    // Fills the list from the main window's image tree (pre-order, root included,
    // entries without data skipped).
    void fillList();
    // Selects the list item of an entry; false when the dialog does not list it.
    bool selectEntry(const DataEntry* entry);
    // The entry of the selected list item; none without a selection.
    DataEntry* selectedEntry() const;

    // The "Error !" box shown by OK without a selection.
    static void showNoSelectionError(QWidget* parent);
    // The tree path of an entry as the lists show it: "rocket.ppm / HSV / Red".
    static QString pathOf(const DataEntry* entry);

public slots:
    virtual void showDialog();
    // OK: execute(), timed for the status bar's report; a refusal of the operator
    // (any exception) gets the "Error !" box and the dialog stays open.
    void runExecute();
    virtual void execute() = 0;
    virtual void showInfo();
    virtual void updateView();

    // The dialog's help text (HTML), which Info shows.
    virtual QString helpText() const = 0;

protected:
    // Where the subclass puts its parameter widgets: a grid between the list and the buttons.
    QGridLayout* parameterLayout() const { return parameterLayout_; }

    // The selected entry, or the error box and none. Start every execute() with it.
    DataEntry* sourceOrComplain();
    // Appends a result under its source; returns the new entry.
    DataEntry* addResult(DataEntry& source, std::unique_ptr<DataObject> result, const QString& name);
    // The same, and the result's recipe is its source's with this step (the
    // operator's parameters) added.
    template <class Params>
    DataEntry* addResult(DataEntry& source, std::unique_ptr<DataObject> result, const QString& name,
                         const char* step, const Params& params)
    {
        DataEntry* entry = addResult(source, std::move(result), name);
        entry->setRecipe(source.recipe().then(recordStep(step, params, source.type(), randomStateBefore_)));
        return entry;
    }
    // Runs a core call behind the progress dialog (shown after half a second, with
    // Cancel). Returns the call's result, or nothing when the user cancelled; add
    // nothing and leave the run counter alone in that case. An iterative filter
    // passes its iteration count, which the progress dialog follows.
    template <class F>
    auto runOperator(F&& work, int iterations = 1)
    {
        randomStateBefore_ = RandomGenerator::instance().state();
        return runWithProgress(this, windowTitle(), std::forward<F>(work), iterations);
    }
    // The main window's run counters, for dialogs that number their results.
    RunCounters& runCounters() const;
    // Ends the modal run after a successful execute(); the status bar reports
    // what was added and how long it took.
    void finish();
    // An operator's refusal or failure: its message on standard error and in the
    // "Error !" box; nothing is added and the dialog stays open.
    void reportRefusal(const std::exception& e);

    void showEvent(QShowEvent* event) override;

private:
    void buildList();
    void buildButtons(const QString& okText);
    // The parameter widgets are made after the buttons; the keys should still
    // reach them in the order they are seen: list, parameters, Info, OK, Cancel.
    void putButtonsLastInTabOrder();

    std::vector<int> acceptedTypes_;
    std::uint32_t randomStateBefore_ = RandomGenerator::initialState; // where the last run's noise started
    QStringList added_;
    QElapsedTimer runTimer_;
    std::vector<DataEntry*> entries_;
    QTreeWidget* listView_ = nullptr;
    QGridLayout* parameterLayout_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* infoButton_ = nullptr;
};

} // namespace ivra
