<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
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
    <message>
        <source>Applying the recipe...</source>
        <translation>Das Rezept wird angewandt...</translation>
    </message>
    <message>
        <source>Cancelled: %1 of %2 pictures were written.</source>
        <translation>Abgebrochen: %1 von %2 Bildern wurden geschrieben.</translation>
    </message>
    <message>
        <source>%1 of %2 pictures were written.</source>
        <translation>%1 von %2 Bildern wurden geschrieben.</translation>
    </message>
    <message>
        <source>Restoring the session...</source>
        <translation>Die Sitzung wird wiederhergestellt...</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>missing or unreadable</source>
        <translation>fehlt oder ist nicht lesbar</translation>
    </message>
    <message>
        <source>changed since saved</source>
        <translation>seit dem Speichern geändert</translation>
    </message>
    <message>
        <source>%1: cannot be opened</source>
        <translation>%1: lässt sich nicht öffnen</translation>
    </message>
</context>
<context>
    <name>SegmentationExport</name>
    <message>
        <source>Save Labels as .npy...</source>
        <translation>Labels als .npy speichern...</translation>
    </message>
    <message>
        <source>NumPy array (*.npy)</source>
        <translation>NumPy-Array (*.npy)</translation>
    </message>
    <message>
        <source>Save Labels as 16-bit PNG...</source>
        <translation>Labels als 16-Bit-PNG speichern...</translation>
    </message>
    <message>
        <source>Portable Network Graphics (*.png)</source>
        <translation>Portable Network Graphics (*.png)</translation>
    </message>
    <message>
        <source>Save Region Table as CSV...</source>
        <translation>Regionentabelle als CSV speichern...</translation>
    </message>
    <message>
        <source>Comma-separated values (*.csv)</source>
        <translation>Kommagetrennte Werte (*.csv)</translation>
    </message>
    <message>
        <source>Save Border Picture as PNG...</source>
        <translation>Bild mit Regionsgrenzen als PNG speichern...</translation>
    </message>
</context>
<context>
    <name>ivra</name>
    <message>
        <source>Export failed</source>
        <translation>Export fehlgeschlagen</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Color Histogram&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose a color image from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Depending of the selected image you can choose RGB- or HSV-histogram, namely you can choose between 3-channel-, static-, dynamic- or static fuzzy-histograms.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Next select the number of bins.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;4.&lt;/td&gt;&lt;td&gt;Press OK to calculate the histogram.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;color-image&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;a color histogram of the input image&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Farbhistogramm&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Farbbild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Je nach gewähltem Bild können Sie ein RGB- oder HSV-Histogramm wählen, und zwar zwischen 3-Kanal-, statischen, dynamischen und statischen Fuzzy-Histogrammen.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Wählen Sie dann die Anzahl der Klassen.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;4.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um das Histogramm zu berechnen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Farbbild&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;ein Farbhistogramm des Eingabebildes&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Color Transform&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose an image from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Depending of the selected image you can a transform in an other color space.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Press OK to execute the transform&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;image&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;color image&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Farbtransformation&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Je nach gewähltem Bild können Sie es in einen anderen Farbraum überführen.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um die Transformation auszuführen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Bild&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;Farbbild&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Color Structure Code&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; First choose a image from the listbox by selecting it with the left mouse button (just click on the image name)&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Choose the color space (rgb or hsv) of the color similarity predicate.&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; If you choose the rgb color space you have to select a threshold that defines which rgb colors are similar. If the euclidian distance between to rgb vectors is less than the threshold both vector are considered as similar.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Press the OK button to execute the CSC</source>
        <translation>&lt;b&gt;&lt;i&gt;Color Structure Code&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Wählen Sie den Farbraum (RGB oder HSV) des Farbähnlichkeitsprädikats.&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Im RGB-Farbraum wählen Sie eine Schwelle, die festlegt, welche RGB-Farben ähnlich sind: Ist der euklidische Abstand zweier RGB-Vektoren kleiner als die Schwelle, gelten beide als ähnlich.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Drücken Sie OK, um den CSC auszuführen.</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Gauss-Noise&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose an image (RGB or Gray) from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Parameters are mean and variance of the noise:&lt;br&gt;If the mean of noise is unequal to cero the mean of the image changes.&lt;br&gt;The variance affects the intensity of the noise.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Press OK to execute the Operator.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;image (RGB or Gray)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;noisy image (RGB or Gray)&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Gauß-Rauschen&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Bild (RGB oder Grau) in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Die Parameter sind Mittelwert und Varianz des Rauschens:&lt;br&gt;Ist der Mittelwert des Rauschens nicht null, ändert sich der Mittelwert des Bildes.&lt;br&gt;Die Varianz bestimmt die Stärke des Rauschens.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um den Operator auszuführen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Bild (RGB oder Grau)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;verrauschtes Bild (RGB oder Grau)&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Histogram&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose a gray image from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Choose the number of bins of the (reduced) histogram.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Press OK to calculate the histogram&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;gray-image&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;a (reduced) static histogram of the input image&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Histogramm&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Grauwertbild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Wählen Sie die Anzahl der Klassen des (reduzierten) Histogramms.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um das Histogramm zu berechnen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Grauwertbild&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;ein (reduziertes) statisches Histogramm des Eingabebildes&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
    </message>
</context>
<context>
    <name>ivra::IterationClock</name>
    <message>
        <source>Iteration %1 of %2</source>
        <translation>Iteration %1 von %2</translation>
    </message>
    <message>
        <source>%1, estimating the time left</source>
        <translation>%1, die Restzeit wird geschätzt</translation>
    </message>
    <message>
        <source>%1, less than a second left</source>
        <translation>%1, noch weniger als eine Sekunde</translation>
    </message>
    <message>
        <source>%1, about %2 left</source>
        <translation>%1, noch etwa %2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Kuwahara-Nagao-Filter&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; First choose a image from the listbox by selecting it with the left mouse button (just click on the image name)&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Choose how often the Kuwahara-Nagao-Filter should applied on the image (Iteration)&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Choose the color space that should be used for filtering.&lt;br&lt;b&gt;4.&lt;/b&gt; Press the OK button to execute the Kuwahara-Nagao-Filter&lt;br&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Kuwahara-Nagao-Filter&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Wählen Sie, wie oft der Kuwahara-Nagao-Filter auf das Bild angewandt wird (Iteration).&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Wählen Sie den Farbraum, in dem gefiltert wird.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Drücken Sie OK, um den Kuwahara-Nagao-Filter auszuführen.&lt;br&gt;&lt;br&gt;</translation>
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
        <source>What&apos;s &amp;This</source>
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
    <name>ivra::RecipeActions</name>
    <message>
        <source>Copy Command</source>
        <translation>Befehl kopieren</translation>
    </message>
    <message>
        <source>Save Recipe...</source>
        <translation>Rezept speichern...</translation>
    </message>
    <message>
        <source>Apply Recipe to Files...</source>
        <translation>Rezept auf Dateien anwenden...</translation>
    </message>
    <message>
        <source>Save Recipe</source>
        <translation>Rezept speichern</translation>
    </message>
    <message>
        <source>Recipes (*.json);;All files (*)</source>
        <translation>Rezepte (*.json);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Apply Recipe to Files</source>
        <translation>Rezept auf Dateien anwenden</translation>
    </message>
    <message>
        <source>Pictures (*.png *.ppm *.pgm);;All files (*)</source>
        <translation>Bilder (*.png *.ppm *.pgm);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Output format:</source>
        <translation>Ausgabeformat:</translation>
    </message>
    <message>
        <source>Two pictures would both be written to %1.</source>
        <translation>Zwei Bilder würden beide nach %1 geschrieben.</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Recursive Histogram Splitting (RHS)&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; First choose a image from the listbox by selecting it with the left mouse button (just click on the image name)&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Enter the threshold for &lt;i&gt;gt-clustering&lt;/i&gt;. It defines the window size for graph theoretical clustering of histograms. Threshold 1 means that local maxima are searches with a windowsize of 3.&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Enter the threshold for the the &lt;i&gt;min. region&lt;/i&gt;. If the biggest peak that is found in all histograms for one region is smaller than this thresholdthe region is not splitted any more. Higher thresholds result in bigger regions.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Enter the threshold for the &lt;i&gt;min. peak&lt;/i&gt;. If a region is smaller than this threshold it will not be split. The threshold must be larger than the theshold for the &lt;i&gt;min. region&lt;/i&gt; to have any effect. Higher values result in bigger regions.&lt;br&gt;&lt;b&gt;5.&lt;/b&gt; Press the OK button to execute the RHS</source>
        <translation>&lt;b&gt;&lt;i&gt;Rekursive Histogrammteilung (RHS)&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Geben Sie die Schwelle für das &lt;i&gt;GT-Clustering&lt;/i&gt; ein. Sie legt die Fenstergröße der graphentheoretischen Clusterung der Histogramme fest: Schwelle 1 bedeutet, dass lokale Maxima in einem Fenster der Größe 3 gesucht werden.&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Geben Sie die Schwelle für die &lt;i&gt;min. Region&lt;/i&gt; ein. Ist die größte Spitze, die in allen Histogrammen einer Region gefunden wird, kleiner als diese Schwelle, wird die Region nicht weiter geteilt. Höhere Schwellen ergeben größere Regionen.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Geben Sie die Schwelle für die &lt;i&gt;min. Spitze&lt;/i&gt; ein. Eine Region, die kleiner als diese Schwelle ist, wird nicht geteilt. Die Schwelle wirkt nur, wenn sie größer als die Schwelle für die &lt;i&gt;min. Region&lt;/i&gt; ist. Höhere Werte ergeben größere Regionen.&lt;br&gt;&lt;b&gt;5.&lt;/b&gt; Drücken Sie OK, um die RHS auszuführen.</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Region-Growing&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose an image (RGB or Gray) from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;The parameter &apos;span&apos; is the maximum euclidean distance of colors/gray-values which decides wether the actual pixel is matched to which growing region.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Press OK to execute the Region Growing.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;image (RGB or Gray)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;segmented image (RGB)&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Regionenwachstum&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Bild (RGB oder Grau) in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Der Parameter „Span“ ist der größte euklidische Abstand der Farben bzw. Grauwerte, nach dem entschieden wird, welcher wachsenden Region das aktuelle Pixel zugeordnet wird.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um das Regionenwachstum auszuführen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Bild (RGB oder Grau)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;segmentiertes Bild (RGB)&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
    </message>
</context>
<context>
    <name>ivra::RegionTableModel</name>
    <message>
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>X min</source>
        <translation>X min</translation>
    </message>
    <message>
        <source>Y min</source>
        <translation>Y min</translation>
    </message>
    <message>
        <source>X max</source>
        <translation>X max</translation>
    </message>
    <message>
        <source>Y max</source>
        <translation>Y max</translation>
    </message>
    <message>
        <source>Centroid X</source>
        <translation>Schwerp. X</translation>
    </message>
    <message>
        <source>Centroid Y</source>
        <translation>Schwerp. Y</translation>
    </message>
    <message>
        <source>Mean red</source>
        <translation>Mittel Rot</translation>
    </message>
    <message>
        <source>Mean green</source>
        <translation>Mittel Grün</translation>
    </message>
    <message>
        <source>Mean blue</source>
        <translation>Mittel Blau</translation>
    </message>
    <message>
        <source>Region red</source>
        <translation>Region Rot</translation>
    </message>
    <message>
        <source>Region green</source>
        <translation>Region Grün</translation>
    </message>
    <message>
        <source>Region blue</source>
        <translation>Region Blau</translation>
    </message>
    <message>
        <source>Perimeter</source>
        <translation>Umfang</translation>
    </message>
</context>
<context>
    <name>ivra::RegionTablePanel</name>
    <message>
        <source>Regions: %1</source>
        <translation>Regionen: %1</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>Region table</source>
        <translation>Regionentabelle</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Salt-and-Pepper-Noise&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose an image (RGB or Gray) from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Choose Salt- and/or Pepper-Noise and a noise level.&lt;br&gt;&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Press OK to execute the Operator.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;image (RGB or Gray)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;noisy image (RGB or Gray)&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Salz-und-Pfeffer-Rauschen&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Bild (RGB oder Grau) in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Wählen Sie Salz- und/oder Pfeffer-Rauschen und eine Rauschstärke.&lt;br&gt;&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um den Operator auszuführen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Bild (RGB oder Grau)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;verrauschtes Bild (RGB oder Grau)&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
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
    <message>
        <source>Display the original pixels with the region b&amp;orders</source>
        <translation>Die Originalpixel mit den Regionsg&amp;renzen anzeigen</translation>
    </message>
    <message>
        <source>Border &amp;Colour...</source>
        <translation>Grenz&amp;farbe...</translation>
    </message>
    <message>
        <source>  Label=%1 (no region)</source>
        <translation>  Label=%1 (keine Region)</translation>
    </message>
    <message>
        <source>  Label=%1  Pixels=%2</source>
        <translation>  Label=%1  Pixel=%2</translation>
    </message>
    <message>
        <source>Border Colour</source>
        <translation>Grenzfarbe</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;i&gt;Segmentation Result Viewer&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;With the Segmentation Result Viewer (SRV) you can display one or more segments.&lt;br&gt;The SRV window contains two images. The left image shows the original image that was segmented.The right image shows the found regions (segments).When the SRV is shown for the first time, all found regions are displayed in their mean color.&lt;br&gt;If you press the button &lt;i&gt;Hide all regions&lt;/i&gt; none of the regions will be displayed.&lt;br&gt;If you press the button &lt;i&gt;Display all regions&lt;/i&gt; all regions will be displayed.&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Segmentierungsbetrachter&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;Mit dem Segmentierungsbetrachter können Sie eines oder mehrere Segmente anzeigen.&lt;br&gt;Sein Fenster enthält zwei Bilder: Das linke zeigt das Originalbild, das segmentiert wurde, das rechte die gefundenen Regionen (Segmente). Beim ersten Öffnen werden alle gefundenen Regionen in ihrer mittleren Farbe angezeigt.&lt;br&gt;Die Schaltfläche &lt;i&gt;Alle Regionen verbergen&lt;/i&gt; blendet alle Regionen aus.&lt;br&gt;Die Schaltfläche &lt;i&gt;Alle Regionen zeigen&lt;/i&gt; zeigt alle Regionen an.&lt;br&gt;</translation>
    </message>
</context>
<context>
    <name>ivra::SessionActions</name>
    <message>
        <source>Ivra sessions (*.ivra);;All files (*)</source>
        <translation>Ivra-Sitzungen (*.ivra);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save Session...</source>
        <translation>Sitzung speichern...</translation>
    </message>
    <message>
        <source>Open Session...</source>
        <translation>Sitzung öffnen...</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Cancelled: %n entries restored.</source>
        <translation>
            <numerusform>Abgebrochen: %n Eintrag wiederhergestellt.</numerusform>
            <numerusform>Abgebrochen: %n Einträge wiederhergestellt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Save Session</source>
        <translation>Sitzung speichern</translation>
    </message>
    <message>
        <source>Could not save the session: %1</source>
        <translation>Die Sitzung konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Open Session</source>
        <translation>Sitzung öffnen</translation>
    </message>
    <message>
        <source>The workbench is not empty. Add the session to it or replace its contents?</source>
        <translation>Die Werkbank ist nicht leer. Die Sitzung hinzufügen oder den Inhalt ersetzen?</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Could not open the session: %1</source>
        <translation>Die Sitzung konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Parts of the session were left out:
%1</source>
        <translation>Teile der Sitzung wurden ausgelassen:
%1</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Symmetric Nearest Neighbor (SNN)&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; First choose a image from the listbox by selecting it with the left mouse button (just click on the image name)&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Choose how often the SNN should applied on the image (Iteration)&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Press the OK button to execute the SNN&lt;br&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Symmetrischer nächster Nachbar (SNN)&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Wählen Sie, wie oft der SNN-Filter auf das Bild angewandt wird (Iteration).&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Drücken Sie OK, um den SNN-Filter auszuführen.&lt;br&gt;&lt;br&gt;</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Split-And-Merge (incl. Group)&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; First choose a image from the listbox by selecting it with the left mouse button (just click on the image name)&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Enter the threshold for &lt;i&gt;split&lt;/i&gt;. A high threshold results in less splitting operations Therefore less regions are generated&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Enter the threshold for &lt;i&gt;merge&lt;/i&gt;. A high threshold results in more merging operations.  Therefore less regions are generated.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Enter the threshold for &lt;i&gt;group&lt;/i&gt;. A high threshold results in more group operations. Therefore less regions are generated.&lt;br&gt;&lt;b&gt;5.&lt;/b&gt; Press the OK button to execute the Split-And-Merge</source>
        <translation>&lt;b&gt;&lt;i&gt;Split-And-Merge (mit Group)&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;b&gt;1.&lt;/b&gt; Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;br&gt;&lt;b&gt;2.&lt;/b&gt; Geben Sie die Schwelle für &lt;i&gt;Split&lt;/i&gt; ein. Eine hohe Schwelle führt zu weniger Teilungen und damit zu weniger Regionen.&lt;br&gt;&lt;b&gt;3.&lt;/b&gt; Geben Sie die Schwelle für &lt;i&gt;Merge&lt;/i&gt; ein. Eine hohe Schwelle führt zu mehr Verschmelzungen und damit zu weniger Regionen.&lt;br&gt;&lt;b&gt;4.&lt;/b&gt; Geben Sie die Schwelle für &lt;i&gt;Group&lt;/i&gt; ein. Eine hohe Schwelle führt zu mehr Gruppierungen und damit zu weniger Regionen.&lt;br&gt;&lt;b&gt;5.&lt;/b&gt; Drücken Sie OK, um Split-And-Merge auszuführen.</translation>
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
    <message>
        <source>&lt;b&gt;&lt;i&gt;Split&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;First choose an image from the listbox by selecting with the left mouse button (just click on the image name).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Depending on the color space of the selected image, a check-box for each color-channel appear, e.g.if the selected image is a hsv-image three check-boxes for hue, saturation, and value appear.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Activate one or more color-channels by mouseclick in the check-box.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;4.&lt;/td&gt;&lt;td&gt;Press OK to execute the Split.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Input:&lt;/td&gt;&lt;td&gt;color-image (RGB or HSV)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Result:&lt;/td&gt;&lt;td&gt;a gray-image for each selected color-channel&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</source>
        <translation>&lt;b&gt;&lt;i&gt;Aufteilen&lt;/i&gt;&lt;/b&gt;&lt;br&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;1.&lt;/td&gt;&lt;td&gt;Wählen Sie zuerst ein Bild in der Liste, indem Sie es mit der linken Maustaste anklicken (ein Klick auf den Bildnamen genügt).&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;2.&lt;/td&gt;&lt;td&gt;Je nach Farbraum des gewählten Bildes erscheint für jeden Farbkanal ein Ankreuzfeld, z. B. für ein HSV-Bild drei Ankreuzfelder für Farbton, Sättigung und Hellwert.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;3.&lt;/td&gt;&lt;td&gt;Kreuzen Sie einen oder mehrere Farbkanäle mit einem Mausklick an.&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;4.&lt;/td&gt;&lt;td&gt;Drücken Sie OK, um die Aufteilung auszuführen.&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;br&gt;&lt;hr&gt;&lt;br&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Eingabe:&lt;/td&gt;&lt;td&gt;Farbbild (RGB oder HSV)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ergebnis:&lt;/td&gt;&lt;td&gt;ein Grauwertbild für jeden gewählten Farbkanal&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;hr&gt;&lt;br&gt;</translation>
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
