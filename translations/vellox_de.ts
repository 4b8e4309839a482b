<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Check each SKIN and report its problems and the texts that do not read well, one line each.</source>
        <translation>Jeden SKIN prüfen und seine Probleme sowie die schlecht lesbaren Texte melden, je eine Zeile.</translation>
    </message>
    <message>
        <source>Write a skin made from the colours of PICTURE that reads well on it.</source>
        <translation>Einen Skin aus den Farben von PICTURE schreiben, der darauf gut lesbar ist.</translation>
    </message>
    <message>
        <source>Write SKIN with each text that does not read well given a readable colour of its hue.</source>
        <translation>SKIN schreiben, wobei jeder schlecht lesbare Text eine lesbare Farbe seines Farbtons erhält.</translation>
    </message>
    <message>
        <source>Edits the colour skin (skin.ini) of Zantho, draws skins as pictures and checks them.</source>
        <translation>Bearbeitet den Farb-Skin (skin.ini) von Zantho, zeichnet Skins als Bilder und prüft sie.</translation>
    </message>
    <message>
        <source>--%1 is %2, not &quot;%3&quot;.</source>
        <translation>--%1 ist %2, nicht „%3“.</translation>
    </message>
    <message>
        <source>--completion is bash or zsh, not &quot;%1&quot;.</source>
        <translation>--completion ist bash oder zsh, nicht „%1“.</translation>
    </message>
    <message>
        <source>--%1 is given more than once.</source>
        <translation>--%1 ist mehr als einmal angegeben.</translation>
    </message>
    <message>
        <source>--%1 goes only with %2.</source>
        <translation>--%1 gehört nur zu %2.</translation>
    </message>
    <message>
        <source>%1 wants -o OUT and no other skin.</source>
        <translation>%1 verlangt -o OUT und keinen weiteren Skin.</translation>
    </message>
    <message>
        <source>--check wants one or more skins.</source>
        <translation>--check verlangt einen oder mehrere Skins.</translation>
    </message>
    <message>
        <source>Standard input (-) can be read only once.</source>
        <translation>Die Standardeingabe (-) kann nur einmal gelesen werden.</translation>
    </message>
    <message>
        <source>Start with at most one skin.</source>
        <translation>Mit höchstens einem Skin starten.</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message>
        <source>Draw the preview of SKIN into a PNG picture, with no window; of each further SKIN too, into the folder -o names.</source>
        <translation>Die Vorschau von SKIN ohne Fenster in ein PNG-Bild zeichnen; ebenso jeden weiteren SKIN, in den Ordner, den -o nennt.</translation>
    </message>
    <message>
        <source>Draw the preview of each SKIN into one picture, four to a row, each named below it; -o names the picture.</source>
        <translation>Die Vorschau jedes SKIN in ein gemeinsames Bild zeichnen, vier je Reihe, jede darunter benannt; -o nennt das Bild.</translation>
    </message>
    <message>
        <source>With --fix: raise each panel whose texts no colour of their hue mends to the lowest opacity at which they read well.</source>
        <translation>Mit --fix: jede Fläche, deren Texte keine Farbe ihres Farbtons lesbar macht, auf die geringste Deckkraft anheben, bei der sie gut lesbar sind.</translation>
    </message>
    <message>
        <source>Where --render, --suggest, --fix or --gallery write: for --render or --gallery a %1 file (PNG without a suffix); - for standard output; a folder for several skins.</source>
        <translation>Wohin --render, --suggest, --fix oder --gallery schreiben: für --render oder --gallery eine Datei %1 (PNG ohne Endung); - für die Standardausgabe; ein Ordner für mehrere Skins.</translation>
    </message>
    <message>
        <source>With --render or --gallery: the preview&apos;s texts, %1.</source>
        <translation>Mit --render oder --gallery: die Texte der Vorschau, %1.</translation>
    </message>
    <message>
        <source>With --render or --gallery: draw as seen with %1. With --check: measure the texts as seen so, and compare the parts that must be told apart under it alone.</source>
        <translation>Mit --render oder --gallery: so zeichnen, wie es mit %1 gesehen wird. Mit --check: die Texte so gesehen messen und die Teile, die unterscheidbar sein müssen, nur unter diesem Sehen vergleichen.</translation>
    </message>
    <message>
        <source>With --vision %1: how strong, from %2 to %3 (%4 by default).</source>
        <translation>Mit --vision %1: wie stark, von %2 bis %3 (Vorgabe %4).</translation>
    </message>
    <message>
        <source>A skin to load on start (with --check, --render or --gallery: the skins to check or draw).</source>
        <translation>Ein Skin, der beim Start geladen wird (mit --check, --render oder --gallery: die zu prüfenden oder zu zeichnenden Skins).</translation>
    </message>
    <message>
        <source>Ask for one of --render, --check, --suggest, --fix and --gallery at a time.</source>
        <translation>Nur eine der Aufgaben --render, --check, --suggest, --fix und --gallery auf einmal angeben.</translation>
    </message>
    <message>
        <source>--render, --suggest, --fix or --gallery</source>
        <translation>--render, --suggest, --fix oder --gallery</translation>
    </message>
    <message>
        <source>--render, --check, --fix or --gallery</source>
        <translation>--render, --check, --fix oder --gallery</translation>
    </message>
    <message>
        <source>--render or --gallery</source>
        <translation>--render oder --gallery</translation>
    </message>
    <message>
        <source>--render, --gallery or --check</source>
        <translation>--render, --gallery oder --check</translation>
    </message>
    <message>
        <source>--severity goes only with --vision %1.</source>
        <translation>--severity gehört nur zu --vision %1.</translation>
    </message>
    <message>
        <source>--severity is a number from %1 to %2, not &quot;%3&quot;.</source>
        <translation>--severity ist eine Zahl von %1 bis %2, nicht „%3“.</translation>
    </message>
    <message>
        <source>Standard input (-) has no name for a picture in a folder; draw it alone, with -o FILE.</source>
        <translation>Die Standardeingabe (-) hat keinen Namen für ein Bild in einem Ordner; zeichnen Sie sie allein, mit -o DATEI.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; would both be drawn into &quot;%3&quot;.</source>
        <translation>„%1“ und „%2“ würden beide in „%3“ gezeichnet.</translation>
    </message>
    <message>
        <source>--render of several skins writes into a folder, and -o &quot;%1&quot; is none.</source>
        <translation>--render mehrerer Skins schreibt in einen Ordner, und -o „%1“ ist keiner.</translation>
    </message>
    <message>
        <source>--gallery wants one or more skins.</source>
        <translation>--gallery verlangt einen oder mehrere Skins.</translation>
    </message>
    <message>
        <source>%1 wants -o OUT.</source>
        <translation>%1 verlangt -o OUT.</translation>
    </message>
    <message>
        <source>--fix over a --background</source>
        <translation>--fix mit --background</translation>
    </message>
    <message>
        <source>With --render, --check, --fix or --gallery: the picture of the picture scene (PNG, JPEG, BMP or another format Qt reads).</source>
        <translation>Mit --render, --check, --fix oder --gallery: das Bild der Bildszene (PNG, JPEG, BMP oder ein anderes Format, das Qt liest).</translation>
    </message>
    <message>
        <source>With --suggest: the look, 1 light, 2 dark, 3 vivid or 4 muted.</source>
        <translation>Mit --suggest: der Stil, 1 hell, 2 dunkel, 3 kräftig oder 4 gedämpft.</translation>
    </message>
    <message>
        <source>%1 (the default)</source>
        <translation>%1 (Standard)</translation>
    </message>
    <message>
        <source>--variant is 1 (light), 2 (dark), 3 (vivid) or 4 (muted), not &quot;%1&quot;.</source>
        <translation>--variant ist 1 (hell), 2 (dunkel), 3 (kräftig) oder 4 (gedämpft), nicht „%1“.</translation>
    </message>
    <message>
        <source>Print the completion of these options for SHELL, bash or zsh, to be saved where the shell looks for it (see man vellox, or man ./vellox.1 beside the program).</source>
        <translation>Die Vervollständigung dieser Optionen für SHELL, bash oder zsh, ausgeben, um sie dort zu speichern, wo die Shell sie sucht (siehe man vellox, oder man ./vellox.1 neben dem Programm).</translation>
    </message>
    <message>
        <source>vellox: %1
Try &apos;vellox --help&apos;.
</source>
        <translation>vellox: %1
Mehr dazu mit „vellox --help“.
</translation>
    </message>
</context>
<context>
    <name>CommandOutput</name>
    <message>
        <source>&quot;%1&quot; is a link that the user %2 made in &quot;%3&quot;, a folder every user may write to; Vellox, as the system, follows such a link only for its owner or the folder&apos;s</source>
        <translation>„%1“ ist eine Verknüpfung, die der Benutzer %2 in „%3“ angelegt hat, einem Ordner, in den jeder Benutzer schreiben darf; Vellox folgt wie das System einer solchen Verknüpfung nur für ihren Besitzer oder den des Ordners</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>%1. Vellox writes no named pipe or device it is given by name; to write into one, give &quot;-o -&quot; and lead standard output there (&quot;-o - &gt; %2&quot;).</source>
        <translation>%1. Vellox schreibt in keine benannte Pipe und kein Gerät, die ihm mit Namen genannt werden; um hineinzuschreiben, geben Sie „-o -“ an und leiten Sie die Standardausgabe dorthin („-o - &gt; %2“).</translation>
    </message>
</context>
<context>
    <name>ControlLayout</name>
    <message>
        <source>Backround/Foreground</source>
        <translation>Hintergrund/Vordergrund</translation>
    </message>
    <message>
        <source>Select Item:</source>
        <translation>Element wählen:</translation>
    </message>
    <message>
        <source>Preview Color:</source>
        <translation>Vorschau:</translation>
    </message>
    <message>
        <source>Red:</source>
        <translation>Rot:</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green:</source>
        <translation>Grün:</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue:</source>
        <translation>Blau:</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation>Alpha:</translation>
    </message>
    <message>
        <source>Opacity</source>
        <translation>Alpha</translation>
    </message>
    <message>
        <source>Skin.ini Code:</source>
        <translation>INI-Code:</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Apply Change</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Skin.ini</source>
        <translation>Skin.ini</translation>
    </message>
    <message>
        <source>Preview Text</source>
        <translation>Vorschautext</translation>
    </message>
    <message>
        <source>Skinning text</source>
        <translation>Farbnamen</translation>
    </message>
    <message>
        <source>Actual text</source>
        <translation>Echter Text</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Color BG</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Picture BG</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Import Backround</source>
        <translation>Bild importieren</translation>
    </message>
    <message>
        <source>Project Name:</source>
        <translation>Projekt:</translation>
    </message>
    <message>
        <source>Create Package</source>
        <translation>Paket erstellen</translation>
    </message>
    <message>
        <source>     Vellox is a small side project for Zantho: pick a colour, see it on the Zantho screen at once, and take the skin with you. Many thanks to Quillon and Marrowen for their testing and ideas.</source>
        <translation>     Vellox ist ein kleines Nebenprojekt für Zantho: Farbe wählen, sofort auf dem Zantho-Bildschirm ansehen und den Skin mitnehmen. Vielen Dank an Quillon und Marrowen für ihre Tests und Ideen.</translation>
    </message>
    <message>
        <source>Vellox banner</source>
        <translation>Vellox-Banner</translation>
    </message>
    <message>
        <source>Preview Color</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Skin.ini Code</source>
        <translation>INI-Code</translation>
    </message>
    <message>
        <source>Project Name</source>
        <translation>Projekt</translation>
    </message>
</context>
<context>
    <name>Conversions</name>
    <message>
        <source>the code is empty</source>
        <translation>der Code ist leer</translation>
    </message>
    <message>
        <source>it has no red digits</source>
        <translation>dem Code fehlen die Ziffern für Rot</translation>
    </message>
    <message>
        <source>the red &quot;%1&quot; is not hexadecimal</source>
        <translation>der Wert für Rot, „%1“, ist nicht hexadezimal</translation>
    </message>
    <message>
        <source>it has no green digits</source>
        <translation>dem Code fehlen die Ziffern für Grün</translation>
    </message>
    <message>
        <source>the green &quot;%1&quot; is not hexadecimal</source>
        <translation>der Wert für Grün, „%1“, ist nicht hexadezimal</translation>
    </message>
    <message>
        <source>it has no blue digits</source>
        <translation>dem Code fehlen die Ziffern für Blau</translation>
    </message>
    <message>
        <source>the blue &quot;%1&quot; is not hexadecimal</source>
        <translation>der Wert für Blau, „%1“, ist nicht hexadezimal</translation>
    </message>
</context>
<context>
    <name>EditorWindow</name>
    <message>
        <source>Zantho Skin Files (*.ini)|*.ini</source>
        <translation>Zantho-Skin-Dateien (*.ini)|*.ini</translation>
    </message>
    <message>
        <source>Vellox was not closed properly. Restore the skin you were editing?</source>
        <translation>Vellox wurde nicht ordnungsgemäß beendet. Den zuletzt bearbeiteten Skin wiederherstellen?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program. The Skin.ini box holds text you typed, so Vellox has not read the file again; &quot;Load skin.ini...&quot; reads it.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert. Das Feld Skin.ini enthält von Ihnen eingegebenen Text, daher hat Vellox die Datei nicht neu gelesen; „Skin.ini laden...“ liest sie.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Load skin.ini...</source>
        <translation>Skin.ini laden...</translation>
    </message>
    <message>
        <source>Save skin.ini As...</source>
        <translation>Skin.ini speichern unter...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Skin Preview</source>
        <translation>Skin-Vorschau</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>How To Use</source>
        <translation>Bedienung</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Colour of %1</source>
        <translation>Farbe von %1</translation>
    </message>
    <message>
        <source>The skin could not be loaded.<byte value="xd"/>
%1</source>
        <translation>Der Skin konnte nicht geladen werden.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>The skin was not saved.<byte value="xd"/>
%1</source>
        <translation>Der Skin wurde nicht gespeichert.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Skin.ini saved to %1</source>
        <translation>Skin.ini gespeichert unter „%1“</translation>
    </message>
    <message>
        <source>Default.ini not found. Make sure it is in the Vellox directory.%1</source>
        <translation>Default.ini nicht gefunden. Stellen Sie sicher, dass sie im Vellox-Ordner liegt.%1</translation>
    </message>
    <message>
        <source>The working file could not be removed.<byte value="xd"/>
%1</source>
        <translation>Die Arbeitsdatei konnte nicht entfernt werden.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>The text you typed in the Skin.ini box cannot be kept on the disk, so a crash would lose it; it is still in the box, and &quot;Save As&quot; writes it. Vellox tells you when it can keep it again.<byte value="xd"/>
%1</source>
        <translation>Der Text, den Sie im Feld Skin.ini eingegeben haben, kann nicht auf dem Datenträger aufbewahrt werden, ein Absturz würde ihn also kosten; er steht weiter im Feld, und „Speichern unter“ schreibt ihn. Vellox sagt Ihnen, wenn es ihn wieder aufbewahren kann.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>The text you typed in the Skin.ini box is kept on the disk again, in &quot;%1&quot;.</source>
        <translation>Der Text, den Sie im Feld Skin.ini eingegeben haben, wird wieder auf dem Datenträger aufbewahrt, in „%1“.</translation>
    </message>
    <message>
        <source>%1, opacity %2 %</source>
        <translation>%1, Alpha %2 %</translation>
    </message>
    <message>
        <source>The colours cannot be kept on the disk, so a crash would lose the changes since; they are still in the window, and &quot;Save As&quot; writes them. Vellox tells you when it can keep them again.<byte value="xd"/>
%1</source>
        <translation>Die Farben können nicht auf dem Datenträger aufbewahrt werden, ein Absturz würde also alles seitdem Geänderte kosten; sie stehen weiter im Fenster, und „Speichern unter“ schreibt sie. Vellox sagt Ihnen, wenn es sie wieder aufbewahren kann.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>The colours are kept on the disk again, in &quot;%1&quot;.</source>
        <translation>Die Farben werden wieder auf dem Datenträger aufbewahrt, in „%1“.</translation>
    </message>
    <message>
        <source>the file is a picture (%1)</source>
        <translation>die Datei ist ein Bild (%1)</translation>
    </message>
    <message>
        <source>no line of it sets a colour item</source>
        <translation>keine ihrer Zeilen setzt ein Farbelement</translation>
    </message>
    <message>
        <source>Apply Change</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Restore Unsaved Work</source>
        <translation>Ungesicherte Arbeit wiederherstellen</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Load &quot;%1&quot;</source>
        <translation>„%1“ laden</translation>
    </message>
    <message>
        <source>Read &quot;%1&quot; Again</source>
        <translation>„%1“ neu einlesen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig:</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen:</translation>
    </message>
    <message>
        <source>%1 (%2)<byte value="xd"/>
<byte value="xd"/>
Continue?</source>
        <translation>%1 (%2)<byte value="xd"/>
<byte value="xd"/>
Fortfahren?</translation>
    </message>
</context>
<context>
    <name>Error</name>
    <message>
        <source>Subscript out of range</source>
        <translation>Index außerhalb des gültigen Bereichs</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Cannot load the skin &quot;%1&quot;: %2</source>
        <translation>Der Skin „%1“ kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot keep a copy of &quot;%1&quot;: %2</source>
        <translation>Von „%1“ kann keine Kopie aufbewahrt werden: %2</translation>
    </message>
    <message>
        <source>Cannot delete &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;: %2</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot listen at &quot;%1&quot;: %2</source>
        <translation>An „%1“ kann nicht gelauscht werden: %2</translation>
    </message>
    <message>
        <source>Cannot create a folder in &quot;%1&quot;: %2</source>
        <translation>In „%1“ kann kein Ordner angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot load the picture &quot;%1&quot;: %2</source>
        <translation>Das Bild „%1“ kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <source>Cannot encode a PNG picture for &quot;%1&quot;: %2</source>
        <translation>Für „%1“ kann kein PNG-Bild kodiert werden: %2</translation>
    </message>
    <message>
        <source>Cannot read the installed factory skin &quot;%1&quot;: %2</source>
        <translation>Der installierte Werks-Skin „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot replace &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht ersetzt werden: %2</translation>
    </message>
    <message>
        <source>Cannot keep &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht aufbewahrt werden: %2</translation>
    </message>
    <message>
        <source>A skin is not saved over &quot;%1&quot;: %2</source>
        <translation>Ein Skin wird nicht über „%1“ gespeichert: %2</translation>
    </message>
</context>
<context>
    <name>FileDrop</name>
    <message>
        <source>%1 items were dropped. Drop one file at a time.</source>
        <translation>%1 Elemente wurden abgelegt. Legen Sie jeweils nur eine Datei ab.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a file on this computer. Save it to a folder first, then drop that file.</source>
        <translation>„%1“ ist keine Datei auf diesem Computer. Speichern Sie sie zuerst in einem Ordner und legen Sie dann diese Datei ab.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder. Drop a file.</source>
        <translation>„%1“ ist ein Ordner. Legen Sie eine Datei ab.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation>„%1“ wurde nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>its folder may not be written to, and no copy of its content can be kept while it is rewritten there</source>
        <translation>in ihren Ordner darf nicht geschrieben werden, und solange sie dort neu geschrieben wird, kann keine Kopie ihres Inhalts aufbewahrt werden</translation>
    </message>
    <message>
        <source>%1; its earlier content is kept in &quot;%2&quot;</source>
        <translation>%1; ihr früherer Inhalt ist in „%2“ aufbewahrt</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file is %1; Vellox reads files of up to %2</source>
        <translation>die Datei ist %1 groß; Vellox liest Dateien bis %2</translation>
    </message>
    <message>
        <source>8-bit text cannot hold the characters %1</source>
        <translation>8-Bit-Text kann die Zeichen %1 nicht darstellen</translation>
    </message>
    <message>
        <source>8-bit text cannot hold the character %1</source>
        <translation>8-Bit-Text kann das Zeichen %1 nicht darstellen</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>eine benannte Pipe</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>no ordinary file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is %1, not a file</source>
        <translation>es ist %1, keine Datei</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>another file was put in its place while Vellox wrote it</source>
        <translation>während Vellox sie schrieb, wurde eine andere Datei an ihre Stelle gesetzt</translation>
    </message>
</context>
<context>
    <name>Gallery</name>
    <message>
        <source>%1: %2 scenes make too large a picture; nothing was written</source>
        <translation>%1: %2 Szenen ergeben ein zu großes Bild; nichts wurde geschrieben</translation>
    </message>
    <message>
        <source>%1: %2 of %3 skins cannot be drawn; nothing was written</source>
        <translation>%1: %2 von %3 Skins können nicht gezeichnet werden; nichts wurde geschrieben</translation>
    </message>
</context>
<context>
    <name>Guarded</name>
    <message>
        <source>Vellox could not finish this step: %1. Your work is kept as it was.</source>
        <translation>Vellox konnte diesen Schritt nicht beenden: %1. Ihre Arbeit bleibt, wie sie war.</translation>
    </message>
    <message>
        <source>Vellox could not finish this step for a reason it was not told. Your work is kept as it was.</source>
        <translation>Vellox konnte diesen Schritt aus einem Grund nicht beenden, der ihm nicht genannt wurde. Ihre Arbeit bleibt, wie sie war.</translation>
    </message>
</context>
<context>
    <name>KeptCopiesOffer</name>
    <message>
        <source>Vellox ended while saving &quot;%1&quot;. The file is whole and holds its new content, so the copy kept in &quot;%2&quot; was removed.</source>
        <translation>Vellox wurde beim Speichern von „%1“ beendet. Die Datei ist vollständig und enthält ihren neuen Inhalt, daher wurde die in „%2“ aufbewahrte Kopie entfernt.</translation>
    </message>
    <message>
        <source>Vellox ended while saving &quot;%1&quot;. The file is whole and holds its earlier content, so the copy kept in &quot;%2&quot; was removed.</source>
        <translation>Vellox wurde beim Speichern von „%1“ beendet. Die Datei ist vollständig und enthält ihren früheren Inhalt, daher wurde die in „%2“ aufbewahrte Kopie entfernt.</translation>
    </message>
    <message>
        <source>Vellox ended while saving &quot;%1&quot;, and the file is not whole. Its earlier content is kept in &quot;%2&quot;. Put it back?</source>
        <translation>Vellox wurde beim Speichern von „%1“ beendet, und die Datei ist unvollständig. Ihr früherer Inhalt ist in „%2“ aufbewahrt. Wiederherstellen?</translation>
    </message>
    <message>
        <source>%1

The copy stays in &quot;%2&quot;.</source>
        <translation>%1

Die Kopie bleibt in „%2“.</translation>
    </message>
    <message>
        <source>Vellox ended while saving &quot;%1&quot;, and the file is gone since. Its content before that save is kept in &quot;%2&quot;. Show the copy?</source>
        <translation>Vellox wurde beim Speichern von „%1“ beendet, und die Datei ist seitdem verschwunden. Ihr Inhalt vor diesem Speichern ist in „%2“ aufbewahrt. Die Kopie zeigen?</translation>
    </message>
    <message>
        <source>Vellox ended while saving &quot;%1&quot;, and the file was changed since. Its content before that save is kept in &quot;%2&quot;; the file is left as it is. Show the copy?</source>
        <translation>Vellox wurde beim Speichern von „%1“ beendet, und die Datei wurde seitdem geändert. Ihr Inhalt vor diesem Speichern ist in „%2“ aufbewahrt; die Datei bleibt, wie sie ist. Die Kopie zeigen?</translation>
    </message>
</context>
<context>
    <name>KeptCopy</name>
    <message>
        <source>it is not a folder</source>
        <translation>es ist kein Ordner</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>er gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users may open it (mode %1)</source>
        <translation>andere Benutzer dürfen ihn öffnen (Modus %1)</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be made: %2</source>
        <translation>der Ordner „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot hold it: %2</source>
        <translation>der Ordner „%1“ kann sie nicht aufnehmen: %2</translation>
    </message>
</context>
<context>
    <name>LocalChannel</name>
    <message>
        <source>the path &quot;%1&quot; is too long for a socket</source>
        <translation>der Pfad „%1“ ist zu lang für einen Socket</translation>
    </message>
</context>
<context>
    <name>Mending</name>
    <message>
        <source>reads %1 %2</source>
        <translation>erreicht %1 %2</translation>
    </message>
    <message>
        <source>%1: %2 -&gt; %3</source>
        <translation>%1: %2 -&gt; %3</translation>
    </message>
    <message>
        <source>%1, and %2</source>
        <translation>%1, und %2</translation>
    </message>
    <message>
        <source>does not make its texts read well even at 100 % opacity</source>
        <translation>macht die Texte darauf selbst bei 100 % Deckkraft nicht gut lesbar</translation>
    </message>
    <message>
        <source>at %1 %, the lowest opacity at which its texts can read well: %2 -&gt; %3</source>
        <translation>bei %1 %, der geringsten Deckkraft, bei der die Texte darauf gut lesbar sein können: %2 -&gt; %3</translation>
    </message>
    <message>
        <source>still reads %1 %2</source>
        <translation>erreicht noch immer nur %1 %2</translation>
    </message>
    <message>
        <source>%1: %2 -&gt; %3, which reads well on the gradient and as well as its hue can on the picture (%4)</source>
        <translation>%1: %2 -&gt; %3, gut lesbar auf dem Verlauf und auf dem Bild so gut, wie der Farbton es zulässt (%4)</translation>
    </message>
    <message>
        <source>once mended, %1</source>
        <translation>nach dem Ausbessern: %1</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>the picture is %1 × %2 pixels; Vellox takes pictures of up to %3 megapixels</source>
        <translation>das Bild hat %1 × %2 Pixel; Vellox nimmt Bilder bis %3 Megapixel</translation>
    </message>
    <message>
        <source>the PNG encoder ran out of memory</source>
        <translation>dem PNG-Kodierer ging der Speicher aus</translation>
    </message>
    <message>
        <source>the file ends early; it is damaged</source>
        <translation>die Datei endet vorzeitig; sie ist beschädigt</translation>
    </message>
    <message>
        <source>it is not a BMP or JPEG picture</source>
        <translation>es ist kein BMP- oder JPEG-Bild</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>the JPEG encoder failed</source>
        <translation>der JPEG-Kodierer ist fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>PNG Images (*.png)|*.png</source>
        <translation>PNG-Bilder (*.png)|*.png</translation>
    </message>
    <message>
        <source>Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png</source>
        <translation>Zantho-Hintergründe (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png</translation>
    </message>
    <message>
        <source>No Picture loaded. Please import picture before choosing this option.</source>
        <translation>Kein Bild geladen. Bitte importieren Sie ein Bild, bevor Sie diese Option wählen.</translation>
    </message>
    <message>
        <source>Sorry! .png&apos;s aren&apos;t supported yet for preview. Try saving as .bmp or .jpg.</source>
        <translation>Leider werden .png-Dateien in der Vorschau noch nicht unterstützt. Speichern Sie das Bild als .bmp oder .jpg.</translation>
    </message>
    <message>
        <source>Vellox Preview</source>
        <translation>Vellox-Vorschau</translation>
    </message>
    <message>
        <source>Colour background preview</source>
        <translation>Vorschau auf Farbhintergrund</translation>
    </message>
    <message>
        <source>Picture background preview</source>
        <translation>Vorschau auf Bildhintergrund</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid project name. A project name must not be empty or only spaces, must not be &quot;.&quot; or &quot;..&quot;, must not contain / or \, and must fit in a folder name.</source>
        <translation>„%1“ ist kein gültiger Projektname. Ein Projektname darf nicht leer sein oder nur aus Leerzeichen bestehen, nicht „.“ oder „..“ sein, weder / noch \ enthalten und muss in einen Ordnernamen passen.</translation>
    </message>
    <message>
        <source>A package named %1 already exists in My Projects.<byte value="xd"/>
Replace its skin and background?</source>
        <translation>Ein Paket namens %1 gibt es in My Projects bereits.<byte value="xd"/>
Skin und Hintergrund ersetzen?</translation>
    </message>
    <message>
        <source>Save Preview Image As...</source>
        <translation>Vorschaubild speichern unter...</translation>
    </message>
    <message>
        <source>Copy Preview Image</source>
        <translation>Vorschaubild kopieren</translation>
    </message>
    <message>
        <source>Check Readability</source>
        <translation>Lesbarkeit prüfen</translation>
    </message>
    <message>
        <source>Make &quot;%1&quot; Readable</source>
        <translation>„%1“ lesbar machen</translation>
    </message>
    <message>
        <source>Colours from Picture</source>
        <translation>Farben aus dem Bild</translation>
    </message>
    <message>
        <source>Simulate Colour Vision</source>
        <translation>Farbsehen simulieren</translation>
    </message>
    <message>
        <source>reads well</source>
        <translation>gut lesbar</translation>
    </message>
    <message>
        <source>hard to read</source>
        <translation>schwer lesbar</translation>
    </message>
    <message>
        <source>%1: %2 %3 — %4 (%5 reads well)</source>
        <translation>%1: %2 %3 — %4 (ab %5 gut lesbar)</translation>
    </message>
    <message>
        <source>Make &quot;%1&quot; Opaque Enough</source>
        <translation>„%1“ deckend genug machen</translation>
    </message>
    <message>
        <source>%1: %2 %3</source>
        <translation>%1: %2 %3</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>Not every text on %1 reads well, even at 100 % opacity.</source>
        <translation>Nicht jeder Text auf %1 ist gut lesbar, selbst bei 100 % Deckkraft.</translation>
    </message>
    <message>
        <source>%1: %2 %3 — %4 (%5 reads well); %6</source>
        <translation>%1: %2 %3 — %4 (ab %5 gut lesbar); %6</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>These texts are hard to read (%1 reads well):<byte value="xd"/>
%2</source>
        <translation>Diese Texte sind schwer lesbar (ab %1 gut lesbar):<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The background was not imported.<byte value="xd"/>
%1</source>
        <translation>Der Hintergrund wurde nicht importiert.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>The package %1 was not created.<byte value="xd"/>
%2</source>
        <translation>Das Paket %1 wurde nicht erstellt.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Package %1 saved in the Vellox directory in My Projects\%1%2</source>
        <translation>Paket %1 im Vellox-Ordner unter My Projects\%1 gespeichert%2</translation>
    </message>
    <message>
        <source>The preview image was not saved.<byte value="xd"/>
%1</source>
        <translation>Das Vorschaubild wurde nicht gespeichert.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>light</source>
        <translation>hell</translation>
    </message>
    <message>
        <source>dark</source>
        <translation>dunkel</translation>
    </message>
    <message>
        <source>vivid</source>
        <translation>kräftig</translation>
    </message>
    <message>
        <source>muted</source>
        <translation>gedämpft</translation>
    </message>
    <message>
        <source>Colours from Picture, %1 look</source>
        <translation>Farben aus dem Bild, Stil „%1“</translation>
    </message>
    <message>
        <source>All texts read well: each has a contrast of %1 or more with what lies beneath it.%2</source>
        <translation>Alle Texte sind gut lesbar: Jeder hat einen Kontrast von mindestens %1 zu dem, was darunter liegt.%2</translation>
    </message>
</context>
<context>
    <name>ProgramDirectory</name>
    <message>
        <source><byte value="xd"/>
The Vellox directory is &quot;%1&quot;.</source>
        <translation><byte value="xd"/>
Der Vellox-Ordner ist „%1“.</translation>
    </message>
</context>
<context>
    <name>QtDialogs</name>
    <message>
        <source>&amp;Opacity:</source>
        <translation>&amp;Deckkraft:</translation>
    </message>
</context>
<context>
    <name>Readability</name>
    <message>
        <source>on the gradient</source>
        <translation>auf dem Verlauf</translation>
    </message>
    <message>
        <source>on the picture</source>
        <translation>auf dem Bild</translation>
    </message>
    <message>
        <source>reads well on the gradient or on the picture, not both: %1</source>
        <translation>ist auf dem Verlauf oder auf dem Bild gut lesbar, nicht auf beiden: %1</translation>
    </message>
    <message>
        <source>change the gradient</source>
        <translation>ändern Sie den Verlauf</translation>
    </message>
    <message>
        <source>raise &quot;%1&quot;&apos;s opacity, or change the gradient</source>
        <translation>erhöhen Sie die Deckkraft von „%1“ oder ändern Sie den Verlauf</translation>
    </message>
    <message>
        <source>no colour reads better than %1 %2: %3</source>
        <translation>keine Farbe erreicht mehr als %1 %2: %3</translation>
    </message>
    <message>
        <source>no colour of its hue reads well %1</source>
        <translation>keine Farbe seines Farbtons ist %1 gut lesbar</translation>
    </message>
    <message>
        <source>raise &quot;%1&quot;&apos;s opacity</source>
        <translation>erhöhen Sie die Deckkraft von „%1“</translation>
    </message>
    <message>
        <source>the text lies on the bare picture</source>
        <translation>der Text liegt auf dem bloßen Bild</translation>
    </message>
    <message>
        <source>give &quot;%1&quot; the tone opposite the title&apos;s</source>
        <translation>geben Sie „%1“ den Ton, der dem des Titels entgegengesetzt ist</translation>
    </message>
    <message>
        <source>only the picture itself calms it</source>
        <translation>beruhigen kann ihn nur das Bild selbst</translation>
    </message>
    <message>
        <source>busy background %1 (RMS contrast %2; %3 slows reading): %4</source>
        <translation>unruhiger Hintergrund %1 (RMS-Kontrast %2; ab %3 verlangsamt er das Lesen): %4</translation>
    </message>
    <message>
        <source>no colour of its hue reads well %1; raise &quot;%2&quot;&apos;s opacity</source>
        <translation>keine Farbe seines Farbtons ist %1 gut lesbar; erhöhen Sie die Deckkraft von „%2“</translation>
    </message>
</context>
<context>
    <name>Render</name>
    <message>
        <source>%1: this is the skin &quot;%2&quot; itself; nothing was written</source>
        <translation>%1: das ist der Skin „%2“ selbst; nichts wurde geschrieben</translation>
    </message>
    <message>
        <source>%1: this is the picture &quot;%2&quot; itself; nothing was written</source>
        <translation>%1: das ist das Bild „%2“ selbst; nichts wurde geschrieben</translation>
    </message>
    <message>
        <source>%1: Vellox writes pictures as %2 (or PNG for a name without a suffix), not as .%3; nothing was written</source>
        <translation>%1: Vellox schreibt Bilder als %2 (oder PNG für einen Namen ohne Endung), nicht als .%3; nichts wurde geschrieben</translation>
    </message>
    <message>
        <source>Cannot write into the folder &quot;%1&quot;: %2</source>
        <translation>In den Ordner „%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>„%1“ ist kein Ordner</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 oder %2</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>The lock file &quot;%1&quot; is a link, and Vellox does not write through links. Remove it and start Vellox again.</source>
        <translation>Die Sperrdatei „%1“ ist eine Verknüpfung, und Vellox schreibt nicht durch Verknüpfungen. Entfernen Sie sie und starten Sie Vellox erneut.</translation>
    </message>
    <message>
        <source>The lock file &quot;%1&quot; belongs to the user %2: Vellox runs, or ran, from this folder as %2. Start it from a folder of your own.</source>
        <translation>Die Sperrdatei „%1“ gehört dem Benutzer %2: Vellox läuft oder lief aus diesem Ordner als %2. Starten Sie es aus einem eigenen Ordner.</translation>
    </message>
    <message>
        <source>Vellox cannot make its lock file &quot;%1&quot; in &quot;%2&quot;: %3. Without it a second Vellox could start on the same folder and remove this one&apos;s working files; make room there and start Vellox again.</source>
        <translation>Vellox kann seine Sperrdatei „%1“ in „%2“ nicht anlegen: %3. Ohne sie könnte ein zweites Vellox im selben Ordner starten und die Arbeitsdateien dieses Programms entfernen; schaffen Sie dort Platz und starten Sie Vellox erneut.</translation>
    </message>
    <message>
        <source>the system refused it</source>
        <translation>das System hat es verweigert</translation>
    </message>
    <message>
        <source>it has not said where it listens</source>
        <translation>es hat nicht mitgeteilt, wo es lauscht</translation>
    </message>
    <message>
        <source>it does not answer within %1 seconds (it may be stopped or busy)</source>
        <translation>es antwortet nicht innerhalb von %1 Sekunden (es ist vielleicht angehalten oder beschäftigt)</translation>
    </message>
    <message>
        <source>Vellox is already running from &quot;%1&quot;, but nothing could be handed to it: %2. Close it, or end it if it hangs, and start Vellox again.</source>
        <translation>Vellox läuft bereits aus „%1“, aber nichts konnte ihm übergeben werden: %2. Schließen Sie es oder beenden Sie es, falls es hängt, und starten Sie Vellox erneut.</translation>
    </message>
    <message>
        <source>Vellox cannot listen for later starts from &quot;%1&quot;, which would then start a second program on the same folder.<byte value="xd"/>
%2</source>
        <translation>Vellox kann nicht auf spätere Starts aus „%1“ lauschen, die dann ein zweites Programm im selben Ordner starten würden.<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SkinCheck</name>
    <message>
        <source>Cannot read standard input: it holds more than %1, the most Vellox reads of a skin</source>
        <translation>Die Standardeingabe kann nicht gelesen werden: Sie enthält mehr als %1, das Höchstmaß, das Vellox von einem Skin liest</translation>
    </message>
    <message>
        <source>%1 is not set, and the factory skin cannot give it: %2</source>
        <translation>%1 ist nicht gesetzt, und der Werks-Skin kann die Farbe nicht liefern: %2</translation>
    </message>
    <message>
        <source>%1 is not set, and the factory skin &quot;%2&quot; cannot give it: %3</source>
        <translation>%1 ist nicht gesetzt, und der Werks-Skin „%2“ kann die Farbe nicht liefern: %3</translation>
    </message>
    <message>
        <source>%1 is not set; it keeps the factory colour %2</source>
        <translation>%1 ist nicht gesetzt und behält die Werksfarbe %2</translation>
    </message>
    <message>
        <source>; no colour reads better than %1 there: %2</source>
        <translation>; keine Farbe erreicht dort mehr als %1: %2</translation>
    </message>
    <message>
        <source>%1 reads %2 %3%4 (%5 wanted%6)</source>
        <translation>%1 erreicht %2 %3%4 (%5 verlangt%6)</translation>
    </message>
    <message>
        <source> as seen with %1 at severity %2</source>
        <translation> gesehen mit %1 bei Schweregrad %2</translation>
    </message>
    <message>
        <source> as seen with %1</source>
        <translation> gesehen mit %1</translation>
    </message>
    <message>
        <source>%1%2: %3</source>
        <translation>%1%2: %3</translation>
    </message>
    <message>
        <source>Cannot read standard input: %1</source>
        <translation>Die Standardeingabe kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>%1 are not set; they keep their factory colours</source>
        <translation>%1 sind nicht gesetzt und behalten ihre Werksfarben</translation>
    </message>
</context>
<context>
    <name>SkinItems</name>
    <message>
        <source>[ Backgrounds ]</source>
        <translation>[ Hintergründe ]</translation>
    </message>
    <message>
        <source>BG Color 1</source>
        <translation>HG-Farbe 1</translation>
    </message>
    <message>
        <source>BG Color 2</source>
        <translation>HG-Farbe 2</translation>
    </message>
    <message>
        <source>Menu BG</source>
        <translation>Menü-HG</translation>
    </message>
    <message>
        <source>Menu Outline</source>
        <translation>Menürahmen</translation>
    </message>
    <message>
        <source>[ Text Colors ]</source>
        <translation>[ Textfarben ]</translation>
    </message>
    <message>
        <source>Title Color</source>
        <translation>Titelfarbe</translation>
    </message>
    <message>
        <source>Section Text Color</source>
        <translation>Abschnittstextfarbe</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Bottom Text Color</source>
        <translation>Fußtextfarbe</translation>
    </message>
    <message>
        <source>Title Shadow</source>
        <translation>Titelschatten</translation>
    </message>
    <message>
        <source>[ Selection Colors ]</source>
        <translation>[ Auswahlfarben ]</translation>
    </message>
    <message>
        <source>Select Item Color</source>
        <translation>Auswahlfarbe</translation>
    </message>
    <message>
        <source>Select Item Outline</source>
        <translation>Auswahlrahmen</translation>
    </message>
    <message>
        <source>Selected Item Text Color</source>
        <translation>Auswahltextfarbe</translation>
    </message>
    <message>
        <source>Change To Item Color</source>
        <translation>Wechselfarbe</translation>
    </message>
    <message>
        <source>Change To Item Outline</source>
        <translation>Wechselrahmen</translation>
    </message>
    <message>
        <source>Change To Item Text Color</source>
        <translation>Wechseltextfarbe</translation>
    </message>
    <message>
        <source>[ Popup Menu ]</source>
        <translation>[ Popup-Menü ]</translation>
    </message>
    <message>
        <source>Pop-up Title Color</source>
        <translation>Popup-Titelfarbe</translation>
    </message>
    <message>
        <source>Pop-Up BG Color</source>
        <translation>Popup-HG-Farbe</translation>
    </message>
    <message>
        <source>Pop-Up Outline Color</source>
        <translation>Popup-Rahmenfarbe</translation>
    </message>
    <message>
        <source>Pop-Up Selected Color</source>
        <translation>Popup-Auswahlfarbe</translation>
    </message>
    <message>
        <source>Not Supported Color</source>
        <translation>Farbe ‚nicht unterstützt‘</translation>
    </message>
</context>
<context>
    <name>SkinLint</name>
    <message>
        <source>the file is UTF-16 text; Vellox reads 8-bit text: save it as plain text (ANSI, Latin-1 or UTF-8 without a byte order mark)</source>
        <translation>die Datei ist UTF-16-Text; Vellox liest 8-Bit-Text: speichern Sie sie als reinen Text (ANSI, Latin-1 oder UTF-8 ohne Byte-Order-Mark)</translation>
    </message>
    <message>
        <source>a PNG picture</source>
        <translation>ein PNG-Bild</translation>
    </message>
    <message>
        <source>a JPEG picture</source>
        <translation>ein JPEG-Bild</translation>
    </message>
    <message>
        <source>a bitmap</source>
        <translation>eine Bitmap</translation>
    </message>
    <message>
        <source>a GIF picture</source>
        <translation>ein GIF-Bild</translation>
    </message>
    <message>
        <source>a PDF</source>
        <translation>ein PDF</translation>
    </message>
    <message>
        <source>a ZIP archive</source>
        <translation>ein ZIP-Archiv</translation>
    </message>
    <message>
        <source>a program</source>
        <translation>ein Programm</translation>
    </message>
    <message>
        <source>the file is %1, not a skin</source>
        <translation>die Datei ist %1, kein Skin</translation>
    </message>
    <message>
        <source>the file looks like UTF-16 text (every other byte is zero); Vellox reads 8-bit text: save it as plain text</source>
        <translation>die Datei sieht nach UTF-16-Text aus (jedes zweite Byte ist null); Vellox liest 8-Bit-Text: speichern Sie sie als reinen Text</translation>
    </message>
    <message>
        <source>the file holds binary data, not the text of a skin</source>
        <translation>die Datei enthält Binärdaten, nicht den Text eines Skins</translation>
    </message>
    <message>
        <source>line skipped: %1 has no &quot; = &quot; and no code</source>
        <translation>Zeile übersprungen: %1 hat kein „ = “ und keinen Code</translation>
    </message>
    <message>
        <source>line skipped: %1 is read only with exactly one space either side of &quot;=&quot; and no tab, as in &quot;%2 = %3&quot;</source>
        <translation>Zeile übersprungen: %1 wird nur mit genau einem Leerzeichen zu beiden Seiten von „=“ und ohne Tabulator gelesen, wie in „%2 = %3“</translation>
    </message>
    <message>
        <source>line skipped: &quot;%1&quot; is no item of a skin; did you mean &quot;%2&quot;?</source>
        <translation>Zeile übersprungen: „%1“ ist kein Element eines Skins; meinten Sie „%2“?</translation>
    </message>
    <message>
        <source>line skipped: &quot;%1&quot; is no item of a skin</source>
        <translation>Zeile übersprungen: „%1“ ist kein Element eines Skins</translation>
    </message>
    <message>
        <source>it has %1 digits after &quot;%2&quot;, not 8; Vellox reads it as 0x%3%4%5%6</source>
        <translation>er hat %1 Ziffern nach „%2“, nicht 8; Vellox liest ihn als 0x%3%4%5%6</translation>
    </message>
    <message>
        <source>the opacity &quot;%1&quot; is not hexadecimal; Vellox reads it as %2 %</source>
        <translation>die Deckkraft „%1“ ist nicht hexadezimal; Vellox liest sie als %2 %</translation>
    </message>
    <message>
        <source>it starts with &quot;%1&quot; where a skin has &quot;0x&quot;</source>
        <translation>er beginnt mit „%1“, wo ein Skin „0x“ hat</translation>
    </message>
    <message>
        <source>the file is empty; a skin sets its twenty colours, one a line</source>
        <translation>die Datei ist leer; ein Skin setzt seine zwanzig Farben, eine je Zeile</translation>
    </message>
    <message>
        <source>the file holds only blank lines; a skin sets its twenty colours, one a line</source>
        <translation>die Datei enthält nur leere Zeilen; ein Skin setzt seine zwanzig Farben, eine je Zeile</translation>
    </message>
    <message>
        <source>the lines end in LF alone, as Linux and macOS write them; Vellox ends a line only at CR LF or CR, so it reads the file from here on as one line, and %1 colour lines in it are not read: save the file with Windows (CR LF) line ends</source>
        <translation>die Zeilen enden nur mit LF, wie Linux und macOS sie schreiben; Vellox beendet eine Zeile nur bei CR LF oder CR, liest die Datei von hier an also als eine Zeile, und %1 Farbzeilen darin werden nicht gelesen: speichern Sie die Datei mit Windows-Zeilenenden (CR LF)</translation>
    </message>
    <message>
        <source>%1 is set again; Vellox uses this line&apos;s &quot;%2&quot;, not line %3&apos;s &quot;%4&quot;</source>
        <translation>%1 wird erneut gesetzt; Vellox verwendet „%2“ aus dieser Zeile, nicht „%4“ aus Zeile %3</translation>
    </message>
    <message>
        <source>the file starts with a UTF-8 byte order mark, which Vellox reads as part of the first key%1: save the file without it</source>
        <translation>die Datei beginnt mit einer UTF-8-Byte-Order-Mark, die Vellox als Teil des ersten Schlüssels liest%1: speichern Sie die Datei ohne sie</translation>
    </message>
    <message>
        <source>, so %1 on this line is skipped</source>
        <translation>, daher wird %1 in dieser Zeile übersprungen</translation>
    </message>
    <message>
        <source>no line sets a colour item: this is not a skin file</source>
        <translation>keine Zeile setzt ein Farbelement: das ist keine Skin-Datei</translation>
    </message>
    <message>
        <source>it is written as #RRGGBB; a skin writes colours as 0xAARRGGBB, here 0xFF%1</source>
        <translation>er ist als #RRGGBB geschrieben; ein Skin schreibt Farben als 0xAARRGGBB, hier 0xFF%1</translation>
    </message>
    <message>
        <source>it is written as #AARRGGBB; a skin writes colours as 0xAARRGGBB, here 0x%1</source>
        <translation>er ist als #AARRGGBB geschrieben; ein Skin schreibt Farben als 0xAARRGGBB, hier 0x%1</translation>
    </message>
    <message>
        <source>it starts with &quot;#&quot;; a skin writes colours as 0xAARRGGBB</source>
        <translation>er beginnt mit „#“; ein Skin schreibt Farben als 0xAARRGGBB</translation>
    </message>
    <message>
        <source>it is a decimal number; a skin writes colours as 0xAARRGGBB</source>
        <translation>er ist eine Dezimalzahl; ein Skin schreibt Farben als 0xAARRGGBB</translation>
    </message>
    <message>
        <source>it is a decimal number; a skin writes colours as 0xAARRGGBB, here %1</source>
        <translation>er ist eine Dezimalzahl; ein Skin schreibt Farben als 0xAARRGGBB, hier %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (%2)</source>
        <translation>„%1“ (%2)</translation>
    </message>
    <message>
        <source>%1 = %2: %3</source>
        <translation>%1 = %2: %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
</context>
<context>
    <name>StagedFolder</name>
    <message>
        <source>it is a link to &quot;%1&quot;, and Vellox does not write through links; remove the link or choose another project name.</source>
        <translation>es ist eine Verknüpfung auf „%1“, und Vellox schreibt nicht durch Verknüpfungen; entfernen Sie die Verknüpfung oder wählen Sie einen anderen Projektnamen.</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
</context>
<context>
    <name>Suggestion</name>
    <message>
        <source>no colour reads better than %1 there</source>
        <translation>keine Farbe erreicht dort mehr als %1</translation>
    </message>
    <message>
        <source>%1 reads %2 %3 (%4 wanted): %5</source>
        <translation>%1 erreicht %2 %3 (%4 verlangt): %5</translation>
    </message>
    <message>
        <source>the light look&apos;s gradient is darker at the top (lightness %1; %2 or more keeps the look), so that %3, in a colour that reads on the picture, reads on it too</source>
        <translation>der Verlauf des hellen Stils ist oben dunkler (Helligkeit %1; ab %2 bleibt der Stil), damit %3 in einer Farbe, die auf dem Bild gut lesbar ist, auch auf ihm gut lesbar ist</translation>
    </message>
    <message>
        <source>the light look&apos;s gradient is darker at the bottom (lightness %1; %2 or more keeps the look), so that %3, in a colour that reads on the picture, reads on it too</source>
        <translation>der Verlauf des hellen Stils ist unten dunkler (Helligkeit %1; ab %2 bleibt der Stil), damit %3 in einer Farbe, die auf dem Bild gut lesbar ist, auch auf ihm gut lesbar ist</translation>
    </message>
    <message>
        <source>the dark look&apos;s gradient is lighter at the top (lightness %1; %2 or less keeps the look), so that %3, in a colour that reads on the picture, reads on it too</source>
        <translation>der Verlauf des dunklen Stils ist oben heller (Helligkeit %1; bis %2 bleibt der Stil), damit %3 in einer Farbe, die auf dem Bild gut lesbar ist, auch auf ihm gut lesbar ist</translation>
    </message>
    <message>
        <source>the dark look&apos;s gradient is lighter at the bottom (lightness %1; %2 or less keeps the look), so that %3, in a colour that reads on the picture, reads on it too</source>
        <translation>der Verlauf des dunklen Stils ist unten heller (Helligkeit %1; bis %2 bleibt der Stil), damit %3 in einer Farbe, die auf dem Bild gut lesbar ist, auch auf ihm gut lesbar ist</translation>
    </message>
    <message>
        <source>the muted look&apos;s gradient is darker at the top (lightness %1; %2 or more keeps the look), so that %3, in a colour that reads on the picture, reads on it too</source>
        <translation>der Verlauf des gedämpften Stils ist oben dunkler (Helligkeit %1; ab %2 bleibt der Stil), damit %3 in einer Farbe, die auf dem Bild gut lesbar ist, auch auf ihm gut lesbar ist</translation>
    </message>
    <message>
        <source>the muted look&apos;s gradient is darker at the bottom (lightness %1; %2 or more keeps the look), so that %3, in a colour that reads on the picture, reads on it too</source>
        <translation>der Verlauf des gedämpften Stils ist unten dunkler (Helligkeit %1; ab %2 bleibt der Stil), damit %3 in einer Farbe, die auf dem Bild gut lesbar ist, auch auf ihm gut lesbar ist</translation>
    </message>
</context>
<context>
    <name>Telling</name>
    <message>
        <source>%1: %2</source>
        <extracomment>A file&apos;s path or name, then what went wrong with it.</extracomment>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TellingApart</name>
    <message>
        <source>normal vision</source>
        <translation>normalem Sehen</translation>
    </message>
    <message>
        <source>: they look alike</source>
        <translation>: sie sehen gleich aus</translation>
    </message>
    <message>
        <source>%1 at severity %2</source>
        <translation>%1 bei Schweregrad %2</translation>
    </message>
    <message>
        <source>with %1, %2 and %3 differ by ΔE00 %4 %5 (%6 wanted)%7</source>
        <translation>bei %1 unterscheiden sich %2 und %3 %5 um ΔE00 %4 (%6 verlangt)%7</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>.</source>
        <comment>the decimal sign</comment>
        <translation>,</translation>
    </message>
</context>
<context>
    <name>Vision</name>
    <message>
        <source>Protanomaly</source>
        <translation>Protanomalie</translation>
    </message>
    <message>
        <source>Protanopia</source>
        <translation>Protanopie</translation>
    </message>
    <message>
        <source>Deuteranomaly</source>
        <translation>Deuteranomalie</translation>
    </message>
    <message>
        <source>Deuteranopia</source>
        <translation>Deuteranopie</translation>
    </message>
    <message>
        <source>Tritanomaly</source>
        <translation>Tritanomalie</translation>
    </message>
    <message>
        <source>Tritanopia</source>
        <translation>Tritanopie</translation>
    </message>
    <message>
        <source>Achromatopsia</source>
        <translation>Achromatopsie</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
</context>
<context>
    <name>WorkingPicture</name>
    <message>
        <source>no picture has been imported</source>
        <translation>es wurde kein Bild importiert</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>the name &quot;%1&quot; is not valid UTF-8, and Vellox would read it as another name; rename the file</source>
        <translation>der Name „%1“ ist kein gültiges UTF-8, und Vellox würde ihn als anderen Namen lesen; benennen Sie die Datei um</translation>
    </message>
    <message>
        <source>an X display: DISPLAY is not set</source>
        <translation>eine X-Anzeige: DISPLAY ist nicht gesetzt</translation>
    </message>
    <message>
        <source>the X display &quot;%1&quot;</source>
        <translation>die X-Anzeige „%1“</translation>
    </message>
    <message>
        <source>the Wayland display &quot;%1&quot;</source>
        <translation>die Wayland-Anzeige „%1“</translation>
    </message>
    <message>
        <source>the platform &quot;%1&quot;</source>
        <translation>die Plattform „%1“</translation>
    </message>
    <message>
        <source> nor </source>
        <translation> und </translation>
    </message>
    <message>
        <source>there is no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set</source>
        <translation>es gibt keine Anzeige zum Öffnen: weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt</translation>
    </message>
    <message>
        <source>cannot open %1</source>
        <translation>nicht zu öffnen: %1</translation>
    </message>
    <message>
        <source>Vellox cannot write to its folder &quot;%1&quot; (%2), where it keeps its working files and packages.<byte value="xd"/>
<byte value="xd"/>
Copy the whole Vellox folder to a place of your own, such as your home folder, and start it from there.</source>
        <translation>Vellox kann nicht in seinen Ordner „%1“ schreiben (%2), in dem es seine Arbeitsdateien und Pakete ablegt.<byte value="xd"/>
<byte value="xd"/>
Kopieren Sie den ganzen Vellox-Ordner an einen eigenen Ort, etwa in Ihren persönlichen Ordner, und starten Sie es von dort.</translation>
    </message>
    <message>
        <source>Another user&apos;s program answers where Vellox running from &quot;%1&quot; would; nothing was handed over to it.</source>
        <translation>Das Programm eines anderen Benutzers antwortet dort, wo ein aus „%1“ laufendes Vellox antworten würde; ihm wurde nichts übergeben.</translation>
    </message>
    <message>
        <source>%1: it is a folder, not a skin file</source>
        <translation>%1: das ist ein Ordner, keine Skin-Datei</translation>
    </message>
    <message>
        <source>Vellox cannot set up its folder.<byte value="xd"/>
%1</source>
        <translation>Vellox kann seinen Ordner nicht einrichten.<byte value="xd"/>
%1</translation>
    </message>
</context>
</TS>
