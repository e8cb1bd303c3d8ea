<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Tremolux</source>
        <translation>Über Tremolux</translation>
    </message>
    <message>
        <source>Swiftlane software</source>
        <translation>Swiftlane-Software</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Swiftlane developers</source>
        <translation>Copyright (C) 2026 Swiftlane-Entwickler</translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation>Alle Rechte vorbehalten.</translation>
    </message>
</context>
<context>
    <name>CSerialLink</name>
    <message>
        <source>Failed to open
Com link %1</source>
        <translation>Öffnen fehlgeschlagen:
COM-Verbindung %1</translation>
    </message>
</context>
<context>
    <name>ConfigNameListDialog</name>
    <message>
        <source>Configure Name List</source>
        <translation>Namensliste einrichten</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Import a list of names from file</source>
        <translation>Namensliste aus Datei importieren</translation>
    </message>
    <message>
        <source>Import list</source>
        <translation>Liste importieren</translation>
    </message>
    <message>
        <source>Export list</source>
        <translation>Liste exportieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Text (*.txt *.csv)</source>
        <translation>Text (*.txt *.csv)</translation>
    </message>
    <message>
        <source>New subject</source>
        <translation>Neuer Athlet</translation>
    </message>
    <message>
        <source>Select file containing list of names</source>
        <translation>Datei mit Namensliste wählen</translation>
    </message>
    <message>
        <source>Select filename to save list of names</source>
        <translation>Dateiname zum Speichern der Namensliste wählen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>&quot;%1&quot; existiert bereits. Soll es ersetzt werden?</translation>
    </message>
    <message>
        <source>Subject names</source>
        <translation>Athletennamen</translation>
    </message>
</context>
<context>
    <name>ConfigRunDialog</name>
    <message>
        <source>Setup gate sequences</source>
        <translation>Strecken einrichten</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>Vorhanden</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Einrichten</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Total Distance (m)</source>
        <translation>Gesamtdistanz (m)</translation>
    </message>
    <message>
        <source>Hold-off (ms)</source>
        <translation>Sperrzeit (ms)</translation>
    </message>
    <message>
        <source>A break of the awaited gate this many milliseconds after that gate&apos;s last passage is ignored (0 to 5000; 0 switches it off)</source>
        <translation>Eine Unterbrechung der erwarteten Lichtschranke innerhalb so vieler Millisekunden nach ihrem letzten Durchgang wird ignoriert (0 bis 5000; 0 schaltet dies ab)</translation>
    </message>
    <message>
        <source>Available gates</source>
        <translation>Verfügbare Lichtschranken</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Selected gates</source>
        <translation>Gewählte Lichtschranken</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>Lichtschranke</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Confirm delete</source>
        <translation>Löschen bestätigen</translation>
    </message>
    <message>
        <source>Are you sure you wish to delete the selected gate sequence ?</source>
        <translation>Die gewählte Strecke wirklich löschen?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a number of metres from 0 to %2, such as 30 or %3.</source>
        <translation>&quot;%1&quot; muss eine Anzahl Meter von 0 bis %2 sein, etwa 30 oder %3.</translation>
    </message>
    <message>
        <source>&quot;Hold-off (ms)&quot; must be a whole number of milliseconds from 0 to %1.</source>
        <translation>&quot;Sperrzeit (ms)&quot; muss eine ganze Zahl von Millisekunden von 0 bis %1 sein.</translation>
    </message>
    <message>
        <source>A gate sequence needs at least two gates: the start and the finish.</source>
        <translation>Eine Strecke braucht mindestens zwei Lichtschranken: Start und Ziel.</translation>
    </message>
    <message>
        <source>The gate sequence was not saved. </source>
        <translation>Die Strecke wurde nicht gespeichert. </translation>
    </message>
    <message>
        <source>The gate sequence could not be saved to &quot;%1&quot;: %2.</source>
        <translation>Die Strecke konnte nicht unter &quot;%1&quot; gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Confirm replace</source>
        <translation>Ersetzen bestätigen</translation>
    </message>
    <message>
        <source>A gate sequence named &quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>Eine Strecke namens &quot;%1&quot; existiert bereits. Soll sie ersetzt werden?</translation>
    </message>
    <message>
        <source>The gate sequence &quot;%1&quot; has changes that are not saved. Save them?</source>
        <translation>Die Strecke &quot;%1&quot; hat ungespeicherte Änderungen. Speichern?</translation>
    </message>
    <message>
        <source>Available gate sequences</source>
        <translation>Vorhandene Strecken</translation>
    </message>
</context>
<context>
    <name>FileNameCheck</name>
    <message>
        <source>The name is empty.</source>
        <translation>Der Name ist leer.</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; is reserved for folders.</source>
        <translation>Der Name &quot;%1&quot; ist für Ordner reserviert.</translation>
    </message>
    <message>
        <source>The name must not contain &quot;/&quot;.</source>
        <translation>Der Name darf kein &quot;/&quot; enthalten.</translation>
    </message>
    <message>
        <source>The name must not contain control characters such as line ends or tabs.</source>
        <translation>Der Name darf keine Steuerzeichen wie Zeilenumbrüche oder Tabulatoren enthalten.</translation>
    </message>
</context>
<context>
    <name>GateListWidget</name>
    <message>
        <source>Gate %1</source>
        <translation>Lichtschranke %1</translation>
    </message>
</context>
<context>
    <name>GateSequence</name>
    <message>
        <source>A gate sequence holds at most %1 gates and a name of at most %2 characters.</source>
        <translation>Eine Strecke umfasst höchstens %1 Lichtschranken und einen Namen mit höchstens %2 Zeichen.</translation>
    </message>
    <message>
        <source>The hold-off of a gate sequence is from 0 to %1 ms.</source>
        <translation>Die Sperrzeit einer Strecke liegt zwischen 0 und %1 ms.</translation>
    </message>
</context>
<context>
    <name>MWGateSequenceWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Checkpoint #</source>
        <translation>Messpunkt #</translation>
    </message>
    <message>
        <source>Lamp png</source>
        <translation>Lamp png</translation>
    </message>
    <message>
        <source>Gate #</source>
        <translation>Schranke #</translation>
    </message>
    <message>
        <source>Start point</source>
        <translation>Startpunkt</translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation>Messpunkt %1</translation>
    </message>
    <message>
        <source>Gate %1</source>
        <translation>Schranke %1</translation>
    </message>
    <message>
        <source>Gate %1 passed</source>
        <translation>Lichtschranke %1 passiert</translation>
    </message>
    <message>
        <source>Gate %1 next</source>
        <translation>Lichtschranke %1 als Nächste</translation>
    </message>
    <message>
        <source>Gate %1 ahead</source>
        <translation>Lichtschranke %1 folgt</translation>
    </message>
</context>
<context>
    <name>NameListFile</name>
    <message>
        <source>a list of names</source>
        <translation>eine Namensliste</translation>
    </message>
    <message>
        <source>name %1 holds a line end</source>
        <translation>Name %1 enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>name %1 is %2 bytes long; a name may hold at most %3 bytes</source>
        <translation>Name %1 ist %2 Byte lang; ein Name darf höchstens %3 Byte haben</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>die Datei konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The list of names could not be read from &quot;%1&quot;: %2.</source>
        <translation>Die Namensliste konnte nicht aus &quot;%1&quot; gelesen werden: %2.</translation>
    </message>
    <message>
        <source>Imported %1 names from &quot;%2&quot;, then stopped: %3. The names from that line on were not imported.</source>
        <translation>%1 Namen aus &quot;%2&quot; importiert, dann abgebrochen: %3. Die Namen ab dieser Zeile wurden nicht importiert.</translation>
    </message>
    <message>
        <source>Imported %1 names from &quot;%2&quot;.</source>
        <translation>%1 Namen aus &quot;%2&quot; importiert.</translation>
    </message>
    <message>
        <source> %1: a name may hold tabs but no other control characters.</source>
        <translation> %1: Ein Name darf Tabulatoren enthalten, aber keine anderen Steuerzeichen.</translation>
    </message>
    <message>
        <source>The list of names could not be written to &quot;%1&quot;: %2. Nothing was written.</source>
        <translation>Die Namensliste konnte nicht in &quot;%1&quot; geschrieben werden: %2. Es wurde nichts geschrieben.</translation>
    </message>
</context>
<context>
    <name>OperatorTextFile</name>
    <message>
        <source>the file is %1 MB; %2 is at most %3 MB</source>
        <translation>die Datei hat %1 MB; %2 darf höchstens %3 MB haben</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is a named pipe, not a file</source>
        <translation>es ist eine Named Pipe, keine Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>es ist ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>es ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>The results of the finished run could not be written to the reports folder:
%1

They are kept and will be written as soon as the folder can be written again, at the end of a later run.</source>
        <translation>Die Ergebnisse des beendeten Laufs konnten nicht in den Berichtsordner geschrieben werden:
%1

Sie bleiben erhalten und werden geschrieben, sobald der Ordner wieder beschreibbar ist, am Ende eines späteren Laufs.</translation>
    </message>
</context>
<context>
    <name>ReportImport</name>
    <message>
        <source>has %1 fields where the header has %2</source>
        <translation>hat %1 Felder, die Kopfzeile aber %2</translation>
    </message>
    <message>
        <source>has no athlete name</source>
        <translation>hat keinen Athletennamen</translation>
    </message>
    <message>
        <source>field %1 (&quot;%2&quot;) is not a time, distance or speed</source>
        <translation>Feld %1 (&quot;%2&quot;) ist keine Zeit, Distanz oder Geschwindigkeit</translation>
    </message>
    <message>
        <source>its splits add up to %1 s, not to its total</source>
        <translation>die Zwischenzeiten ergeben zusammen %1 s, nicht die Gesamtzeit</translation>
    </message>
    <message>
        <source>is not the header of a Swiftlane report</source>
        <translation>ist nicht die Kopfzeile eines Swiftlane-Berichts</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 report file(s) read: %2 run(s) added, %3 already in the history.</source>
        <translation>%1 Berichtsdatei(en) gelesen; hinzugefügte Läufe: %2, bereits im Verlauf: %3.</translation>
    </message>
    <message>
        <source>
%1 run(s) could not be stored now (%2); importing again adds them.</source>
        <translation>
Jetzt nicht speicherbare Läufe: %1 (%2); erneutes Importieren fügt sie hinzu.</translation>
    </message>
    <message>
        <source>

%1 row(s) could not be read and were left out:</source>
        <translation>

%1 Zeile(n) nicht lesbar und ausgelassen:</translation>
    </message>
    <message>
        <source>
%1, row %2: %3</source>
        <translation>
%1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>
%1: %2</source>
        <translation>
%1: %2</translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation>
... und %1 weitere.</translation>
    </message>
</context>
<context>
    <name>ResultsExport</name>
    <message>
        <source>The workbook could not be made.</source>
        <translation>Die Arbeitsmappe konnte nicht erstellt werden.</translation>
    </message>
</context>
<context>
    <name>ResultsRecorder</name>
    <message>
        <source>Finished runs cannot be stored in the results history:
%1

%2

Timing and the report file go on. The runs are kept and stored as soon as the history can be written again, at the latest at the next start from the report files.</source>
        <translation>Beendete Läufe können nicht im Ergebnisverlauf gespeichert werden:
%1

%2

Zeitmessung und Berichtsdatei laufen weiter. Die Läufe bleiben erhalten und werden gespeichert, sobald der Verlauf wieder beschreibbar ist, spätestens beim nächsten Start aus den Berichtsdateien.</translation>
    </message>
</context>
<context>
    <name>ResultsRunsModel</name>
    <message>
        <source>invalid</source>
        <translation>ungültig</translation>
    </message>
    <message>
        <source>simulated</source>
        <translation>simuliert</translation>
    </message>
    <message>
        <source>PB</source>
        <translation>PB</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>UTC-Versatz</translation>
    </message>
    <message>
        <source>Athlete</source>
        <translation>Athlet</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Strecke</translation>
    </message>
    <message>
        <source>Total (s)</source>
        <translation>Gesamt (s)</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Bestzeit</translation>
    </message>
    <message>
        <source>Splits (s)</source>
        <translation>Zwischenzeiten (s)</translation>
    </message>
    <message>
        <source>Speed (m/s)</source>
        <translation>Geschw. (m/s)</translation>
    </message>
    <message>
        <source>Distance (m)</source>
        <translation>Distanz (m)</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Simulated</source>
        <translation>Simuliert</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>ResultsStore</name>
    <message>
        <source>The SQLite driver of Qt is not installed (libqt6sql6-sqlite).</source>
        <translation>Der SQLite-Treiber von Qt ist nicht installiert (libqt6sql6-sqlite).</translation>
    </message>
    <message>
        <source>The results database cannot be read.</source>
        <translation>Die Ergebnisdatenbank kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The results database was written by a newer Swiftlane (version %1). It is shown read-only and new runs are not stored in it.</source>
        <translation>Die Ergebnisdatenbank wurde von einem neueren Swiftlane (Version %1) geschrieben. Sie wird schreibgeschützt angezeigt, und neue Läufe werden nicht darin gespeichert.</translation>
    </message>
    <message>
        <source>The results database cannot be set up.</source>
        <translation>Die Ergebnisdatenbank kann nicht eingerichtet werden.</translation>
    </message>
    <message>
        <source>The results database cannot be opened.</source>
        <translation>Die Ergebnisdatenbank kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>ResultsWindow</name>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>&amp;Athlete</source>
        <translation>&amp;Athlet</translation>
    </message>
    <message>
        <source>C&amp;ourse</source>
        <translation>&amp;Strecke</translation>
    </message>
    <message>
        <source>&amp;Best per athlete</source>
        <translation>&amp;Bestzeit je Athlet</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>&amp;From</source>
        <translation>&amp;Von</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>&amp;To</source>
        <translation>B&amp;is</translation>
    </message>
    <message>
        <source>Show &amp;simulated runs</source>
        <translation>Simulierte Läufe &amp;zeigen</translation>
    </message>
    <message>
        <source>All dates</source>
        <translation>Alle Tage</translation>
    </message>
    <message>
        <source>Runs</source>
        <translation>Läufe</translation>
    </message>
    <message>
        <source>&amp;Reason</source>
        <translation>&amp;Grund</translation>
    </message>
    <message>
        <source>slipped</source>
        <translation>ausgerutscht</translation>
    </message>
    <message>
        <source>false start</source>
        <translation>Fehlstart</translation>
    </message>
    <message>
        <source>gate missed</source>
        <translation>Lichtschranke verfehlt</translation>
    </message>
    <message>
        <source>Mark &amp;invalid</source>
        <translation>&amp;Ungültig markieren</translation>
    </message>
    <message>
        <source>The run stays in the history, greyed, and counts for no best, ranking or progress</source>
        <translation>Der Lauf bleibt ausgegraut im Verlauf und zählt für keine Bestzeit, Rangliste oder Entwicklung</translation>
    </message>
    <message>
        <source>R&amp;estore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation>&amp;CSV exportieren...</translation>
    </message>
    <message>
        <source>Export E&amp;xcel...</source>
        <translation>E&amp;xcel exportieren...</translation>
    </message>
    <message>
        <source>Athlete</source>
        <translation>Athlet</translation>
    </message>
    <message>
        <source>Choose an athlete and a course above.</source>
        <translation>Oben einen Athleten und eine Strecke wählen.</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sitzung</translation>
    </message>
    <message>
        <source>Se&amp;ssion</source>
        <translation>Si&amp;tzung</translation>
    </message>
    <message>
        <source>Import report files</source>
        <translation>Berichtsdateien importieren</translation>
    </message>
    <message>
        <source>Adds the runs of every report in the reports folder that the history lacks</source>
        <translation>Fügt die Läufe aller Berichte im Berichtsordner hinzu, die im Verlauf fehlen</translation>
    </message>
    <message>
        <source>Import a report file...</source>
        <translation>Berichtsdatei importieren...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>(all athletes)</source>
        <translation>(alle Athleten)</translation>
    </message>
    <message>
        <source>(all courses)</source>
        <translation>(alle Strecken)</translation>
    </message>
    <message>
        <source>(any)</source>
        <translation>(beliebig)</translation>
    </message>
    <message>
        <source>1 run</source>
        <translation>1 Lauf</translation>
    </message>
    <message>
        <source>%1 runs</source>
        <translation>%1 Läufe</translation>
    </message>
    <message>
        <source>More than %1 runs</source>
        <translation>Mehr als %1 Läufe</translation>
    </message>
    <message>
        <source> - read-only: </source>
        <translation> - schreibgeschützt: </translation>
    </message>
    <message>
        <source>The results history cannot be opened: </source>
        <translation>Der Ergebnisverlauf kann nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>%1 on %2: personal best %3 s on %4</source>
        <translation>%1 auf %2: persönliche Bestzeit %3 s am %4</translation>
    </message>
    <message>
        <source>%1 has no valid run on %2.</source>
        <translation>%1 hat keinen gültigen Lauf auf %2.</translation>
    </message>
    <message>
        <source>Best (s)</source>
        <translation>Bestzeit (s)</translation>
    </message>
    <message>
        <source>Change (s)</source>
        <translation>Änderung (s)</translation>
    </message>
    <message>
        <source> (from %1)</source>
        <translation> (aus %1)</translation>
    </message>
    <message>
        <source>, %1 run(s)</source>
        <translation>, Läufe: %1</translation>
    </message>
    <message>
        <source>no valid run</source>
        <translation>kein gültiger Lauf</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Rang</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Strecke</translation>
    </message>
    <message>
        <source>Checkpoint</source>
        <translation>Messpunkt</translation>
    </message>
    <message>
        <source>Best split (s)</source>
        <translation>Beste Zwischenzeit (s)</translation>
    </message>
    <message>
        <source>By</source>
        <translation>Athlet</translation>
    </message>
    <message>
        <source>Mark invalid</source>
        <translation>Ungültig markieren</translation>
    </message>
    <message>
        <source>Select the run to mark invalid first.</source>
        <translation>Zuerst den Lauf wählen, der als ungültig markiert werden soll.</translation>
    </message>
    <message>
        <source>Choose or type the reason the run is invalid.</source>
        <translation>Grund wählen oder eingeben, warum der Lauf ungültig ist.</translation>
    </message>
    <message>
        <source>The run could not be marked: %1</source>
        <translation>Der Lauf konnte nicht markiert werden: %1</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>The run could not be restored: %1</source>
        <translation>Der Lauf konnte nicht wiederhergestellt werden: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>&quot;%1&quot; existiert bereits. Soll es ersetzt werden?</translation>
    </message>
    <message>
        <source>Export results as CSV</source>
        <translation>Ergebnisse als CSV exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Export results as an Excel workbook</source>
        <translation>Ergebnisse als Excel-Arbeitsmappe exportieren</translation>
    </message>
    <message>
        <source>Export results</source>
        <translation>Ergebnisse exportieren</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation>&quot;%1&quot; konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Import a report file</source>
        <translation>Berichtsdatei importieren</translation>
    </message>
    <message>
        <source>Swiftlane reports (Swiftlane_*.csv);;CSV files (*.csv)</source>
        <translation>Swiftlane-Berichte (Swiftlane_*.csv);;CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Excel workbooks (*.xlsx)</source>
        <translation>Excel-Arbeitsmappen (*.xlsx)</translation>
    </message>
    <message>
        <source>Run list</source>
        <translation>Laufliste</translation>
    </message>
    <message>
        <source>Sessions of the athlete</source>
        <translation>Sitzungen des Athleten</translation>
    </message>
    <message>
        <source>Ranking</source>
        <translation>Rangliste</translation>
    </message>
    <message>
        <source>Best splits</source>
        <translation>Beste Zwischenzeiten</translation>
    </message>
</context>
<context>
    <name>RunDisplayDialog</name>
    <message>
        <source>Swiftlane</source>
        <translation>Swiftlane</translation>
    </message>
    <message>
        <source>test text</source>
        <translation>test text</translation>
    </message>
</context>
<context>
    <name>RunDisplayGateWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Checkpoint ##</source>
        <translation>Messpunkt ##</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Zeit:</translation>
    </message>
    <message>
        <source>Best:</source>
        <translation>Bestzeit:</translation>
    </message>
    <message>
        <source>Start Point</source>
        <translation>Startpunkt</translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation>Messpunkt %1</translation>
    </message>
</context>
<context>
    <name>SLMain</name>
    <message>
        <source>Recording stopped</source>
        <translation>Aufzeichnung beendet</translation>
    </message>
    <message>
        <source>Select RFID tag / name file</source>
        <translation>RFID-Tag-/Namensdatei wählen</translation>
    </message>
    <message>
        <source>Text (*.txt *.csv)</source>
        <translation>Text (*.txt *.csv)</translation>
    </message>
    <message>
        <source>Import RFID tags and names</source>
        <translation>RFID-Tags und Namen importieren</translation>
    </message>
    <message>
        <source>Cannot read %1:
%2</source>
        <translation>%1 kann nicht gelesen werden:
%2</translation>
    </message>
    <message>
        <source>Swiftlane COM Port</source>
        <translation>Swiftlane-COM-Port</translation>
    </message>
    <message>
        <source>The result of 1 finished run could not be written to the reports folder:
%1

</source>
        <translation>Das Ergebnis eines beendeten Laufs konnte nicht in den Berichtsordner geschrieben werden:
%1

</translation>
    </message>
    <message>
        <source>The results of %1 finished runs could not be written to the reports folder:
%2

</source>
        <translation>Die Ergebnisse von %1 beendeten Läufen konnten nicht in den Berichtsordner geschrieben werden:
%2

</translation>
    </message>
    <message>
        <source>Saving in the temporary folder failed too, so they could not be saved anywhere; they were printed on the error output (stderr) instead.</source>
        <translation>Auch das Speichern im temporären Ordner ist fehlgeschlagen, sie konnten also nirgends gespeichert werden; stattdessen wurden sie auf der Fehlerausgabe (stderr) ausgegeben.</translation>
    </message>
    <message>
        <source>Saved instead in:
%1</source>
        <translation>Stattdessen gespeichert in:
%1</translation>
    </message>
    <message>
        <source>Report not written</source>
        <translation>Bericht nicht geschrieben</translation>
    </message>
    <message>
        <source>Swiftlane could not read its settings file:
%1

The subject list, the chosen subject and gate sequence, auto-advance and the window sizes start from their defaults.</source>
        <translation>Swiftlane konnte seine Einstellungsdatei nicht lesen:
%1

Athletenliste, gewählter Athlet und gewählte Strecke, automatisches Weiterschalten und Fenstergrößen beginnen mit ihren Standardwerten.</translation>
    </message>
    <message>
        <source>Swiftlane could not save its settings file:
%1

The subject list, the chosen subject and gate sequence, auto-advance and the window sizes will not be there at the next start.</source>
        <translation>Swiftlane konnte seine Einstellungsdatei nicht speichern:
%1

Athletenliste, gewählter Athlet und gewählte Strecke, automatisches Weiterschalten und Fenstergrößen sind beim nächsten Start nicht vorhanden.</translation>
    </message>
    <message>
        <source>Settings not kept</source>
        <translation>Einstellungen nicht erhalten</translation>
    </message>
    <message>
        <source> Timing is not affected.</source>
        <translation> Die Zeitmessung ist nicht betroffen.</translation>
    </message>
    <message>
        <source>Select list of names file</source>
        <translation>Namenslisten-Datei wählen</translation>
    </message>
    <message>
        <source>Import list of names</source>
        <translation>Namensliste importieren</translation>
    </message>
    <message>
        <source>Save To File</source>
        <translation>In Datei speichern</translation>
    </message>
    <message>
        <source>Select file name:</source>
        <translation>Dateiname wählen:</translation>
    </message>
    <message>
        <source>Export list of names</source>
        <translation>Namensliste exportieren</translation>
    </message>
    <message>
        <source>The list of names was not exported. </source>
        <translation>Die Namensliste wurde nicht exportiert. </translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>&quot;%1&quot; existiert bereits. Soll es ersetzt werden?</translation>
    </message>
    <message>
        <source>List of names saved to %1</source>
        <translation>Namensliste gespeichert in %1</translation>
    </message>
    <message>
        <source>Results not stored</source>
        <translation>Ergebnisse nicht gespeichert</translation>
    </message>
    <message>
        <source>Run in Progress</source>
        <translation>Lauf aktiv</translation>
    </message>
    <message>
        <source>Do you wish to abort the current run ?</source>
        <translation>Den aktuellen Lauf abbrechen?</translation>
    </message>
    <message>
        <source>Please enter a subject name
</source>
        <translation>Bitte einen Athletennamen eingeben
</translation>
    </message>
    <message>
        <source>Some gates in the gate sequence are either not ready or not present</source>
        <translation>Einige Lichtschranken der Strecke sind nicht bereit oder nicht vorhanden</translation>
    </message>
    <message>
        <source>Problem starting run</source>
        <translation>Problem beim Starten des Laufs</translation>
    </message>
    <message>
        <source>About to start in %1</source>
        <translation>Start in %1</translation>
    </message>
    <message>
        <source>Waiting for start gate</source>
        <translation>Warten auf Start-Lichtschranke</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>A run is in progress. Exit and drop it?</source>
        <translation>Ein Lauf ist aktiv. Beenden und den Lauf verwerfen?</translation>
    </message>
    <message>
        <source>Reports folder</source>
        <translation>Berichtsordner</translation>
    </message>
    <message>
        <source>The desktop could not open the reports folder. It is:
%1</source>
        <translation>Der Desktop konnte den Berichtsordner nicht öffnen. Er befindet sich hier:
%1</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>No report has been written yet. Reports are kept in:
%1</source>
        <translation>Es wurde noch kein Bericht geschrieben. Berichte werden abgelegt in:
%1</translation>
    </message>
    <message>
        <source>The desktop could not open the report. It is:
%1</source>
        <translation>Der Desktop konnte den Bericht nicht öffnen. Er befindet sich hier:
%1</translation>
    </message>
</context>
<context>
    <name>SLMainWindow</name>
    <message>
        <source>Swiftlane</source>
        <translation>Swiftlane</translation>
    </message>
    <message>
        <source>Swiftlane system</source>
        <translation>Swiftlane-System</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Shows the status of the gate</source>
        <translation>Zeigt den Status der Lichtschranke</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Master</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Slave 1</source>
        <translation>Slave 1</translation>
    </message>
    <message>
        <source>Slave 2</source>
        <translation>Slave 2</translation>
    </message>
    <message>
        <source>Slave 3</source>
        <translation>Slave 3</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sitzung</translation>
    </message>
    <message>
        <source>Subject name:</source>
        <translation>Athlet:</translation>
    </message>
    <message>
        <source>Configure the list of names</source>
        <translation>Namensliste einrichten</translation>
    </message>
    <message>
        <source>RFID scan</source>
        <translation>RFID-Scan</translation>
    </message>
    <message>
        <source>Gate sequence:</source>
        <translation>Strecke:</translation>
    </message>
    <message>
        <source>Configure Gate Sequences</source>
        <translation>Strecken einrichten</translation>
    </message>
    <message>
        <source>Run progress</source>
        <translation>Lauffortschritt</translation>
    </message>
    <message>
        <source>Start run</source>
        <translation>Lauf starten</translation>
    </message>
    <message>
        <source>Auto advance to
 next subject      </source>
        <translation>Automatisch zum
 nächsten Athleten      </translation>
    </message>
    <message>
        <source>Run view</source>
        <translation>Laufanzeige</translation>
    </message>
    <message>
        <source>Subject Name</source>
        <translation>Athlet</translation>
    </message>
    <message>
        <source>Open the reports folder</source>
        <translation>Berichtsordner öffnen</translation>
    </message>
    <message>
        <source>View the report</source>
        <translation>Bericht anzeigen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Einrichten</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Import list of names</source>
        <translation>Namensliste importieren</translation>
    </message>
    <message>
        <source>Export list of names</source>
        <translation>Namensliste exportieren</translation>
    </message>
    <message>
        <source>Import RFID tags and names</source>
        <translation>RFID-Tags und Namen importieren</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>Setup subject names</source>
        <translation>Athletennamen einrichten</translation>
    </message>
    <message>
        <source>Setup gate sequences</source>
        <translation>Strecken einrichten</translation>
    </message>
    <message>
        <source>Setup Swiftlane connection</source>
        <translation>Swiftlane-Verbindung einrichten</translation>
    </message>
    <message>
        <source>Setup RFID scanner connection</source>
        <translation>RFID-Scanner-Verbindung einrichten</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Total Time</source>
        <translation>Gesamtzeit</translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation>Messpunkt %1</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distanz</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschw.</translation>
    </message>
    <message>
        <source>Gate sequence strip</source>
        <translation>Streckenleiste</translation>
    </message>
    <message>
        <source>Report table</source>
        <translation>Ergebnistabelle</translation>
    </message>
    <message>
        <source>Open reports folder</source>
        <translation>Berichtsordner öffnen</translation>
    </message>
    <message>
        <source>View report</source>
        <translation>Bericht anzeigen</translation>
    </message>
    <message>
        <source>Gate %1 ready</source>
        <translation>Lichtschranke %1 bereit</translation>
    </message>
    <message>
        <source>Gate %1 not ready</source>
        <translation>Lichtschranke %1 nicht bereit</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Lauf</translation>
    </message>
    <message>
        <source>Stop run</source>
        <translation>Lauf abbrechen</translation>
    </message>
    <message>
        <source>Previous subject</source>
        <translation>Vorheriger Athlet</translation>
    </message>
    <message>
        <source>Next subject</source>
        <translation>Nächster Athlet</translation>
    </message>
</context>
<context>
    <name>SerialPortDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>COM port</source>
        <translation>COM-Port</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Ungerade</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Gerade</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flusssteuerung</translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>Xon/Xoff</source>
        <translation>Xon/Xoff</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Datenbits</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stoppbits</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>1.5</source>
        <translation>1,5</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&lt;none&gt;</source>
        <translation>&lt;keine&gt;</translation>
    </message>
</context>
<context>
    <name>SessionRecorder</name>
    <message>
        <source>the folder %1 cannot be created</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1 cannot be created: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Gate session recording has stopped: %1.
Timing goes on; this session is not recorded from here on.</source>
        <translation>Die Aufzeichnung der Lichtschranken-Sitzung wurde beendet: %1.
Die Zeitmessung läuft weiter; diese Sitzung wird ab jetzt nicht mehr aufgezeichnet.</translation>
    </message>
</context>
<context>
    <name>TagNames</name>
    <message>
        <source>a tag/name list</source>
        <translation>eine Tag-/Namensliste</translation>
    </message>
    <message>
        <source>Line %1 of %2 is longer than %3 bytes, so the import stopped there.
%4 tag/name pairs before it were imported; that line and the lines after it were not.</source>
        <translation>Zeile %1 in %2 ist länger als %3 Byte, daher wurde der Import dort beendet.
%4 Tag/Name-Paare davor wurden importiert, diese Zeile und die folgenden nicht.</translation>
    </message>
    <message>
        <source>In %1, %2.</source>
        <translation>In %1: %2.</translation>
    </message>
</context>
<context>
    <name>TextLines</name>
    <message>
        <source>1 line holds control characters and was skipped (line %1)</source>
        <translation>1 Zeile enthält Steuerzeichen und wurde übersprungen (Zeile %1)</translation>
    </message>
    <message>
        <source>%1 lines hold control characters and were skipped (lines %2)</source>
        <translation>%1 Zeilen enthalten Steuerzeichen und wurden übersprungen (Zeilen %2)</translation>
    </message>
    <message>
        <source>line %1 is %2 bytes long; a line may hold at most %3 bytes</source>
        <translation>Zeile %1 ist %2 Byte lang; eine Zeile darf höchstens %3 Byte haben</translation>
    </message>
</context>
</TS>
