#include "PictureSaveDialog.h"

#include "IoError.h"
#include "PictureWriter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QRegularExpression>

#include <exception>

namespace ivra {

namespace {

QString lastFolder;

bool isGray(const QImage& picture)
{
    if (picture.isGrayscale())
        return true;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qRed(line[x]) != qGreen(line[x]) || qGreen(line[x]) != qBlue(line[x]))
                return false;
    }
    return true;
}

bool knownExtension(const QString& name)
{
    try {
        pictureFormatFor(name);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

} // namespace

QString nameForFilter(const QString& name, const QString& filter)
{
    if (knownExtension(name))
        return name;
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    return m.hasMatch() ? name + QLatin1Char('.') + m.captured(1) : name + QStringLiteral(".png");
}

bool savePictureAsked(QWidget* parent, const QImage& picture, const QString& path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("pgm"), Qt::CaseInsensitive) == 0 && !isGray(picture)) {
        QMessageBox ask(QMessageBox::Question, QObject::tr("Save as PGM"),
                        QObject::tr("A PGM file holds gray values only. Save the gray of this colour picture?"),
                        QMessageBox::Yes | QMessageBox::No, parent);
        if (ask.exec() != QMessageBox::Yes)
            return false;
    }
    try {
        writePicture(picture, path);
        return true;
    } catch (const std::exception& e) {
        QMessageBox box(QMessageBox::Critical, QObject::tr("I/O Error !"),
                        QObject::tr("Could not save the current document !"), QMessageBox::Ok, parent);
        box.setInformativeText(QString::fromStdString(e.what()));
        box.exec();
        return false;
    }
}

QString savePictureWithDialog(QWidget* parent, const QImage& picture, const QString& suggestedName)
{
    if (picture.isNull())
        return {};
    QFileDialog dialog(parent, QObject::tr("Save Image..."));
    dialog.setObjectName(QStringLiteral("Save Image..."));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QObject::tr("Portable Network Graphics (*.png)"), QObject::tr("JPEG (*.jpg *.jpeg)"),
                           QObject::tr("Windows Bitmap (*.bmp)"), QObject::tr("TIFF (*.tif *.tiff)"),
                           QObject::tr("Portable Pixmap (*.ppm)"), QObject::tr("Portable Graymap (*.pgm)"),
                           QObject::tr("XPM (*.xpm)")});
    dialog.setDirectory(lastFolder.isEmpty() ? QDir::currentPath() : lastFolder);
    QString name = QFileInfo(suggestedName).fileName().replace(QLatin1Char(':'), QLatin1Char('_'));
    dialog.selectFile(knownExtension(name) ? name : name + QStringLiteral(".png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = nameForFilter(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
    lastFolder = QFileInfo(path).absolutePath();
    return savePictureAsked(parent, picture, path) ? path : QString();
}

} // namespace ivra
