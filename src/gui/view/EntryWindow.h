#pragma once

#include <QMdiSubWindow>
#include <QString>

class QImage;
class QMdiArea;

namespace ivra {

class DataEntry;

// Base class of every window that shows an entry of the image tree. It is the
// workspace's sub-window itself: lay the contents out on body(), never on the
// view (a sub-window manages its own layout). Closing the window hides it unless
// it was made with Qt::WA_DeleteOnClose; the entry's reference to a destroyed
// window clears itself.
class EntryWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    // Adds itself to the workspace (when one is given); the caption is the file
    // name part of the entry's name.
    EntryWindow(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags = {});
    ~EntryWindow() override;

    DataEntry* entry() const { return entry_; }
    QString path() const { return path_; }
    QString fileName() const { return fileName_; }

    // Records a path after checking that the file can be opened for writing.
    // An existing file is opened without truncation, so it keeps its contents;
    // false (nothing changed) when it cannot be opened.
    bool setPathChecked(const QString& path);

    // The picture this window shows, at its natural size, for File > Save as.
    // A null picture when the window has nothing to save.
    virtual QImage picture() const;

    // The file name part of a path: everything after the last directory separator.
    static QString fileNamePart(const QString& path);

protected:
    // The widget that holds the window's contents.
    QWidget* body() const { return body_; }
    // After the window has given itself its size: shrinks it to the visible
    // workspace and moves it so that all of it, title bar and buttons included,
    // can be seen. The workspace places a window when it is added, while it is
    // still small, so a window that then grows can reach past the edge.
    void fitIntoWorkspace();
    // Hides the window whole, as Close File does.
    void closeEvent(QCloseEvent* event) override;

private:
    DataEntry* entry_;
    QWidget* body_;
    QString path_;
    QString fileName_;
};

} // namespace ivra
