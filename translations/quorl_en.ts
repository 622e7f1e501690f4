<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="NoSongsLoaded">
        <source>No songs loaded</source>
        <translation>No songs loaded</translation>
    </message>
</context>
</TS>
