<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A translation only the tests carry: it shows that a .ts file is all a language needs. -->
<TS version="2.1" language="de_DE">
<context>
    <name>LanguageTexts</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>My Favourites</source>
        <translation>Meine Favoriten</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
</TS>
