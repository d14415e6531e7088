#pragma once

#include "OpenFilePreview.h"

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

namespace ivra {

// File > Open: runs the toolkit's file dialog for one existing PNG, PGM or PPM
// file, with a contents preview beside the file list. The first dialog starts
// where "ivra.preference" says, each later one where the last chosen file is.
class OpenFileDialog : public QObject {
    Q_OBJECT

public:
    explicit OpenFileDialog(QObject* parent = nullptr);

    // Runs the dialog; true when the user accepted it.
    bool exec();
    QString fileName() const { return fileName_; }
    QString startLocation() const { return startLocation_; }
    // The preference file's largest picture to open (0: the reader's default).
    std::int64_t maxPixels() const { return maxPixels_; }
    void setStartLocation(const QString& location) { startLocation_ = location; }

    // The dialog and preview of the running call (none between calls).
    QFileDialog* dialog() const { return dialog_; }
    OpenFilePreview* preview() const { return preview_; }

    static QString filter();

public slots:
    void loadImageSlot(const QString& name);
    void previewImageSlot(const QString& name);

private:
    // Puts the dialog at the start location; one naming a file opens its
    // directory with the file chosen.
    void goToStartLocation(QFileDialog& dialog) const;

    QString fileName_;
    QString startLocation_;
    std::int64_t maxPixels_ = 0;
    QPointer<QFileDialog> dialog_;
    QPointer<OpenFilePreview> preview_;
};

} // namespace ivra
