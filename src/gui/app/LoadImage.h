#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "ImageView.h"
#include <QFileDialog>

namespace ivra {

// File > Open's dialog: one existing PNG, PGM or PPM file, with a contents preview
// beside the file list. The first dialog starts where "ivra.preference" says, each
// later one where the last chosen file is.
class LoadImage : public QObject {
    Q_OBJECT

public:
    explicit LoadImage(QObject* parent = nullptr);

    // Runs the dialog; true when the user accepted it.
    bool exec();
    QString fileName() const { return fileName_; }
    QString startLocation() const { return startLocation_; }
    void setStartLocation(const QString& location) { startLocation_ = location; }

    // The dialog and preview of the running call (none between calls).
    QFileDialog* dialog() const { return dialog_; }
    ImageView* preview() const { return preview_; }

    static QString filter();

public slots:
    void loadImageSlot(const QString& name);
    void previewImageSlot(const QString& name);

private:
    QString fileName_;
    QString startLocation_;
    QPointer<QFileDialog> dialog_;
    QPointer<ImageView> preview_;
};

} // namespace ivra
