<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Tilemont</source>
        <translation>Über Tilemont</translation>
    </message>
    <message>
        <source>Tilemont</source>
        <translation>Tilemont</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CAreaListBox</name>
    <message>
        <source>Areas</source>
        <translation>Bereiche</translation>
    </message>
</context>
<context>
    <name>CAreasBar</name>
    <message>
        <source>Areas</source>
        <translation>Bereiche</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte geben Sie eine Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte geben Sie eine Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Pick area</source>
        <translation>Bereich wählen</translation>
    </message>
    <message>
        <source>Texture rotation</source>
        <translation>Texturdrehung</translation>
    </message>
    <message>
        <source>Texture shift</source>
        <translation>Texturverschiebung</translation>
    </message>
    <message>
        <source>Texture scale</source>
        <translation>Texturskalierung</translation>
    </message>
    <message>
        <source>Shading strength</source>
        <translation>Schattierungsstärke</translation>
    </message>
    <message>
        <source>Reset skew</source>
        <translation>Verzerrung zurücksetzen</translation>
    </message>
    <message>
        <source>Reset initial rect</source>
        <translation>Ausgangsrechteck zurücksetzen</translation>
    </message>
</context>
<context>
    <name>CAreasBarControls</name>
    <message>
        <source>Texture rotation</source>
        <translation>Texturdrehung</translation>
    </message>
    <message>
        <source>rotation</source>
        <translation>Drehung</translation>
    </message>
    <message>
        <source>Texture shift X</source>
        <translation>Texturverschiebung X</translation>
    </message>
    <message>
        <source>shift X</source>
        <translation>Verschiebung X</translation>
    </message>
    <message>
        <source>Texture shift Y</source>
        <translation>Texturverschiebung Y</translation>
    </message>
    <message>
        <source>shift Y</source>
        <translation>Verschiebung Y</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>scale</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>Skew</source>
        <translation>Verzerren</translation>
    </message>
    <message>
        <source>Perspective</source>
        <translation>Perspektive</translation>
    </message>
    <message>
        <source>Warp the texture onto the corners as a plane seen in perspective</source>
        <translation>Die Textur als perspektivisch gesehene Ebene auf die Ecken abbilden</translation>
    </message>
    <message>
        <source>Skew preview</source>
        <translation>Verzerrungsvorschau</translation>
    </message>
    <message>
        <source>Initial rect</source>
        <translation>Ausgangsrechteck</translation>
    </message>
    <message>
        <source>Reset skew</source>
        <translation>Verzerrung zurücksetzen</translation>
    </message>
    <message>
        <source>Reset initial rect</source>
        <translation>Ausgangsrechteck zurücksetzen</translation>
    </message>
    <message>
        <source>Fit Perspective</source>
        <translation>Perspektive ermitteln</translation>
    </message>
    <message>
        <source>Find the surface&apos;s plane from the photo&apos;s straight edges</source>
        <translation>Die Ebene der Fläche aus den geraden Kanten des Fotos ermitteln</translation>
    </message>
    <message>
        <source>Real Size...</source>
        <translation>Reale Größe...</translation>
    </message>
    <message>
        <source>Pattern...</source>
        <translation>Verlegemuster...</translation>
    </message>
    <message>
        <source>Lay tiles or planks piece by piece, with joints</source>
        <translation>Fliesen oder Dielen Stück für Stück verlegen, mit Fugen</translation>
    </message>
    <message>
        <source>Show the texture at its real size from a measured line</source>
        <translation>Die Textur anhand einer gemessenen Linie in ihrer realen Größe zeigen</translation>
    </message>
    <message>
        <source>Shading strength</source>
        <translation>Schattierungsstärke</translation>
    </message>
    <message>
        <source>How strongly Keep Shading lays the photo&apos;s light and shadow over the texture</source>
        <translation>Wie stark „Schattierung beibehalten“ Licht und Schatten des Fotos über die Textur legt</translation>
    </message>
    <message>
        <source>Shadin&amp;g strength:</source>
        <translation>Schattierun&amp;gsstärke:</translation>
    </message>
    <message>
        <source>Texture group</source>
        <translation>Texturgruppe</translation>
    </message>
    <message>
        <source>Areas:</source>
        <translation>Bereiche:</translation>
    </message>
    <message>
        <source>Texture rotation:</source>
        <translation>Texturdrehung:</translation>
    </message>
    <message>
        <source>degrees</source>
        <translation>Grad</translation>
    </message>
    <message>
        <source>Texture shift:</source>
        <translation>Texturverschiebung:</translation>
    </message>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Skalierung:</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
</context>
<context>
    <name>CBannerBar</name>
    <message>
        <source>Pick an area, then click a swatch to lay in a texture.</source>
        <translation>Bereich wählen, dann ein Muster anklicken, um eine Textur einzusetzen.</translation>
    </message>
    <message>
        <source>Skew: drag the four corners to match the floor&apos;s perspective.</source>
        <translation>Verzerren: Die vier Ecken passend zur Perspektive des Bodens ziehen.</translation>
    </message>
    <message>
        <source>Ctrl+Z undoes every change — try textures freely.</source>
        <translation>Strg+Z nimmt jede Änderung zurück – probieren Sie Texturen ruhig aus.</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Hinweisleiste</translation>
    </message>
</context>
<context>
    <name>CBrowseEdit</name>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
</context>
<context>
    <name>CChildFrame</name>
    <message>
        <source>the picture on the Clipboard</source>
        <translation>das Bild in der Zwischenablage</translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>&amp;Maintain aspect ratio</source>
        <translation>Seiten&amp;verhältnis beibehalten</translation>
    </message>
    <message>
        <source>Keep &amp;shading</source>
        <translation>&amp;Schattierung beibehalten</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Breite:</translation>
    </message>
    <message>
        <source>pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>&amp;Filename:</source>
        <translation>&amp;Dateiname:</translation>
    </message>
    <message>
        <source>File format:</source>
        <translation>Dateiformat:</translation>
    </message>
    <message>
        <source>File Format Options</source>
        <translation>Optionen des Dateiformats</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Please enter a file name.</source>
        <translation>Bitte geben Sie einen Dateinamen ein.</translation>
    </message>
    <message>
        <source>There is no encoder for the chosen format.</source>
        <translation>Für das gewählte Format gibt es keinen Encoder.</translation>
    </message>
    <message>
        <source>The encoder refused these options.</source>
        <translation>Der Encoder hat diese Optionen abgelehnt.</translation>
    </message>
</context>
<context>
    <name>CExportSession</name>
    <message>
        <source>Exported %1 (%2 × %3)</source>
        <translation>%1 exportiert (%2 × %3)</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Exporting %1...</source>
        <translation>%1 wird exportiert...</translation>
    </message>
</context>
<context>
    <name>CFileBrowseEdit</name>
    <message>
        <source>All files(*.*)|*.*|</source>
        <translation>Alle Dateien(*.*)|*.*|</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
<context>
    <name>CGifEncoder</name>
    <message>
        <source>The GIF image could not be written: %1.</source>
        <translation>Das GIF-Bild konnte nicht geschrieben werden: %1.</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>Fehler %1</translation>
    </message>
    <message>
        <source>A GIF image can be at most 65535 pixels wide and high.</source>
        <translation>Ein GIF-Bild darf höchstens 65535 Pixel breit und hoch sein.</translation>
    </message>
    <message>
        <source>There is not enough memory to reduce the image&apos;s colours.</source>
        <translation>Es ist nicht genug Speicher vorhanden, um die Farben des Bildes zu reduzieren.</translation>
    </message>
</context>
<context>
    <name>CHelpLauncher</name>
    <message>
        <source>Tilemont Help</source>
        <translation>Tilemont-Hilfe</translation>
    </message>
</context>
<context>
    <name>CImageEncoder</name>
    <message>
        <source>There is no image to write.</source>
        <translation>Es gibt kein Bild zum Schreiben.</translation>
    </message>
    <message>
        <source>The image could not be encoded as %1: %2.</source>
        <translation>Das Bild konnte nicht als %1 kodiert werden: %2.</translation>
    </message>
</context>
<context>
    <name>CInitialRectTool</name>
    <message>
        <source>Initial rectangle</source>
        <translation>Ausgangsrechteck</translation>
    </message>
</context>
<context>
    <name>CJpegEncoder</name>
    <message>
        <source>The JPEG quality must be between 0 and 100, not %1.</source>
        <translation>Die JPEG-Qualität muss zwischen 0 und 100 liegen, nicht bei %1.</translation>
    </message>
    <message>
        <source>The JPEG transformation %1 is not supported.</source>
        <translation>Die JPEG-Transformation %1 wird nicht unterstützt.</translation>
    </message>
</context>
<context>
    <name>CJpegOptionsPage</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Jpeg &amp;quality:</source>
        <translation>JPEG-&amp;Qualität:</translation>
    </message>
    <message>
        <source>Transformation:</source>
        <translation>Transformation:</translation>
    </message>
    <message>
        <source>Jpeg quality</source>
        <translation>JPEG-Qualität</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Tilemont</source>
        <translation>Tilemont</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Hinweisleiste</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Hauptleiste</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>CNameDlg</name>
    <message>
        <source>Tilemont</source>
        <translation>Tilemont</translation>
    </message>
    <message>
        <source>Enter template &amp;name:</source>
        <translation>Vorlagen&amp;name eingeben:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>COptionsPage</name>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>rotate 90°</source>
        <translation>um 90° drehen</translation>
    </message>
    <message>
        <source>rotate 180°</source>
        <translation>um 180° drehen</translation>
    </message>
    <message>
        <source>rotate 270°</source>
        <translation>um 270° drehen</translation>
    </message>
    <message>
        <source>flip horizontally</source>
        <translation>horizontal spiegeln</translation>
    </message>
    <message>
        <source>flip vertically</source>
        <translation>vertikal spiegeln</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>LZW</source>
        <translation>LZW</translation>
    </message>
    <message>
        <source>CCITT Group 3</source>
        <translation>CCITT Gruppe 3</translation>
    </message>
    <message>
        <source>CCITT Group 4</source>
        <translation>CCITT Gruppe 4</translation>
    </message>
    <message>
        <source>RLE</source>
        <translation>RLE</translation>
    </message>
</context>
<context>
    <name>CPatternDlg</name>
    <message>
        <source>Straight</source>
        <translation>Gerade</translation>
    </message>
    <message>
        <source>Offset by half</source>
        <translation>Um die Hälfte versetzt</translation>
    </message>
    <message>
        <source>Offset by a third</source>
        <translation>Um ein Drittel versetzt</translation>
    </message>
    <message>
        <source>Random offset</source>
        <translation>Wild versetzt</translation>
    </message>
    <message>
        <source>Herringbone</source>
        <translation>Fischgrät</translation>
    </message>
    <message>
        <source>Chevron</source>
        <translation>Französisches Fischgrät</translation>
    </message>
    <message>
        <source>Basket</source>
        <translation>Flechtmuster</translation>
    </message>
    <message>
        <source>Diagonal</source>
        <translation>Diagonal</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Verlegemuster</translation>
    </message>
    <message>
        <source>Pattern - %1</source>
        <translation>Verlegemuster - %1</translation>
    </message>
    <message>
        <source>Piece pictures</source>
        <translation>Bilder der Stücke</translation>
    </message>
    <message>
        <source>&amp;Add Pictures...</source>
        <translation>Bilder &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>Pick one or more photographs of single pieces of the product</source>
        <translation>Ein oder mehrere Fotos einzelner Stücke des Produkts wählen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Remove the picked pictures</source>
        <translation>Die gewählten Bilder entfernen</translation>
    </message>
    <message>
        <source> cm</source>
        <translation> cm</translation>
    </message>
    <message>
        <source>Piece width</source>
        <translation>Breite des Stücks</translation>
    </message>
    <message>
        <source>Piece height</source>
        <translation>Höhe des Stücks</translation>
    </message>
    <message>
        <source>Layout</source>
        <translation>Verlegeart</translation>
    </message>
    <message>
        <source> degrees</source>
        <translation> Grad</translation>
    </message>
    <message>
        <source>Laying angle</source>
        <translation>Verlegewinkel</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Joint width</source>
        <translation>Fugenbreite</translation>
    </message>
    <message>
        <source>Joint colour</source>
        <translation>Fugenfarbe</translation>
    </message>
    <message>
        <source>Pick the colour of the joints</source>
        <translation>Die Farbe der Fugen wählen</translation>
    </message>
    <message>
        <source>Turn pieces by a &amp;half turn at random</source>
        <translation>Stücke zufällig um eine halbe Drehung wen&amp;den</translation>
    </message>
    <message>
        <source>Turn square pieces by a &amp;quarter turn at random</source>
        <translation>Quadratische Stücke zufällig um eine Vierteldrehung d&amp;rehen</translation>
    </message>
    <message>
        <source>Seed</source>
        <translation>Startwert</translation>
    </message>
    <message>
        <source>S&amp;huffle</source>
        <translation>&amp;Mischen</translation>
    </message>
    <message>
        <source>Choose the pieces&apos; variants and turns anew</source>
        <translation>Varianten und Drehungen der Stücke neu wählen</translation>
    </message>
    <message>
        <source>The area&apos;s corner</source>
        <translation>Die Ecke des Bereichs</translation>
    </message>
    <message>
        <source>The area&apos;s centre</source>
        <translation>Die Mitte des Bereichs</translation>
    </message>
    <message>
        <source>Balanced cuts at the edges</source>
        <translation>Ausgewogene Zuschnitte an den Rändern</translation>
    </message>
    <message>
        <source>The point chosen before</source>
        <translation>Der zuvor gewählte Punkt</translation>
    </message>
    <message>
        <source>First whole piece</source>
        <translation>Erstes ganzes Stück</translation>
    </message>
    <message>
        <source>The pieces are laid at their real size.</source>
        <translation>Die Stücke werden in ihrer realen Größe verlegt.</translation>
    </message>
    <message>
        <source>This area has no reference line: the pieces are laid at the scale of their pictures, not at their real size. Use Real Size to draw one.</source>
        <translation>Dieser Bereich hat keine Referenzlinie: Die Stücke werden im Maßstab ihrer Bilder verlegt, nicht in ihrer realen Größe. Zeichnen Sie eine mit „Reale Größe“.</translation>
    </message>
    <message>
        <source>&amp;Pictures of one piece:</source>
        <translation>&amp;Bilder eines Stücks:</translation>
    </message>
    <message>
        <source>Piece &amp;size (width x height):</source>
        <translation>&amp;Größe des Stücks (Breite x Höhe):</translation>
    </message>
    <message>
        <source>&amp;Layout:</source>
        <translation>&amp;Verlegeart:</translation>
    </message>
    <message>
        <source>An&amp;gle:</source>
        <translation>&amp;Winkel:</translation>
    </message>
    <message>
        <source>&amp;Joints:</source>
        <translation>&amp;Fugen:</translation>
    </message>
    <message>
        <source>S&amp;eed:</source>
        <translation>&amp;Startwert:</translation>
    </message>
    <message>
        <source>&amp;First whole piece at:</source>
        <translation>Erstes ganzes St&amp;ück bei:</translation>
    </message>
    <message>
        <source>Joint Colour</source>
        <translation>Fugenfarbe</translation>
    </message>
    <message>
        <source>These files are no pictures: %1</source>
        <translation>Diese Dateien sind keine Bilder: %1</translation>
    </message>
    <message>
        <source>Pictures of One Piece</source>
        <translation>Bilder eines Stücks</translation>
    </message>
    <message>
        <source>Pictures (*.jpg *.jpeg *.png *.bmp *.gif *.tif *.tiff)</source>
        <translation>Bilder (*.jpg *.jpeg *.png *.bmp *.gif *.tif *.tiff)</translation>
    </message>
</context>
<context>
    <name>CPerspectiveCommands</name>
    <message>
        <source>Fit Perspective was cancelled; the template is as it was.</source>
        <translation>Perspektive ermitteln wurde abgebrochen; die Vorlage ist unverändert.</translation>
    </message>
    <message>
        <source>Fit Perspective stopped: the area or the picture changed meanwhile.</source>
        <translation>Perspektive ermitteln wurde beendet: Die Fläche oder das Bild hat sich inzwischen geändert.</translation>
    </message>
</context>
<context>
    <name>CPerspectiveFitRun</name>
    <message>
        <source>Fit Perspective</source>
        <translation>Perspektive ermitteln</translation>
    </message>
    <message>
        <source>Finding the plane of %1...</source>
        <translation>Ebene von %1 wird ermittelt...</translation>
    </message>
</context>
<context>
    <name>CPerspectiveSteps</name>
    <message>
        <source>Perspective fitted assuming a typical camera (focal length %1 px).</source>
        <translation>Perspektive unter Annahme einer typischen Kamera ermittelt (Brennweite %1 px).</translation>
    </message>
    <message numerus="yes">
        <source>Perspective fitted from %n line(s) (focal length %1 px).</source>
        <translation>
            <numerusform>Perspektive aus %n Linie ermittelt (Brennweite %1 px).</numerusform>
            <numerusform>Perspektive aus %n Linien ermittelt (Brennweite %1 px).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CQtPrompts</name>
    <message>
        <source>Tilemont</source>
        <translation>Tilemont</translation>
    </message>
    <message>
        <source>&amp;Discard All</source>
        <translation>&amp;Alle verwerfen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
<context>
    <name>CRealSizeDlg</name>
    <message>
        <source> cm</source>
        <translation> cm</translation>
    </message>
    <message>
        <source>not known</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>No reference line drawn yet.</source>
        <translation>Noch keine Referenzlinie gezogen.</translation>
    </message>
    <message numerus="yes">
        <source>Reference line: %n pixel(s) long on the picture.</source>
        <translation>
            <numerusform>Referenzlinie: %n Pixel lang im Bild.</numerusform>
            <numerusform>Referenzlinie: %n Pixel lang im Bild.</numerusform>
        </translation>
    </message>
    <message>
        <source>Real Size</source>
        <translation>Reale Größe</translation>
    </message>
    <message>
        <source>Real Size - %1</source>
        <translation>Reale Größe - %1</translation>
    </message>
    <message>
        <source>Texture width</source>
        <translation>Texturbreite</translation>
    </message>
    <message>
        <source>Reference length</source>
        <translation>Referenzlänge</translation>
    </message>
    <message>
        <source>&amp;Draw reference line</source>
        <translation>Referenzlinie &amp;ziehen</translation>
    </message>
    <message>
        <source>Drag a line of known length on the picture; Escape abandons it</source>
        <translation>Ziehen Sie eine Linie bekannter Länge auf dem Bild; Esc bricht ab</translation>
    </message>
    <message>
        <source>Real &amp;width of the texture image:</source>
        <translation>Reale &amp;Breite des Texturbilds:</translation>
    </message>
    <message>
        <source>Real &amp;length of the reference line:</source>
        <translation>Reale &amp;Länge der Referenzlinie:</translation>
    </message>
    <message>
        <source>Draw a line of known length on the surface. It is measured through the area&apos;s perspective; without one it is taken as lying flat in the picture.</source>
        <translation>Ziehen Sie eine Linie bekannter Länge auf der Fläche. Sie wird durch die Perspektive des Bereichs gemessen; ohne Perspektive gilt sie als flach im Bild liegend.</translation>
    </message>
</context>
<context>
    <name>CRefineEdgesCommand</name>
    <message>
        <source>Refine Edges</source>
        <translation>Kanten verfeinern</translation>
    </message>
    <message>
        <source>Snapping the selection to the picture&apos;s edges...</source>
        <translation>Die Auswahl wird an die Kanten des Bildes angelegt...</translation>
    </message>
</context>
<context>
    <name>CRefineEdgesDlg</name>
    <message>
        <source>Refine Edges</source>
        <translation>Kanten verfeinern</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>&amp;Band width:</source>
        <translation>&amp;Streifenbreite:</translation>
    </message>
    <message>
        <source>The boundary moves to the picture&apos;s edges within this distance of it; inside and outside farther away stay as drawn.</source>
        <translation>Der Rand rückt innerhalb dieses Abstands an die Kanten des Bildes; weiter entfernt bleiben Innen und Außen wie gezeichnet.</translation>
    </message>
</context>
<context>
    <name>CRenderGroupDlg</name>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Render Texture Group</source>
        <translation>Texturgruppe rendern</translation>
    </message>
    <message>
        <source>Keep &amp;shading</source>
        <translation>&amp;Schattierung beibehalten</translation>
    </message>
    <message>
        <source>&amp;Area:</source>
        <translation>&amp;Bereich:</translation>
    </message>
    <message>
        <source>&amp;Texture group:</source>
        <translation>&amp;Texturgruppe:</translation>
    </message>
    <message>
        <source>&amp;Output folder:</source>
        <translation>A&amp;usgabeordner:</translation>
    </message>
    <message>
        <source>File &amp;format:</source>
        <translation>Datei&amp;format:</translation>
    </message>
    <message>
        <source>&amp;Width (pixels):</source>
        <translation>Br&amp;eite (Pixel):</translation>
    </message>
    <message>
        <source>&amp;Height (pixels):</source>
        <translation>&amp;Höhe (Pixel):</translation>
    </message>
    <message>
        <source>&amp;Render</source>
        <translation>&amp;Rendern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>The template has no area to render into.</source>
        <translation>Die Vorlage hat keinen Bereich, in den gerendert werden kann.</translation>
    </message>
    <message>
        <source>There is no texture group in %1.</source>
        <translation>In %1 gibt es keine Texturgruppe.</translation>
    </message>
    <message>
        <source>Please enter the folder the images go into.</source>
        <translation>Bitte geben Sie den Ordner an, in den die Bilder geschrieben werden.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>CRenderGroupSession</name>
    <message>
        <source>Render Texture Group</source>
        <translation>Texturgruppe rendern</translation>
    </message>
    <message>
        <source>Rendering the textures of %1...</source>
        <translation>Die Texturen von %1 werden gerendert...</translation>
    </message>
    <message>
        <source>%1 of %2 done: %3</source>
        <translation>%1 von %2 fertig: %3</translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1, %2 not, %3 cancelled.</source>
        <translation>
            <numerusform>%n Bild in %1 gespeichert, %2 nicht, %3 abgebrochen.</numerusform>
            <numerusform>%n Bilder in %1 gespeichert, %2 nicht, %3 abgebrochen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1, %2 not.</source>
        <translation>
            <numerusform>%n Bild in %1 gespeichert, %2 nicht.</numerusform>
            <numerusform>%n Bilder in %1 gespeichert, %2 nicht.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1, %2 cancelled.</source>
        <translation>
            <numerusform>%n Bild in %1 gespeichert, %2 abgebrochen.</numerusform>
            <numerusform>%n Bilder in %1 gespeichert, %2 abgebrochen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1.</source>
        <translation>
            <numerusform>%n Bild in %1 gespeichert.</numerusform>
            <numerusform>%n Bilder in %1 gespeichert.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CSkewTool</name>
    <message>
        <source>Skew corners</source>
        <translation>Verzerrungsecken</translation>
    </message>
</context>
<context>
    <name>CSpinButtons</name>
    <message>
        <source>Increase %1</source>
        <translation>%1 erhöhen</translation>
    </message>
    <message>
        <source>Decrease %1</source>
        <translation>%1 verringern</translation>
    </message>
</context>
<context>
    <name>CStatusBar</name>
    <message>
        <source>CAP</source>
        <translation>UF</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>RF</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Feststelltaste</translation>
    </message>
    <message>
        <source>Num Lock</source>
        <translation>Num-Taste</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Rollen-Taste</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
</context>
<context>
    <name>CSurfaceTool</name>
    <message>
        <source>Find surface</source>
        <translation>Fläche finden</translation>
    </message>
    <message>
        <source>Finding the surface...</source>
        <translation>Die Fläche wird gesucht...</translation>
    </message>
</context>
<context>
    <name>CThumbnailList</name>
    <message>
        <source>%1 — not an image</source>
        <translation>%1 — kein Bild</translation>
    </message>
    <message>
        <source>%1 — %2 × %3 pixels</source>
        <translation>%1 — %2 × %3 Pixel</translation>
    </message>
    <message>
        <source>Textures</source>
        <translation>Texturen</translation>
    </message>
</context>
<context>
    <name>CTiffEncoder</name>
    <message>
        <source>The TIFF compression %1 is not supported.</source>
        <translation>Die TIFF-Kompression %1 wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>The TIFF colour depth %1 is not supported.</source>
        <translation>Die TIFF-Farbtiefe %1 wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>CCITT compression needs a colour depth of 1 bit.</source>
        <translation>CCITT-Kompression erfordert eine Farbtiefe von 1 Bit.</translation>
    </message>
    <message>
        <source>This TIFF library cannot write compression %1.</source>
        <translation>Diese TIFF-Bibliothek kann die Kompression %1 nicht schreiben.</translation>
    </message>
    <message>
        <source>There is not enough memory to prepare the TIFF image.</source>
        <translation>Es ist nicht genug Speicher vorhanden, um das TIFF-Bild vorzubereiten.</translation>
    </message>
    <message>
        <source>The TIFF image could not be started: %1.</source>
        <translation>Das TIFF-Bild konnte nicht begonnen werden: %1.</translation>
    </message>
    <message>
        <source>unknown libtiff error</source>
        <translation>unbekannter Fehler in libtiff</translation>
    </message>
    <message>
        <source>The TIFF image could not be written: %1.</source>
        <translation>Das TIFF-Bild konnte nicht geschrieben werden: %1.</translation>
    </message>
</context>
<context>
    <name>CTiffOptionsPage</name>
    <message numerus="yes">
        <source>%n bit(s)</source>
        <translation>
            <numerusform>%n Bit</numerusform>
            <numerusform>%n Bit</numerusform>
        </translation>
    </message>
    <message>
        <source>Compression:</source>
        <translation>Kompression:</translation>
    </message>
    <message>
        <source>Color depth:</source>
        <translation>Farbtiefe:</translation>
    </message>
</context>
<context>
    <name>CTilemontApp</name>
    <message>
        <source>Tilem%1</source>
        <translation>Tilem%1</translation>
    </message>
</context>
<context>
    <name>CTilemontView</name>
    <message>
        <source>Template picture</source>
        <translation>Vorlagenbild</translation>
    </message>
    <message>
        <source>The picture with its areas; the mouse tools work here</source>
        <translation>Das Bild mit seinen Bereichen; hier arbeiten die Mauswerkzeuge</translation>
    </message>
</context>
<context>
    <name>CWandOptionsBar</name>
    <message>
        <source>Tool Options</source>
        <translation>Werkzeugoptionen</translation>
    </message>
    <message>
        <source>&amp;Tolerance:</source>
        <translation>&amp;Toleranz:</translation>
    </message>
    <message>
        <source>Tolerance</source>
        <translation>Toleranz</translation>
    </message>
    <message>
        <source>How different a colour may be from the clicked one (0: the same colour only, 255: every colour)</source>
        <translation>Wie stark eine Farbe von der angeklickten abweichen darf (0: nur dieselbe Farbe, 255: jede Farbe)</translation>
    </message>
    <message>
        <source>&amp;Contiguous</source>
        <translation>&amp;Benachbart</translation>
    </message>
    <message>
        <source>Only the region joined to the clicked pixel; off: every pixel of a similar colour</source>
        <translation>Nur der mit dem angeklickten Pixel verbundene Bereich; aus: jedes Pixel ähnlicher Farbe</translation>
    </message>
    <message>
        <source>&amp;Ignore specks under</source>
        <translation>Flecken &amp;ignorieren unter</translation>
    </message>
    <message>
        <source> pixels</source>
        <translation> Pixel</translation>
    </message>
    <message>
        <source>Ignore specks under, in pixels</source>
        <translation>Flecken ignorieren unter, in Pixel</translation>
    </message>
    <message>
        <source>Islands and holes smaller than this are dropped</source>
        <translation>Inseln und Löcher, die kleiner sind, werden verworfen</translation>
    </message>
</context>
<context>
    <name>CWindowList</name>
    <message>
        <source>Windows</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>&amp;Bring forward:</source>
        <translation>&amp;Nach vorn holen:</translation>
    </message>
</context>
<context>
    <name>CWorkerProgress</name>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CommandTable</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Template</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Tool</source>
        <translation>Werkzeug</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
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
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation>Ein neues Dokument anlegen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open an existing document</source>
        <translation>Ein vorhandenes Dokument öffnen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close the active document</source>
        <translation>Das aktive Dokument schließen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save the active document</source>
        <translation>Das aktive Dokument speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Save the active document with a new name</source>
        <translation>Das aktive Dokument unter einem neuen Namen speichern</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren...</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print the active document</source>
        <translation>Das aktive Dokument drucken</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>Druck&amp;vorschau</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Show how the active document will print</source>
        <translation>Zeigen, wie das aktive Dokument gedruckt wird</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>Zuletzt geöffnete Datei</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>Dieses Dokument öffnen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Das Programm beenden; fragt, ob Dokumente gespeichert werden sollen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>Die letzte Aktion rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Redo the previously undone action</source>
        <translation>Die zuletzt rückgängig gemachte Aktion wiederholen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy the composed template to the Clipboard, as it is exported</source>
        <translation>Die zusammengesetzte Vorlage so, wie sie exportiert wird, in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Use the picture on the Clipboard as the template&apos;s picture</source>
        <translation>Das Bild in der Zwischenablage als Bild der Vorlage verwenden</translation>
    </message>
    <message>
        <source>Select picture</source>
        <translation>Bild auswählen</translation>
    </message>
    <message>
        <source>Create area</source>
        <translation>Bereich erstellen</translation>
    </message>
    <message>
        <source>Delete selected area</source>
        <translation>Ausgewählten Bereich löschen</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Add selection to existing area</source>
        <translation>Auswahl zu bestehendem Bereich hinzufügen</translation>
    </message>
    <message>
        <source>Delete selection from existing area</source>
        <translation>Auswahl aus bestehendem Bereich entfernen</translation>
    </message>
    <message>
        <source>Fit &amp;Perspective</source>
        <translation>&amp;Perspektive ermitteln</translation>
    </message>
    <message>
        <source>Fit Perspective</source>
        <translation>Perspektive ermitteln</translation>
    </message>
    <message>
        <source>Find the picked area&apos;s plane from the photo&apos;s straight edges</source>
        <translation>Die Ebene des gewählten Bereichs aus den geraden Kanten des Fotos ermitteln</translation>
    </message>
    <message>
        <source>Real &amp;Size...</source>
        <translation>Reale &amp;Größe...</translation>
    </message>
    <message>
        <source>P&amp;attern...</source>
        <translation>Verlege&amp;muster...</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Verlegemuster</translation>
    </message>
    <message>
        <source>Lay tiles or planks piece by piece into the picked area</source>
        <translation>Fliesen oder Dielen Stück für Stück in den gewählten Bereich verlegen</translation>
    </message>
    <message>
        <source>Real Size</source>
        <translation>Reale Größe</translation>
    </message>
    <message>
        <source>Show the picked area&apos;s texture at its real size</source>
        <translation>Die Textur des gewählten Bereichs in ihrer realen Größe zeigen</translation>
    </message>
    <message>
        <source>Render texture group...</source>
        <translation>Texturgruppe rendern...</translation>
    </message>
    <message>
        <source>Render texture group</source>
        <translation>Texturgruppe rendern</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alles</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Select the whole picture</source>
        <translation>Das ganze Bild auswählen</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Nichts</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Nichts auswählen</translation>
    </message>
    <message>
        <source>Clear the selection</source>
        <translation>Die Auswahl aufheben</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Umkehren</translation>
    </message>
    <message>
        <source>Invert selection</source>
        <translation>Auswahl umkehren</translation>
    </message>
    <message>
        <source>Select the picture outside the selection</source>
        <translation>Das Bild außerhalb der Auswahl auswählen</translation>
    </message>
    <message>
        <source>&amp;Grow...</source>
        <translation>&amp;Vergrößern...</translation>
    </message>
    <message>
        <source>Grow selection</source>
        <translation>Auswahl vergrößern</translation>
    </message>
    <message>
        <source>Grow the selection by a number of pixels</source>
        <translation>Die Auswahl um eine Anzahl Pixel vergrößern</translation>
    </message>
    <message>
        <source>&amp;Shrink...</source>
        <translation>Ver&amp;kleinern...</translation>
    </message>
    <message>
        <source>Shrink selection</source>
        <translation>Auswahl verkleinern</translation>
    </message>
    <message>
        <source>Shrink the selection by a number of pixels</source>
        <translation>Die Auswahl um eine Anzahl Pixel verkleinern</translation>
    </message>
    <message>
        <source>&amp;Refine Edges...</source>
        <translation>Kanten ver&amp;feinern...</translation>
    </message>
    <message>
        <source>Refine Edges</source>
        <translation>Kanten verfeinern</translation>
    </message>
    <message>
        <source>Snap the selection&apos;s boundary to the picture&apos;s edges</source>
        <translation>Den Rand der Auswahl an die Kanten des Bildes anlegen</translation>
    </message>
    <message>
        <source>Elliptic selection</source>
        <translation>Elliptische Auswahl</translation>
    </message>
    <message>
        <source>Rectangular selection</source>
        <translation>Rechteckige Auswahl</translation>
    </message>
    <message>
        <source>Polyline selection</source>
        <translation>Polygonauswahl</translation>
    </message>
    <message>
        <source>Free-hand selection</source>
        <translation>Freihandauswahl</translation>
    </message>
    <message>
        <source>Magic wand selection</source>
        <translation>Zauberstab</translation>
    </message>
    <message>
        <source>Select the region of similar colour around a click; drag sideways to change the tolerance</source>
        <translation>Den Bereich ähnlicher Farbe um die angeklickte Stelle auswählen; seitliches Ziehen ändert die Toleranz</translation>
    </message>
    <message>
        <source>Find surface</source>
        <translation>Fläche finden</translation>
    </message>
    <message>
        <source>Select a whole floor or wall from a click inside it, or from a rough rectangle or loop dragged around it</source>
        <translation>Einen ganzen Boden oder eine ganze Wand auswählen: mit einem Klick hinein oder mit einem groben Rechteck oder einer Schlinge darum herum</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Hand</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Hineinzoomen</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Herauszoomen</translation>
    </message>
    <message>
        <source>Original size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Die Werkzeugleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>Status Bar</source>
        <translation>Statusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Die Statusleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Banner</source>
        <translation>&amp;Hinweisleiste</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Hinweisleiste</translation>
    </message>
    <message>
        <source>Show or hide the banner</source>
        <translation>Die Hinweisleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Areas</source>
        <translation>&amp;Bereiche</translation>
    </message>
    <message>
        <source>Areas</source>
        <translation>Bereiche</translation>
    </message>
    <message>
        <source>&amp;Keep Shading</source>
        <translation>S&amp;chattierung beibehalten</translation>
    </message>
    <message>
        <source>Keep Shading</source>
        <translation>Schattierung beibehalten</translation>
    </message>
    <message>
        <source>Show the picture&apos;s light and shadow on the textures</source>
        <translation>Licht und Schatten des Bildes auf den Texturen zeigen</translation>
    </message>
    <message>
        <source>&amp;Perspective Grid</source>
        <translation>&amp;Perspektivraster</translation>
    </message>
    <message>
        <source>Perspective Grid</source>
        <translation>Perspektivraster</translation>
    </message>
    <message>
        <source>Show the texture&apos;s tile grid while the skew corners are edited</source>
        <translation>Das Fugenraster der Textur zeigen, während die Verzerrungsecken bearbeitet werden</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Neues Fenster</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Neues Fenster</translation>
    </message>
    <message>
        <source>Open another window for the active document</source>
        <translation>Ein weiteres Fenster für das aktive Dokument öffnen</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Cascade</source>
        <translation>Überlappend</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap</source>
        <translation>Die Fenster überlappend anordnen</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>Neben&amp;einander</translation>
    </message>
    <message>
        <source>Tile</source>
        <translation>Nebeneinander</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles</source>
        <translation>Die Fenster nebeneinander ohne Überlappung anordnen</translation>
    </message>
    <message>
        <source>&amp;More Windows...</source>
        <translation>&amp;Weitere Fenster...</translation>
    </message>
    <message>
        <source>More Windows</source>
        <translation>Weitere Fenster</translation>
    </message>
    <message>
        <source>Choose among all open windows</source>
        <translation>Unter allen offenen Fenstern wählen</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Symbole anordnen</translation>
    </message>
    <message>
        <source>Arrange Icons</source>
        <translation>Symbole anordnen</translation>
    </message>
    <message>
        <source>Arrange icons at the bottom of the window</source>
        <translation>Die Symbole am unteren Rand des Fensters anordnen</translation>
    </message>
    <message>
        <source>Activate this window</source>
        <translation>Dieses Fenster aktivieren</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>&amp;Hilfe...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Tilemont...</source>
        <translation>Ü&amp;ber Tilemont...</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Zoom to Fit</source>
        <translation>An Fenster anpassen</translation>
    </message>
    <message>
        <source>Show the whole picture in the window</source>
        <translation>Das ganze Bild im Fenster zeigen</translation>
    </message>
</context>
<context>
    <name>ExportFormats</name>
    <message>
        <source>BMP</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>Graphics Interchange Format (GIF)</source>
        <translation>Graphics Interchange Format (GIF)</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>TIFF</source>
        <translation>TIFF</translation>
    </message>
</context>
<context>
    <name>ExportRun</name>
    <message>
        <source>%1 could not be exported: %2</source>
        <translation>%1 konnte nicht exportiert werden: %2</translation>
    </message>
    <message>
        <source>the export was cancelled.</source>
        <translation>der Export wurde abgebrochen.</translation>
    </message>
    <message>
        <source>the template has no picture.</source>
        <translation>die Vorlage hat kein Bild.</translation>
    </message>
    <message>
        <source>the width and the height must be at least 1 pixel.</source>
        <translation>die Breite und die Höhe müssen mindestens 1 Pixel betragen.</translation>
    </message>
    <message>
        <source>there is no encoder for the chosen format.</source>
        <translation>für das gewählte Format gibt es keinen Encoder.</translation>
    </message>
    <message>
        <source>Composing</source>
        <translation>Zusammensetzen</translation>
    </message>
    <message>
        <source>there is not enough memory.</source>
        <translation>es ist nicht genug Speicher vorhanden.</translation>
    </message>
    <message>
        <source>Scaling</source>
        <translation>Skalieren</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kodieren</translation>
    </message>
    <message>
        <source>the encoder refused the image.</source>
        <translation>der Encoder hat das Bild abgelehnt.</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>ExportSize</name>
    <message>
        <source>%1 × %2 pixels is larger than the %3 megapixels an export may have.</source>
        <translation>%1 × %2 Pixel sind mehr als die %3 Megapixel, die ein Export haben darf.</translation>
    </message>
    <message>
        <source>Please enter a width and a height of at least 1 pixel.</source>
        <translation>Bitte geben Sie eine Breite und eine Höhe von mindestens 1 Pixel ein.</translation>
    </message>
</context>
<context>
    <name>GroupRender</name>
    <message>
        <source>there is not enough memory.</source>
        <translation>es ist nicht genug Speicher vorhanden.</translation>
    </message>
    <message>
        <source>the encoder refused the image.</source>
        <translation>der Encoder hat das Bild abgelehnt.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the template has no picture.</source>
        <translation>die Vorlage hat kein Bild.</translation>
    </message>
    <message>
        <source>the template has no such area.</source>
        <translation>die Vorlage hat keinen solchen Bereich.</translation>
    </message>
    <message>
        <source>the width and the height must be at least 1 pixel.</source>
        <translation>die Breite und die Höhe müssen mindestens 1 Pixel betragen.</translation>
    </message>
    <message>
        <source>there is no encoder for the chosen format.</source>
        <translation>für das gewählte Format gibt es keinen Encoder.</translation>
    </message>
    <message>
        <source>%1 is not a picture.</source>
        <translation>%1 ist kein Bild.</translation>
    </message>
    <message>
        <source>%1 exists already.</source>
        <translation>%1 ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>the image of %1 has that name already.</source>
        <translation>das Bild von %1 hat bereits diesen Namen.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Failed to open document.</source>
        <translation>Das Dokument konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Failed to save document.</source>
        <translation>Das Dokument konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Save the changes to these templates?

%1</source>
        <translation>Die Änderungen an diesen Vorlagen speichern?

%1</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>An attempt was made to access %1 past its end.</source>
        <translation>Es wurde versucht, über das Ende von %1 hinaus zuzugreifen.</translation>
    </message>
    <message>
        <source>%1 has a bad format.</source>
        <translation>%1 hat ein ungültiges Format.</translation>
    </message>
    <message>
        <source>%1 was not found.</source>
        <translation>%1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Access to %1 was denied.</source>
        <translation>Der Zugriff auf %1 wurde verweigert.</translation>
    </message>
    <message>
        <source>An unexpected error occurred while reading %1.</source>
        <translation>Beim Lesen von %1 ist ein unerwarteter Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Unable to write to %1, it is read-only or opened by someone else.</source>
        <translation>%1 kann nicht geschrieben werden: Die Datei ist schreibgeschützt oder von jemand anderem geöffnet.</translation>
    </message>
    <message>
        <source>An unexpected error occurred while writing %1.</source>
        <translation>Beim Schreiben von %1 ist ein unerwarteter Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Destination disk drive is full.</source>
        <translation>Das Ziellaufwerk ist voll.</translation>
    </message>
    <message>
        <source>%1 could not be read as a picture: the file is damaged or its format is not supported.</source>
        <translation>%1 konnte nicht als Bild gelesen werden: Die Datei ist beschädigt oder ihr Format wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>%1: %2 pictures cannot be read: %3.</source>
        <translation>%1: %2-Bilder können nicht gelesen werden: %3.</translation>
    </message>
    <message>
        <source>%1 is cut short or damaged: the picture and %2 of its %3 areas could be read; the rest is lost.</source>
        <translation>%1 ist unvollständig oder beschädigt: Das Bild und %2 seiner %3 Flächen konnten gelesen werden; der Rest ist verloren.</translation>
    </message>
    <message>
        <source>%1 is damaged: only part of it could be read.</source>
        <translation>%1 ist beschädigt: Nur ein Teil davon konnte gelesen werden.</translation>
    </message>
    <message>
        <source>%1 is damaged: only part of it could be read. Use it anyway?</source>
        <translation>%1 ist beschädigt: Nur ein Teil davon konnte gelesen werden. Trotzdem verwenden?</translation>
    </message>
    <message>
        <source>Do you want to delete selected area?</source>
        <translation>Möchten Sie den ausgewählten Bereich löschen?</translation>
    </message>
    <message>
        <source>Enter area name</source>
        <translation>Bereichsnamen eingeben</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>Tilemont files(*.tlm)|*.tlm|</source>
        <translation>Tilemont-Dateien(*.tlm)|*.tlm|</translation>
    </message>
    <message>
        <source>Create area</source>
        <translation>Bereich erstellen</translation>
    </message>
    <message>
        <source>Delete selected area</source>
        <translation>Ausgewählten Bereich löschen</translation>
    </message>
    <message>
        <source>Add selection to existing area</source>
        <translation>Auswahl zu bestehendem Bereich hinzufügen</translation>
    </message>
    <message>
        <source>Delete selection from existing area</source>
        <translation>Auswahl aus bestehendem Bereich entfernen</translation>
    </message>
    <message>
        <source>Select picture</source>
        <translation>Bild auswählen</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Move area</source>
        <translation>Bereich verschieben</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Texture</source>
        <translation>Textur</translation>
    </message>
    <message>
        <source>Do you want to use %1 as the picture of this template?</source>
        <translation>Möchten Sie %1 als Bild dieser Vorlage verwenden?</translation>
    </message>
    <message>
        <source>%1 is too large to be used as the picture.</source>
        <translation>%1 ist zu groß, um als Bild verwendet zu werden.</translation>
    </message>
    <message>
        <source>Perspective</source>
        <translation>Perspektive</translation>
    </message>
    <message>
        <source>Fit perspective</source>
        <translation>Perspektive ermitteln</translation>
    </message>
    <message>
        <source>Real size</source>
        <translation>Reale Größe</translation>
    </message>
    <message>
        <source>No perspective found in %1: too few straight edges. Drag the corners instead.</source>
        <translation>In %1 wurde keine Perspektive gefunden: zu wenige gerade Kanten. Ziehen Sie stattdessen die Ecken.</translation>
    </message>
    <message>
        <source>%1: the perspective and real-size values could not be read; the template opens without them.</source>
        <translation>%1: Die Werte für Perspektive und reale Größe konnten nicht gelesen werden; die Vorlage wird ohne sie geöffnet.</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Verlegemuster</translation>
    </message>
    <message>
        <source>%1: the laying patterns could not be read; the areas keep the textures laid from them.</source>
        <translation>%1: Die Verlegemuster konnten nicht gelesen werden; die Bereiche behalten die daraus verlegten Texturen.</translation>
    </message>
</context>
<context>
    <name>PictureFileFilter</name>
    <message>
        <source>All available formats(%1)|%2|All files(*.*)|*.*|</source>
        <translation>Alle unterstützten Formate(%1)|%2|Alle Dateien(*.*)|*.*|</translation>
    </message>
</context>
<context>
    <name>SelectMenu</name>
    <message>
        <source>Grow Selection</source>
        <translation>Auswahl vergrößern</translation>
    </message>
    <message>
        <source>Shrink Selection</source>
        <translation>Auswahl verkleinern</translation>
    </message>
    <message>
        <source>Grow the selection by (pixels):</source>
        <translation>Auswahl vergrößern um (Pixel):</translation>
    </message>
    <message>
        <source>Shrink the selection by (pixels):</source>
        <translation>Auswahl verkleinern um (Pixel):</translation>
    </message>
    <message>
        <source>Give a whole number of pixels from 1 to %1.</source>
        <translation>Geben Sie eine ganze Pixelzahl von 1 bis %1 an.</translation>
    </message>
</context>
<context>
    <name>TextureSizes</name>
    <message>
        <source>A texture&apos;s real width must be a length of more than 0 cm.</source>
        <translation>Die reale Breite einer Textur muss eine Länge von mehr als 0 cm sein.</translation>
    </message>
</context>
</TS>
