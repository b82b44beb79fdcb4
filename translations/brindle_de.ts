<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Brindle</source>
        <translation>Über Brindle</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brindle&lt;/b&gt;&lt;br&gt;Version %1&lt;br&gt;&lt;br&gt;Ready-made category folders, made in one run and undone in one press.&lt;br&gt;&lt;br&gt;Made by Quillmere.</source>
        <translation>&lt;b&gt;Brindle&lt;/b&gt;&lt;br&gt;Version %1&lt;br&gt;&lt;br&gt;Fertige Kategorieordner, in einem Durchgang angelegt und mit einem Klick rückgängig gemacht.&lt;br&gt;&lt;br&gt;Von Quillmere.</translation>
    </message>
    <message>
        <source>Visit the home page</source>
        <translation>Homepage besuchen</translation>
    </message>
</context>
<context>
    <name>Brindle</name>
    <message>
        <source>Information</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Undo Confirmation</source>
        <translation>Rückgängig machen bestätigen</translation>
    </message>
    <message>
        <source>
and %1 more</source>
        <translation>
und %1 weitere</translation>
    </message>
    <message>
        <source>Please select a task at left panel.</source>
        <translation>Bitte wählen Sie links eine Aufgabe aus.</translation>
    </message>
    <message>
        <source>You have not specified a valid target location!</source>
        <translation>Sie haben keinen gültigen Zielort angegeben!</translation>
    </message>
    <message>
        <source>Can not create target location:%1</source>
        <translation>Der Zielort kann nicht angelegt werden:%1</translation>
    </message>
    <message>
        <source>Can not create subfolder: %1</source>
        <translation>Der Unterordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>%1 subfolders were created successfully!
Open the target location now?</source>
        <translation>%1 Unterordner wurden erfolgreich angelegt!
Den Zielort jetzt öffnen?</translation>
    </message>
    <message>
        <source>The folder name &apos;%1&apos; would lead outside the target location, so it is not created, and neither is anything below it.</source>
        <translation>Der Ordnername &apos;%1&apos; würde aus dem Zielort hinausführen; der Ordner wird daher nicht angelegt, ebenso wenig alles darunter.</translation>
    </message>
    <message>
        <source>The folder name &apos;%1&apos; holds a control character, so it is not created, and neither is anything below it.</source>
        <translation>Der Ordnername &apos;%1&apos; enthält ein Steuerzeichen; der Ordner wird daher nicht angelegt, ebenso wenig alles darunter.</translation>
    </message>
    <message>
        <source>The target location &apos;%1&apos; holds a control character, so nothing is created.</source>
        <translation>Der Zielort &apos;%1&apos; enthält ein Steuerzeichen; daher wird nichts angelegt.</translation>
    </message>
    <message>
        <source>Another run or undo is in progress. Nothing was changed: try again when it has finished.</source>
        <translation>Ein anderer Durchgang oder eine andere Rücknahme läuft gerade. Es wurde nichts geändert: Versuchen Sie es noch einmal, sobald dieser Vorgang beendet ist.</translation>
    </message>
    <message>
        <source>Do you want to UNDO the last operation ?</source>
        <translation>Möchten Sie den letzten Vorgang RÜCKGÄNGIG machen?</translation>
    </message>
    <message>
        <source>Undo done.</source>
        <translation>Rückgängig gemacht.</translation>
    </message>
    <message>
        <source>The undo was stopped. The folders not yet moved to the trash stay in the undo list: press Undo again to go on.</source>
        <translation>Das Rückgängigmachen wurde angehalten. Die Ordner, die noch nicht in den Papierkorb verschoben wurden, bleiben in der Rückgängig-Liste: Klicken Sie erneut auf Rückgängig, um fortzufahren.</translation>
    </message>
    <message>
        <source>These lines of the undo list do not name a folder a run could have made, so they were left alone:
</source>
        <translation>Diese Zeilen der Rückgängig-Liste nennen keinen Ordner, den ein Durchgang angelegt haben könnte; sie wurden daher nicht angetastet:
</translation>
    </message>
    <message>
        <source>None of the folders the last run made is still there: the undo only empties the undo list.</source>
        <translation>Keiner der Ordner, die der letzte Durchgang angelegt hat, ist noch vorhanden: Das Rückgängigmachen leert nur die Rückgängig-Liste.</translation>
    </message>
    <message>
        <source>%1 folder made by the last run will go to the trash, from %2.</source>
        <translation>%1 Ordner des letzten Durchgangs wird in den Papierkorb verschoben, aus %2.</translation>
    </message>
    <message>
        <source>%1 folders made by the last run will go to the trash, from %2.</source>
        <translation>%1 Ordner des letzten Durchgangs werden in den Papierkorb verschoben, aus %2.</translation>
    </message>
    <message>
        <source>

These folders now also hold files or folders the last run did not make, which will go to the trash with them:
</source>
        <translation>

Diese Ordner enthalten inzwischen auch Dateien oder Ordner, die der letzte Durchgang nicht angelegt hat; sie kommen mit in den Papierkorb:
</translation>
    </message>
    <message>
        <source>

%1 line of the undo list names no folder a run could have made and will be left alone.</source>
        <translation>

%1 Zeile der Rückgängig-Liste nennt keinen Ordner, den ein Durchgang angelegt haben könnte, und wird nicht angetastet.</translation>
    </message>
    <message>
        <source>

%1 lines of the undo list name no folder a run could have made and will be left alone.</source>
        <translation>

%1 Zeilen der Rückgängig-Liste nennen keinen Ordner, den ein Durchgang angelegt haben könnte, und werden nicht angetastet.</translation>
    </message>
    <message>
        <source>These folders could not be moved to the trash and were left where they are:
</source>
        <translation>Diese Ordner konnten nicht in den Papierkorb verschoben werden und bleiben, wo sie sind:
</translation>
    </message>
    <message>
        <source>
The trash said: %1</source>
        <translation>
Meldung des Papierkorbs: %1</translation>
    </message>
    <message>
        <source>
They stay in the undo list: press Undo again to retry.</source>
        <translation>
Sie bleiben in der Rückgängig-Liste: Klicken Sie erneut auf Rückgängig, um es noch einmal zu versuchen.</translation>
    </message>
    <message>
        <source>No new name is inputted.</source>
        <translation>Es wurde kein neuer Name eingegeben.</translation>
    </message>
    <message>
        <source>You should remove one of following nine characters from input text, because they are prohibited in Windows filenames:  \ / : * ? &quot; &lt; &gt; |</source>
        <translation>Bitte entfernen Sie diese Zeichen aus der Eingabe, denn die folgenden neun Zeichen sind in Windows-Dateinamen verboten:  \ / : * ? &quot; &lt; &gt; |</translation>
    </message>
    <message>
        <source>The new filename: &apos;%1&apos; can not be renamed, because some names(con, aux, com1, lpt1, prn, nul) are reserved by Windows, you should use another name.</source>
        <translation>Der neue Dateiname &apos;%1&apos; ist nicht möglich, denn einige Namen (con, aux, com1, lpt1, prn, nul) sind von Windows reserviert; bitte wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>The new filename: &apos;%1&apos; can not be renamed, because the filename(plus path) is too long(&gt;255 characters), you should shorten it.</source>
        <translation>Der neue Dateiname &apos;%1&apos; ist nicht möglich, denn der Dateiname (samt Pfad) ist zu lang (mehr als 255 Zeichen); bitte kürzen Sie ihn.</translation>
    </message>
    <message>
        <source>These folders were left out of the tree file, because a tree file cannot hold their names or their paths are too long:
</source>
        <translation>Diese Ordner wurden nicht in die Baumdatei aufgenommen, weil eine Baumdatei ihre Namen nicht aufnehmen kann oder ihre Pfade zu lang sind:
</translation>
    </message>
    <message>
        <source>These folders were left out of the folder tree, because a tree file cannot hold their names:
</source>
        <translation>Diese Ordner wurden nicht in den Ordnerbaum aufgenommen, weil eine Baumdatei ihre Namen nicht aufnehmen kann:
</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is missing.</source>
        <translation>&apos;%1&apos; fehlt.</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Datei kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Datei kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>Invalid data type for &apos;Installdir&apos;</source>
        <translation>Ungültiger Datentyp für &apos;Installdir&apos;</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genug Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Unknown failure</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>CompanionDialog</name>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>FolderNameDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FoldermillDialog</name>
    <message>
        <source>Foldermill makes numbered folders in bulk: a name pattern, a first number and a count, such as Week 01 to Week 52.</source>
        <translation>Foldermill legt nummerierte Ordner in Serie an: ein Namensmuster, eine erste Nummer und eine Anzahl, etwa Woche 01 bis Woche 52.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Text File</source>
        <translation>Textdatei</translation>
    </message>
    <message>
        <source>Brindle -  create category&apos;s subfolders</source>
        <translation>Brindle - Unterordner für Kategorien anlegen</translation>
    </message>
    <message>
        <source>Folder tree</source>
        <translation>Ordnerbaum</translation>
    </message>
    <message>
        <source>Target Location: </source>
        <translation>Zielort: </translation>
    </message>
    <message>
        <source>Target Location</source>
        <translation>Zielort</translation>
    </message>
    <message>
        <source>Select a folder</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Create Now</source>
        <translation>Jetzt anlegen</translation>
    </message>
    <message>
        <source>Undo the last operation</source>
        <translation>Letzten Vorgang rückgängig machen</translation>
    </message>
    <message>
        <source>About Brindle</source>
        <translation>Über Brindle</translation>
    </message>
    <message>
        <source>Read help </source>
        <translation>Hilfe lesen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Sort a file</source>
        <translation>Datei sortieren</translation>
    </message>
    <message>
        <source>Add subfolder</source>
        <translation>Unterordner hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Save the tree structure</source>
        <translation>Baumstruktur speichern</translation>
    </message>
    <message>
        <source>Open a tree from a file</source>
        <translation>Baum aus einer Datei öffnen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Select a target location</source>
        <translation>Zielort auswählen</translation>
    </message>
    <message>
        <source>Mirror </source>
        <translation>Spiegeln </translation>
    </message>
    <message>
        <source>Choose </source>
        <translation>Auswahl </translation>
    </message>
    <message>
        <source>Add Subfolder</source>
        <translation>Unterordner hinzufügen</translation>
    </message>
    <message>
        <source>Add New Subfolder:</source>
        <translation>Neuer Unterordner:</translation>
    </message>
    <message>
        <source>Rename Folder</source>
        <translation>Ordner umbenennen</translation>
    </message>
    <message>
        <source>Rename Folder: </source>
        <translation>Ordner umbenennen: </translation>
    </message>
    <message>
        <source>Open </source>
        <translation>Öffnen </translation>
    </message>
    <message>
        <source>Select a folder to save its structure:</source>
        <translation>Ordner wählen, dessen Struktur gespeichert wird:</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>Create Now</source>
        <translation>Jetzt anlegen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>1 folder made</source>
        <translation>1 Ordner angelegt</translation>
    </message>
    <message>
        <source>%1 folders made</source>
        <translation>%1 Ordner angelegt</translation>
    </message>
    <message>
        <source>1 folder moved to the trash</source>
        <translation>1 Ordner in den Papierkorb verschoben</translation>
    </message>
    <message>
        <source>%1 folders moved to the trash</source>
        <translation>%1 Ordner in den Papierkorb verschoben</translation>
    </message>
</context>
<context>
    <name>RenamerDialog</name>
    <message>
        <source>Renamer renames many files at once: numbering, dates, search and replace, and changes of case, with a preview before anything is renamed.</source>
        <translation>Renamer benennt viele Dateien auf einmal um: Nummerierung, Datumsangaben, Suchen und Ersetzen sowie Groß- und Kleinschreibung, mit einer Vorschau, bevor etwas umbenannt wird.</translation>
    </message>
</context>
<context>
    <name>SorterDialog</name>
    <message>
        <source>Sorter tidies a folder by moving its files into subfolders by type: pictures, music, videos, documents, archives and programs, each in a folder of its own.</source>
        <translation>Sorter räumt einen Ordner auf, indem er dessen Dateien nach ihrer Art in Unterordner verschiebt: Bilder, Musik, Videos, Dokumente, Archive und Programme, jede Art in einem eigenen Ordner.</translation>
    </message>
</context>
<context>
    <name>TaskPanel</name>
    <message>
        <source>Create various category</source>
        <translation>Kategorien anlegen</translation>
    </message>
    <message>
        <source>book category</source>
        <translation>Bücher</translation>
    </message>
    <message>
        <source>photo category</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>music category</source>
        <translation>Musik</translation>
    </message>
    <message>
        <source>video category</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>singer category</source>
        <translation>Sänger</translation>
    </message>
    <message>
        <source>country category</source>
        <translation>Länder</translation>
    </message>
    <message>
        <source>software category</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>document category</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Save a folder structrue</source>
        <translation>Ordnerstruktur sichern</translation>
    </message>
    <message>
        <source>Load a folder structrue</source>
        <translation>Ordnerstruktur laden</translation>
    </message>
    <message>
        <source>Rename files</source>
        <translation>Dateien umbenennen</translation>
    </message>
    <message>
        <source>Auto-Classify files</source>
        <translation>Dateien einsortieren</translation>
    </message>
    <message>
        <source>Create bulk folders</source>
        <translation>Ordner in Serie anlegen</translation>
    </message>
    <message>
        <source>About Brindle</source>
        <translation>Über Brindle</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Trennlinie</translation>
    </message>
</context>
<context>
    <name>foldertree::TreeHistory</name>
    <message>
        <source>Undo </source>
        <translation>Rückgängig: </translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo </source>
        <translation>Wiederherstellen: </translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Add subfolder </source>
        <translation>Unterordner hinzufügen </translation>
    </message>
    <message>
        <source>Rename </source>
        <translation>Umbenennen </translation>
    </message>
    <message>
        <source>Delete </source>
        <translation>Löschen </translation>
    </message>
    <message>
        <source>Tick </source>
        <translation>Häkchen setzen </translation>
    </message>
    <message>
        <source>Untick </source>
        <translation>Häkchen entfernen </translation>
    </message>
</context>
</TS>
