<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>ContentView</name>
    <message>
        <source>Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read data from JSON file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check all accessible APFS containers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save all data as JSON file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Selection As CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save selected container data as CSV file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Help Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryFollower</name>
    <message>
        <source>%1 no longer reads as a history (%2); the window keeps its readings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n new reading(s) from %1</source>
        <translation>
            <numerusform>%n new reading from %1</numerusform>
            <numerusform>%n new readings from %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Selection as CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillbank Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking all containers… Escape stops.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillbank</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>JSON files (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a %1 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a .%2 file. Choose a file whose name ends in .%2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message numerus="yes">
        <source>The file holds %n reading(s) that this window has not seen.</source>
        <translation>
            <numerusform>The file holds %n reading that this window has not seen.</numerusform>
            <numerusform>The file holds %n readings that this window has not seen.</numerusform>
        </translation>
    </message>
    <message>
        <source>The history “%1” was not read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file “%1” was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All took no reading: the listing tool failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All took no reading: the listing tool&apos;s output could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history was not read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selection was not exported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the readings that have not been saved?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without saving, they are lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge keeps them beside this window&apos;s readings, in date order; Replace writes over them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the readings that have not been saved to %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read. Replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RateChart</name>
    <message>
        <source>Overall Rate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecorderAction</name>
    <message>
        <source>Take a Reading Every Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hourly reading could not be turned on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hourly reading could not be turned off.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScrollingChart</name>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UsedSpaceChart</name>
    <message>
        <source>Full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trend range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent trend</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
