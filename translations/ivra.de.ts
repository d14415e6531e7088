<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>Operators</name>
    <message>
        <source>Split</source>
        <translation>Aufteilen</translation>
    </message>
    <message>
        <source>Splits an Image to its channels</source>
        <translation>Teilt ein Bild in seine Kanäle auf</translation>
    </message>
    <message>
        <source>Color &amp;Transform</source>
        <translation>Farb&amp;transformation</translation>
    </message>
    <message>
        <source>Transforms the colorspace of image in an other</source>
        <translation>Überführt den Farbraum eines Bildes in einen anderen</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histogramm</translation>
    </message>
    <message>
        <source>Calculates a 1-channel histogram of a gray image</source>
        <translation>Berechnet ein einkanaliges Histogramm eines Grauwertbildes</translation>
    </message>
    <message>
        <source>Color &amp;Histogram</source>
        <translation>Farb&amp;histogramm</translation>
    </message>
    <message>
        <source>Computes a color histogram</source>
        <translation>Berechnet ein Farbhistogramm</translation>
    </message>
    <message>
        <source>Segmentation</source>
        <translation>Segmentierung</translation>
    </message>
    <message>
        <source>Region Growing</source>
        <translation>Regionenwachstum</translation>
    </message>
    <message>
        <source>Color Structure Code</source>
        <translation>Farbstrukturcode</translation>
    </message>
    <message>
        <source>Split-And-Merge</source>
        <translation>Teilen und Verschmelzen</translation>
    </message>
    <message>
        <source>Recursive Histogram Splitting</source>
        <translation>Rekursive Histogrammteilung</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filterung</translation>
    </message>
    <message>
        <source>SNN</source>
        <translation>SNN</translation>
    </message>
    <message>
        <source>Symmetric-Nearest-Neighbor-Filter</source>
        <translation>Symmetrischer Nächster-Nachbar-Filter</translation>
    </message>
    <message>
        <source>Kuwahara-Nagao</source>
        <translation>Kuwahara-Nagao</translation>
    </message>
    <message>
        <source>Kuwahara-Nagao-Filer</source>
        <translation>Kuwahara-Nagao-Filter</translation>
    </message>
    <message>
        <source>Noise</source>
        <translation>Rauschen</translation>
    </message>
    <message>
        <source>Gauss</source>
        <translation>Gauß</translation>
    </message>
    <message>
        <source>Gauss-Noise</source>
        <translation>Gauß-Rauschen</translation>
    </message>
    <message>
        <source>Salt-and-Pepper</source>
        <translation>Salz und Pfeffer</translation>
    </message>
    <message>
        <source>Salt-and-Pepper-Noise</source>
        <translation>Salz-und-Pfeffer-Rauschen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>1 region</source>
        <translation>1 Region</translation>
    </message>
    <message>
        <source>%1 regions</source>
        <translation>%1 Regionen</translation>
    </message>
    <message>
        <source>histogram</source>
        <translation>Histogramm</translation>
    </message>
    <message>
        <source>%1, %2 ms</source>
        <translation>%1, %2 ms</translation>
    </message>
    <message>
        <source>Save as PGM</source>
        <translation>Als PGM speichern</translation>
    </message>
    <message>
        <source>A PGM file holds gray values only. Save the gray of this colour picture?</source>
        <translation>Eine PGM-Datei enthält nur Grauwerte. Die Grauwerte dieses Farbbildes speichern?</translation>
    </message>
    <message>
        <source>I/O Error !</source>
        <translation>E/A-Fehler !</translation>
    </message>
    <message>
        <source>Could not save the current document !</source>
        <translation>Das aktuelle Dokument konnte nicht gespeichert werden !</translation>
    </message>
    <message>
        <source>Save Image...</source>
        <translation>Bild speichern...</translation>
    </message>
    <message>
        <source>Portable Network Graphics (*.png)</source>
        <translation>Portable Network Graphics (*.png)</translation>
    </message>
    <message>
        <source>JPEG (*.jpg *.jpeg)</source>
        <translation>JPEG (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Windows Bitmap (*.bmp)</source>
        <translation>Windows-Bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>TIFF (*.tif *.tiff)</source>
        <translation>TIFF (*.tif *.tiff)</translation>
    </message>
    <message>
        <source>Portable Pixmap (*.ppm)</source>
        <translation>Portable Pixmap (*.ppm)</translation>
    </message>
    <message>
        <source>Portable Graymap (*.pgm)</source>
        <translation>Portable Graymap (*.pgm)</translation>
    </message>
    <message>
        <source>XPM (*.xpm)</source>
        <translation>XPM (*.xpm)</translation>
    </message>
    <message>
        <source>Bin %1: count %2</source>
        <translation>Klasse %1: Anzahl %2</translation>
    </message>
</context>
<context>
    <name>ivra::ColorHistogramDialog</name>
    <message>
        <source>Color Histogram</source>
        <translation>Farbhistogramm</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>RGB Histogram</source>
        <translation>RGB-Histogramm</translation>
    </message>
    <message>
        <source>HSV Histogram</source>
        <translation>HSV-Histogramm</translation>
    </message>
    <message>
        <source>Dynamic</source>
        <translation>Dynamisch</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>Statisch</translation>
    </message>
    <message>
        <source>Static Fuzzy</source>
        <translation>Statisch unscharf</translation>
    </message>
    <message>
        <source>3-Channel</source>
        <translation>3-Kanal</translation>
    </message>
</context>
<context>
    <name>ivra::ColorTransformDialog</name>
    <message>
        <source>Color Transform</source>
        <translation>Farbtransformation</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Transform</source>
        <translation>Transformation</translation>
    </message>
    <message>
        <source>RGB -&gt; HSV</source>
        <translation>RGB -&gt; HSV</translation>
    </message>
    <message>
        <source>HSV -&gt; RGB</source>
        <translation>HSV -&gt; RGB</translation>
    </message>
    <message>
        <source>Gray -&gt; RGB</source>
        <translation>Grau -&gt; RGB</translation>
    </message>
</context>
<context>
    <name>ivra::CscDialog</name>
    <message>
        <source>CSC</source>
        <translation>CSC</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Similarity Function</source>
        <translation>Ähnlichkeitsfunktion</translation>
    </message>
    <message>
        <source>RGB (Euclidian Distance)  </source>
        <translation>RGB (Euklidischer Abstand)  </translation>
    </message>
    <message>
        <source>HSV (Tabular Based)</source>
        <translation>HSV (tabellenbasiert)</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Schwellwert</translation>
    </message>
    <message>
        <source>Error !</source>
        <translation>Fehler !</translation>
    </message>
    <message>
        <source>%1
The segmentation is incomplete: the code element store is full. The result is black and no pixel belongs to a region.</source>
        <translation>%1
Die Segmentierung ist unvollständig: der Speicher für Codeelemente ist voll. Das Ergebnis ist schwarz und kein Pixel gehört zu einer Region.</translation>
    </message>
</context>
<context>
    <name>ivra::GaussDialog</name>
    <message>
        <source>Gauss-Noise</source>
        <translation>Gauß-Rauschen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>mean (µ)</source>
        <translation>Mittelwert (µ)</translation>
    </message>
    <message>
        <source>variance (sigma^2)</source>
        <translation>Varianz (sigma^2)</translation>
    </message>
</context>
<context>
    <name>ivra::HelpDialog</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ivra::HistogramDialog</name>
    <message>
        <source>  16 Levels</source>
        <translation>  16 Stufen</translation>
    </message>
    <message>
        <source>  32 Levels</source>
        <translation>  32 Stufen</translation>
    </message>
    <message>
        <source>  64 Levels</source>
        <translation>  64 Stufen</translation>
    </message>
    <message>
        <source>128 Levels</source>
        <translation>128 Stufen</translation>
    </message>
    <message>
        <source>256 Levels</source>
        <translation>256 Stufen</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histogramm</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Levels</source>
        <translation>Stufen</translation>
    </message>
</context>
<context>
    <name>ivra::KuwaharaNagaoDialog</name>
    <message>
        <source>Kuwahara-Nagao-Filter</source>
        <translation>Kuwahara-Nagao-Filter</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>Iteration</translation>
    </message>
    <message>
        <source>Colorspace</source>
        <translation>Farbraum</translation>
    </message>
    <message>
        <source>RGB</source>
        <translation>RGB</translation>
    </message>
    <message>
        <source>HSV</source>
        <translation>HSV</translation>
    </message>
</context>
<context>
    <name>ivra::MainWindow</name>
    <message>
        <source>Ivra </source>
        <translation>Ivra </translation>
    </message>
    <message>
        <source>Welcome to Ivra !!!</source>
        <translation>Willkommen bei Ivra !!!</translation>
    </message>
    <message>
        <source>Toggle toolbar...</source>
        <translation>Werkzeugleiste umschalten...</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <source>Toggle statusbar...</source>
        <translation>Statusleiste umschalten...</translation>
    </message>
    <message>
        <source>Toggle image list...</source>
        <translation>Bilderliste umschalten...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Ivra
Version %1 (Qt %2)
(c) the Ivra developers: a workbench for colour image segmentation</source>
        <translation>Ivra
Version %1 (Qt %2)
(c) die Ivra-Entwickler: eine Werkbank für die Farbbildsegmentierung</translation>
    </message>
    <message>
        <source>Cascade</source>
        <translation>Überlappend</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Cascades all windows</source>
        <translation>Ordnet alle Fenster überlappend an</translation>
    </message>
    <message>
        <source>Cascade

Cascades all windows</source>
        <translation>Überlappend

Ordnet alle Fenster überlappend an</translation>
    </message>
    <message>
        <source>Tile</source>
        <translation>Nebeneinander</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>Tiles all windows</source>
        <translation>Ordnet alle Fenster nebeneinander an</translation>
    </message>
    <message>
        <source>Tile

Tiles all windows</source>
        <translation>Nebeneinander

Ordnet alle Fenster nebeneinander an</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>About the application</source>
        <translation>Über das Programm</translation>
    </message>
    <message>
        <source>About

About the application</source>
        <translation>Über

Über das Programm</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Opens an existing document</source>
        <translation>Öffnet ein vorhandenes Dokument</translation>
    </message>
    <message>
        <source>Open File

Opens an existing document</source>
        <translation>Datei öffnen

Öffnet ein vorhandenes Dokument</translation>
    </message>
    <message>
        <source>Save File As</source>
        <translation>Datei speichern unter</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Speichern unter...</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Saves the actual document under a filename</source>
        <translation>Speichert das aktuelle Dokument unter einem Dateinamen</translation>
    </message>
    <message>
        <source>Save As

Saves the actual document under a filename</source>
        <translation>Speichern unter

Speichert das aktuelle Dokument unter einem Dateinamen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles leeren</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Closes all documents</source>
        <translation>Schließt alle Dokumente</translation>
    </message>
    <message>
        <source>Close File</source>
        <translation>Datei schließen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Ctrl+W</source>
        <translation>Ctrl+W</translation>
    </message>
    <message>
        <source>Closes the actual document</source>
        <translation>Schließt das aktuelle Dokument</translation>
    </message>
    <message>
        <source>Close File

Closes the actual document</source>
        <translation>Datei schließen

Schließt das aktuelle Dokument</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quits the application</source>
        <translation>Beendet das Programm</translation>
    </message>
    <message>
        <source>Exit

Quits the application</source>
        <translation>Beenden

Beendet das Programm</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Tool&amp;bar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>Enables/disables the toolbar</source>
        <translation>Blendet die Werkzeugleiste ein/aus</translation>
    </message>
    <message>
        <source>Toolbar

Enables/disables the toolbar</source>
        <translation>Werkzeugleiste

Blendet die Werkzeugleiste ein/aus</translation>
    </message>
    <message>
        <source>Statusbar</source>
        <translation>Statusleiste</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>Enables/disables the statusbar</source>
        <translation>Blendet die Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>Statusbar

Enables/disables the statusbar</source>
        <translation>Statusleiste

Blendet die Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>ListView</source>
        <translation>Listenansicht</translation>
    </message>
    <message>
        <source>&amp;Image List</source>
        <translation>&amp;Bilderliste</translation>
    </message>
    <message>
        <source>Enables/disables the image list</source>
        <translation>Blendet die Bilderliste ein/aus</translation>
    </message>
    <message>
        <source>Image List

Enables/disables the image list</source>
        <translation>Bilderliste

Blendet die Bilderliste ein/aus</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Operator</source>
        <translation>&amp;Operatoren</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>What's &amp;This</source>
        <translation>&amp;Direkthilfe</translation>
    </message>
    <message>
        <source>file operations</source>
        <translation>Dateioperationen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Brings back what the last Clear All or Delete removed</source>
        <translation>Holt zurück, was das letzte Alles leeren oder Löschen entfernt hat</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Removes the selected entry, its results and their windows</source>
        <translation>Entfernt den gewählten Eintrag, seine Ergebnisse und deren Fenster</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Clear all %1 pictures and their results?</source>
        <translation>Alle %1 Bilder und ihre Ergebnisse entfernen?</translation>
    </message>
    <message>
        <source>Closes all documents...</source>
        <translation>Schließt alle Dokumente...</translation>
    </message>
    <message>
        <source>Deleted %1; Edit &gt; Undo brings it back</source>
        <translation>%1 gelöscht; Bearbeiten &gt; Rückgängig holt es zurück</translation>
    </message>
    <message>
        <source>Exiting application...</source>
        <translation>Programm wird beendet...</translation>
    </message>
    <message>
        <source>Exit and lose all %1 pictures and their results?</source>
        <translation>Beenden und alle %1 Bilder und ihre Ergebnisse verlieren?</translation>
    </message>
    <message>
        <source>Opening file...</source>
        <translation>Datei wird geöffnet...</translation>
    </message>
    <message>
        <source>%1: not a picture file name (.png, .jpg, .bmp, .tif, .ppm, .pgm or .xpm)</source>
        <translation>%1: kein Bilddateiname (.png, .jpg, .bmp, .tif, .ppm, .pgm oder .xpm)</translation>
    </message>
    <message>
        <source>%1: not enough memory to load the picture</source>
        <translation>%1: nicht genug Speicher, um das Bild zu laden</translation>
    </message>
    <message>
        <source>%1: the picture could not be read</source>
        <translation>%1: das Bild konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>I/O Error !</source>
        <translation>E/A-Fehler !</translation>
    </message>
    <message>
        <source>Could not open the document !</source>
        <translation>Das Dokument konnte nicht geöffnet werden !</translation>
    </message>
    <message>
        <source>Could not save the current document !</source>
        <translation>Das aktuelle Dokument konnte nicht gespeichert werden !</translation>
    </message>
    <message>
        <source>%1: the window has no picture</source>
        <translation>%1: das Fenster hat kein Bild</translation>
    </message>
    <message>
        <source>Saving file under filename...</source>
        <translation>Datei wird unter Dateinamen gespeichert...</translation>
    </message>
    <message>
        <source>Closing file...</source>
        <translation>Datei wird geschlossen...</translation>
    </message>
    <message>
        <source>Image List</source>
        <translation>Bilderliste</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Show Image</source>
        <translation>Bild zeigen</translation>
    </message>
    <message>
        <source>Hide Image</source>
        <translation>Bild verbergen</translation>
    </message>
</context>
<context>
    <name>ivra::OpenFileDialog</name>
    <message>
        <source>All Images (*.png *.pgm *.ppm *.jpg *.jpeg *.bmp *.tif *.tiff *.xpm)</source>
        <translation>Alle Bilder (*.png *.pgm *.ppm *.jpg *.jpeg *.bmp *.tif *.tiff *.xpm)</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
</context>
<context>
    <name>ivra::OpenFilePreview</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>ivra::OperatorDialog</name>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Nr</source>
        <translation>Nr</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Error !</source>
        <translation>Fehler !</translation>
    </message>
    <message>
        <source>Please select an Image for the Operator !</source>
        <translation>Bitte wählen Sie ein Bild für den Operator !</translation>
    </message>
</context>
<context>
    <name>ivra::RecursiveHistogramSplittingDialog</name>
    <message>
        <source>Recursive Histogram Splitting (RHS)</source>
        <translation>Rekursive Histogrammteilung (RHS)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Threshold (GT-Clustering) [Default=3]:</source>
        <translation>Schwellwert (GT-Clustering) [Standard=3]:</translation>
    </message>
    <message>
        <source>Threshold (Min.Region) [Default=300]:</source>
        <translation>Schwellwert (Min. Region) [Standard=300]:</translation>
    </message>
    <message>
        <source>Threshold (Min.Peak) [Default=200]:</source>
        <translation>Schwellwert (Min. Gipfel) [Standard=200]:</translation>
    </message>
</context>
<context>
    <name>ivra::RegionGrowingDialog</name>
    <message>
        <source>Region Growing</source>
        <translation>Regionenwachstum</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Span</source>
        <translation>Spanne</translation>
    </message>
</context>
<context>
    <name>ivra::SaltAndPepperDialog</name>
    <message>
        <source>Salt-and-Pepper-Noise</source>
        <translation>Salz-und-Pfeffer-Rauschen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Mode of Noise</source>
        <translation>Art des Rauschens</translation>
    </message>
    <message>
        <source>Salt</source>
        <translation>Salz</translation>
    </message>
    <message>
        <source>Pepper</source>
        <translation>Pfeffer</translation>
    </message>
    <message>
        <source>Salt and Pepper</source>
        <translation>Salz und Pfeffer</translation>
    </message>
    <message>
        <source>Noise Level</source>
        <translation>Rauschstärke</translation>
    </message>
    <message>
        <source>0%</source>
        <translation>0%</translation>
    </message>
    <message>
        <source>50%</source>
        <translation>50%</translation>
    </message>
</context>
<context>
    <name>ivra::SegmentationViewer</name>
    <message>
        <source>Original Image</source>
        <translation>Originalbild</translation>
    </message>
    <message>
        <source>Regions</source>
        <translation>Regionen</translation>
    </message>
    <message>
        <source>Choose background color</source>
        <translation>Hintergrundfarbe wählen</translation>
    </message>
    <message>
        <source>&amp;Black Background</source>
        <translation>&amp;Schwarzer Hintergrund</translation>
    </message>
    <message>
        <source>&amp;White Background</source>
        <translation>&amp;Weißer Hintergrund</translation>
    </message>
    <message>
        <source>Region Color</source>
        <translation>Regionenfarbe</translation>
    </message>
    <message>
        <source>&amp;Display all selected regions in their mean color</source>
        <translation>Alle gewählten Regionen in ihrer &amp;Mittelwertfarbe zeigen</translation>
    </message>
    <message>
        <source>&amp;Display the (original) pixels of all selected region</source>
        <translation>Die (originalen) &amp;Pixel aller gewählten Regionen zeigen</translation>
    </message>
    <message>
        <source>Display all regions</source>
        <translation>Alle Regionen zeigen</translation>
    </message>
    <message>
        <source>Hide all regions</source>
        <translation>Alle Regionen verbergen</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
</context>
<context>
    <name>ivra::SnnDialog</name>
    <message>
        <source>SNN</source>
        <translation>SNN</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Iteration:</source>
        <translation>Iteration:</translation>
    </message>
</context>
<context>
    <name>ivra::SplitAndMergeDialog</name>
    <message>
        <source>Split-And-Merge</source>
        <translation>Teilen und Verschmelzen</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Threshold (Split) [Default=10]:</source>
        <translation>Schwellwert (Teilen) [Standard=10]:</translation>
    </message>
    <message>
        <source>Threshold (Merge) [Default=10]:</source>
        <translation>Schwellwert (Verschmelzen) [Standard=10]:</translation>
    </message>
    <message>
        <source>Threshold (Grouping) [Default=20]:</source>
        <translation>Schwellwert (Gruppieren) [Standard=20]:</translation>
    </message>
</context>
<context>
    <name>ivra::SplitDialog</name>
    <message>
        <source>Split</source>
        <translation>Aufteilen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open View</source>
        <translation>Ansicht öffnen</translation>
    </message>
    <message>
        <source>Red-Channel</source>
        <translation>Rot-Kanal</translation>
    </message>
    <message>
        <source>Green-Channel</source>
        <translation>Grün-Kanal</translation>
    </message>
    <message>
        <source>Blue-Channel</source>
        <translation>Blau-Kanal</translation>
    </message>
    <message>
        <source>Hue-Channel</source>
        <translation>Farbton-Kanal</translation>
    </message>
    <message>
        <source>Saturation-Channel</source>
        <translation>Sättigungs-Kanal</translation>
    </message>
    <message>
        <source>Value-Channel</source>
        <translation>Hellwert-Kanal</translation>
    </message>
    <message>
        <source>Error !</source>
        <translation>Fehler !</translation>
    </message>
    <message>
        <source>Please tick at least one channel to split.</source>
        <translation>Bitte mindestens einen Kanal zum Aufteilen ankreuzen.</translation>
    </message>
</context>
<context>
    <name>ivra::ZoomActions</name>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation>An &amp;Fenster anpassen</translation>
    </message>
</context>
<context>
    <name>ivra::ZoomableImageView</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Pixel information</source>
        <translation>Pixelinformation</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
</context>
</TS>