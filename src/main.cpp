// The workbench: the main window with its image list, its picture windows and
// the operator dialogs. Pictures named on the command line open at start.

#include "app/MainWindow.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // The translation is looked for in the working directory, then beside the
    // executable; a missing translation file leaves the texts untranslated.
    QTranslator translator;
    const QString translation = QStringLiteral("ivra.") + QLocale::system().name();
    if (translator.load(translation, QStringLiteral(".")) ||
        translator.load(translation, QCoreApplication::applicationDirPath()))
        QApplication::installTranslator(&translator);

    int status = 0;
    {
        ivra::MainWindow mainWindow;
        // Without a window manager (a bare X server) maximizing does nothing, so
        // the window first takes the screen's available area itself.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            mainWindow.setGeometry(screen->availableGeometry());
        mainWindow.showMaximized();
        const QStringList arguments = QApplication::arguments();
        for (qsizetype i = 1; i < arguments.size(); ++i)
            mainWindow.openImage(arguments[i]);
        status = QApplication::exec();
    }
    QApplication::removeTranslator(&translator);
    return status;
}
