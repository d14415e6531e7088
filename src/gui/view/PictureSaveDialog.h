#pragma once

#include <QString>

class QImage;
class QWidget;

namespace ivra {

// The workbench's one save dialog, behind File > Save as and every window's Save
// Image button: name filters for each format the writer knows, the folder of the
// last save and the suggested name prefilled. A colour picture saved as PGM asks
// first whether it may become gray; a failure shows the "I/O Error !" box with the
// file and the reason. Returns the path written, or empty when nothing was.
QString savePictureWithDialog(QWidget* parent, const QImage& picture, const QString& suggestedName);

// Writes the picture, asking about PGM as above; false after the error box or a No.
bool savePictureAsked(QWidget* parent, const QImage& picture, const QString& path);

// The name with the extension of a name filter ("Portable Graymap (*.pgm)") appended,
// unless it already ends in an extension the writer knows.
QString nameForFilter(const QString& name, const QString& filter);

} // namespace ivra
