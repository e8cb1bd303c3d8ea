<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Tremolux</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swiftlane software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Swiftlane developers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All rights reserved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSerialLink</name>
    <message>
        <source>Failed to open
Com link %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConfigNameListDialog</name>
    <message>
        <source>Configure Name List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import a list of names from file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text (*.txt *.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New subject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select file containing list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select filename to save list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConfigRunDialog</name>
    <message>
        <source>Setup gate sequences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Distance (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hold-off (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A break of the awaited gate this many milliseconds after that gate&apos;s last passage is ignored (0 to 5000; 0 switches it off)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available gates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected gates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you wish to delete the selected gate sequence ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; must be a number of metres from 0 to %2, such as 30 or %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;Hold-off (ms)&quot; must be a whole number of milliseconds from 0 to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A gate sequence needs at least two gates: the start and the finish.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The gate sequence was not saved. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The gate sequence could not be saved to &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A gate sequence named &quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The gate sequence &quot;%1&quot; has changes that are not saved. Save them?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileNameCheck</name>
    <message>
        <source>The name is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; is reserved for folders.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name must not contain &quot;/&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name must not contain control characters such as line ends or tabs.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GateListWidget</name>
    <message>
        <source>Gate %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GateSequence</name>
    <message>
        <source>A gate sequence holds at most %1 gates and a name of at most %2 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hold-off of a gate sequence is from 0 to %1 ms.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MWGateSequenceWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checkpoint #</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lamp png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate #</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NameListFile</name>
    <message>
        <source>a list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>name %1 holds a line end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>name %1 is %2 bytes long; a name may hold at most %3 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of names could not be read from &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported %1 names from &quot;%2&quot;, then stopped: %3. The names from that line on were not imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported %1 names from &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %1: a name may hold tabs but no other control characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of names could not be written to &quot;%1&quot;: %2. Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OperatorTextFile</name>
    <message>
        <source>the file is %1 MB; %2 is at most %3 MB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a named pipe, not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>The results of the finished run could not be written to the reports folder:
%1

They are kept and will be written as soon as the folder can be written again, at the end of a later run.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportImport</name>
    <message>
        <source>has %1 fields where the header has %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>has no athlete name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>field %1 (&quot;%2&quot;) is not a time, distance or speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its splits add up to %1 s, not to its total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not the header of a Swiftlane report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 report file(s) read: %2 run(s) added, %3 already in the history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
%1 run(s) could not be stored now (%2); importing again adds them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

%1 row(s) could not be read and were left out:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
%1, row %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsExport</name>
    <message>
        <source>The workbook could not be made.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsRecorder</name>
    <message>
        <source>Finished runs cannot be stored in the results history:
%1

%2

Timing and the report file go on. The runs are kept and stored as soon as the history can be written again, at the latest at the next start from the report files.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsRunsModel</name>
    <message>
        <source>invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>simulated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Id</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Athlete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Course</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Splits (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed (m/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsStore</name>
    <message>
        <source>The SQLite driver of Qt is not installed (libqt6sql6-sqlite).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The results database cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The results database was written by a newer Swiftlane (version %1). It is shown read-only and new runs are not stored in it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The results database cannot be set up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The results database cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultsWindow</name>
    <message>
        <source>Results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Athlete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ourse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Best per athlete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;simulated runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All dates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>slipped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>false start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gate missed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark &amp;invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run stays in the history, greyed, and counts for no best, ranking or progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R&amp;estore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export E&amp;xcel...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Athlete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose an athlete and a course above.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Se&amp;ssion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import report files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds the runs of every report in the reports folder that the history lacks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import a report file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(all athletes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(all courses)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(any)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More than %1 runs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - read-only: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The results history cannot be opened: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 on %2: personal best %3 s on %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has no valid run on %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (from %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 run(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no valid run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Course</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checkpoint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best split (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the run to mark invalid first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose or type the reason the run is invalid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run could not be marked: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run could not be restored: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export results as CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export results as an Excel workbook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import a report file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swiftlane reports (Swiftlane_*.csv);;CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel workbooks (*.xlsx)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunDisplayDialog</name>
    <message>
        <source>Swiftlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>test text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunDisplayGateWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checkpoint ##</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SLMain</name>
    <message>
        <source>Recording stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select RFID tag / name file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text (*.txt *.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import RFID tags and names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swiftlane COM Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The result of 1 finished run could not be written to the reports folder:
%1

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The results of %1 finished runs could not be written to the reports folder:
%2

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving in the temporary folder failed too, so they could not be saved anywhere; they were printed on the error output (stderr) instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved instead in:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report not written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swiftlane could not read its settings file:
%1

The subject list, the chosen subject and gate sequence, auto-advance and the window sizes start from their defaults.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swiftlane could not save its settings file:
%1

The subject list, the chosen subject and gate sequence, auto-advance and the window sizes will not be there at the next start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings not kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Timing is not affected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select list of names file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save To File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select file name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of names was not exported. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List of names saved to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results not stored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run in Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you wish to abort the current run ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a subject name
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some gates in the gate sequence are either not ready or not present</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Problem starting run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About to start in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for start gate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A run is in progress. Exit and drop it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reports folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop could not open the reports folder. It is:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No report has been written yet. Reports are kept in:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop could not open the report. It is:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SLMainWindow</name>
    <message>
        <source>Swiftlane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swiftlane system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the status of the gate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slave 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slave 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slave 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subject name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure the list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RFID scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate sequence:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure Gate Sequences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto advance to
 next subject      </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subject Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the reports folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View the report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export list of names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import RFID tags and names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup subject names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup gate sequences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup Swiftlane connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup RFID scanner connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checkpoint %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialPortDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>19200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>38400</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>57600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>115200</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Odd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Even</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Xon/Xoff</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;none&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SessionRecorder</name>
    <message>
        <source>the folder %1 cannot be created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be created: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate session recording has stopped: %1.
Timing goes on; this session is not recorded from here on.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagNames</name>
    <message>
        <source>a tag/name list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 of %2 is longer than %3 bytes, so the import stopped there.
%4 tag/name pairs before it were imported; that line and the lines after it were not.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In %1, %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextLines</name>
    <message>
        <source>1 line holds control characters and was skipped (line %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 lines hold control characters and were skipped (lines %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1 is %2 bytes long; a line may hold at most %3 bytes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
