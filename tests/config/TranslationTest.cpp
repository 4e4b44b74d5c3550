// Every text of the program, in English and in French, as the tables in the code
// gave them before the French moved to orvantis_fr.ts: each comes out of the
// translation unchanged, through the functions that build it.
#include "config/NumberText.h"
#include "config/SettingsFileTexts.h"
#include "config/SettingsFiles.h"
#include "config/Translation.h"
#include "core/LanguageTexts.h"
#include "core/SetupTexts.h"
#include "host/PortDriverCheck.h"
#include "rotors/SerialFailure.h"
#include "ui/HelpPage.h"

#include <QCoreApplication>
#include <QHash>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct TextProducer {
    const char *name;
    std::function<QString(const Language &language)> text;
};

struct Expected {
    QString english, french;
};

// Captured from the code's English and French tables before the conversion.
const QHash<QString, Expected> &textsOfToday()
{
    static const QHash<QString, Expected> texts {
        {u"quit"_s,
         {u"Quit"_s,
          u"Quitter"_s}},
        {u"server"_s,
         {u"Server"_s,
          u"Serveur"_s}},
        {u"favourites"_s,
         {u"My Favourites"_s,
          u"Mes Favoris"_s}},
        {u"azimuth"_s,
         {u"Azimuth"_s,
          u"Azimut"_s}},
        {u"language"_s,
         {u"Language"_s,
          u"Langue"_s}},
        {u"about"_s,
         {u"About Orvantis"_s,
          u"A propos de Orvantis"_s}},
        {u"help"_s,
         {u"Help"_s,
          u"Aide"_s}},
        {u"arswinMissing"_s,
         {u"ARSWIN must be running !"_s,
          u"ARSWIN doit s'exécuter !"_s}},
        {u"rotctldServer"_s,
         {u"Hamlib rotctld server (TCP %1)"_s,
          u"Serveur rotctld Hamlib (TCP %1)"_s}},
        {u"antennaAt"_s,
         {u"Antenna at %1°"_s,
          u"Antenne à %1°"_s}},
        {u"trakBoxHost"_s,
         {u"Check to quit in Host mode"_s,
          u"Cocher pour quitter en mode Host"_s}},
        {u"kctMoveLabel"_s,
         {u"Enter the path of the directory of Movenow.com"_s,
          u"Entrer le chemin du répertoire de Movenow.com"_s}},
        {u"kctStop"_s,
         {u"Stop"_s,
          u"Butée"_s}},
        {u"parkingLabel"_s,
         {u"Use for parking"_s,
          u"Position parking"_s}},
        {u"stepLabel"_s,
         {u"Min Step°"_s,
          u"Pas mini°"_s}},
        {u"zentaCaution"_s,
         {u"CAUTION : ARSWIN must be running"_s,
          u"CAUTION : ARSWIN doit être lancé"_s}},
        {u"zentaHint"_s,
         {u"If using ARSVCOM, choose GS232, the virtual COM port created by ARSVCOM and check the box \"+el=0\""_s,
          u"Si utilisation ARSVCOM, choisir GS232, le port COM virtuel créé par ARSVCOM et cocher la case \"+el=0\""_s}},
        {u"audioSignal"_s,
         {u"Check to play an audio signal when a command is sent to rotator"_s,
          u"Cocher pour jouer un son lorsque le rotor est commandé"_s}},
        {u"movenowMissing"_s,
         {u"Cannot find Movenow.com !"_s,
          u"Movenow.com pas trouvé !"_s}},
        {u"comPortMissing"_s,
         {u"Please choose a COM port for this interface"_s,
          u"SVP, choisissez un port COM pour cette interface"_s}},
        {u"warningTitle"_s,
         {u"Warning"_s,
          u"Avertissement"_s}},
        {u"errorTitle"_s,
         {u"Error"_s,
          u"Erreur"_s}},
        {u"rotctldServe"_s,
         {u"Let Hamlib programs (gpredict, rotctl) steer the antenna"_s,
          u"Laisser les programmes Hamlib (gpredict, rotctl) orienter l'antenne"_s}},
        {u"rotctldPort"_s,
         {u"TCP port:"_s,
          u"Port TCP :"_s}},
        {u"readPosition"_s,
         {u"Read position"_s,
          u"Lire la position"_s}},
        {u"pinPort"_s,
         {u"Pin to this adapter"_s,
          u"Attacher à cet adaptateur"_s}},
        {u"pinPortHint"_s,
         {u"Keep this COM name for this adapter whatever order adapters are plugged in: links dosdevices/comN, "
          u"beside Orvantis.ini, to its /dev/serial/by-id name"_s,
          u"Garder ce nom COM pour cet adaptateur quel que soit l'ordre de branchement : lie dosdevices/comN, à "
          u"côté d'Orvantis.ini, à son nom /dev/serial/by-id"_s}},
        {u"pinFailed"_s,
         {u"Cannot pin %1 to %2: %3.\nCheck that the folder of Orvantis.ini is writable."_s,
          u"Impossible d'attacher %1 à %2 : %3.\nVérifiez que le dossier d'Orvantis.ini est accessible en écriture."_s}},
        {u"server menu"_s,
         {u"&Server (KORU)"_s,
          u"&Serveur (KORU)"_s}},
        {u"rotctld in use"_s,
         {u"Orvantis cannot serve Hamlib programs on 127.0.0.1, TCP port 4533: another program holds this "
          u"port.\nClose it (ss -tlpn 'sport = :4533' names it), or choose another port under Init (Ctrl+I). Orvantis tries again every few seconds and says when it serves."_s,
          u"Orvantis ne peut pas servir les programmes Hamlib sur 127.0.0.1, port TCP 4533 : un autre programme "
          u"occupe ce port.\nFermez-le (ss -tlpn 'sport = :4533' le nomme), ou choisissez un autre port dans Init "
          u"(Ctrl+I). Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"rotctld address"_s,
         {u"Orvantis cannot serve Hamlib programs on 10.9.9.9, TCP port 4533: ROTCTLD_ADDRESS in Orvantis.ini is "
          u"not an IP address of this computer.\nCorrect ROTCTLD_ADDRESS in Orvantis.ini: 127.0.0.1 for this "
          u"computer only, 0.0.0.0 for the network."_s,
          u"Orvantis ne peut pas servir les programmes Hamlib sur 10.9.9.9, port TCP 4533 : ROTCTLD_ADDRESS dans "
          u"Orvantis.ini n'est pas une adresse IP de cet ordinateur.\nCorrigez ROTCTLD_ADDRESS dans Orvantis.ini : "
          u"127.0.0.1 pour cet ordinateur seul, 0.0.0.0 pour le réseau."_s}},
        {u"rotctld other"_s,
         {u"Orvantis cannot serve Hamlib programs on 0.0.0.0, TCP port 80: Permission denied.\nChoose another port "
          u"under Init (Ctrl+I). Orvantis tries again every few seconds and says when it serves."_s,
          u"Orvantis ne peut pas servir les programmes Hamlib sur 0.0.0.0, port TCP 80 : Permission "
          u"denied.\nChoisissez un autre port dans Init (Ctrl+I). Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"koru in use"_s,
         {u"KORU Logger: UDP port 12060 cannot be listened on: Address in use.\nAnother program holds the port (ss "
          u"-ulpn 'sport = :12060' names it): close it, or choose another port or antenna number under Init "
          u"(Ctrl+I), the same as in the logger. Orvantis tries again every few seconds and says when it serves."_s,
          u"KORU Logger : le port UDP 12060 ne peut pas être écouté : Address in use.\nUn autre programme tient ce "
          u"port (ss -ulpn 'sport = :12060' le nomme) : fermez-le, ou choisissez un autre port ou numéro d'antenne "
          u"dans Init (Ctrl+I), le même que dans le logger. Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"koru other"_s,
         {u"KORU Logger: UDP port 12060 cannot be listened on: Permission denied.\nChoose another port or antenna "
          u"number under Init (Ctrl+I), the same as in the logger. Orvantis tries again every few seconds and says when it serves."_s,
          u"KORU Logger : le port UDP 12060 ne peut pas être écouté : Permission denied.\nChoisissez un autre port "
          u"ou numéro d'antenne dans Init (Ctrl+I), le même que dans le logger. Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"rotctld in use, windowless"_s,
         {u"Orvantis cannot serve Hamlib programs on 127.0.0.1, TCP port 4533: another program holds this "
          u"port.\nClose it (ss -tlpn 'sport = :4533' names it), or set another ROTCTLD_PORT in Orvantis.ini. Orvantis tries again every few seconds and says when it serves."_s,
          u"Orvantis ne peut pas servir les programmes Hamlib sur 127.0.0.1, port TCP 4533 : un autre programme "
          u"occupe ce port.\nFermez-le (ss -tlpn 'sport = :4533' le nomme), ou indiquez un autre ROTCTLD_PORT dans "
          u"Orvantis.ini. Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"rotctld address missing"_s,
         {u"Orvantis cannot serve Hamlib programs on 10.9.9.9, TCP port 4533: this computer does not have that "
          u"address (yet).\nIf the network is still coming up, nothing needs doing; otherwise correct "
          u"ROTCTLD_ADDRESS in Orvantis.ini. Orvantis tries again every few seconds and says when it serves."_s,
          u"Orvantis ne peut pas servir les programmes Hamlib sur 10.9.9.9, port TCP 4533 : cet ordinateur n'a pas "
          u"(encore) cette adresse.\nSi le réseau est encore en train de démarrer, il n'y a rien à faire ; sinon "
          u"corrigez ROTCTLD_ADDRESS dans Orvantis.ini. Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"rotctld other, windowless"_s,
         {u"Orvantis cannot serve Hamlib programs on 0.0.0.0, TCP port 80: Permission denied.\nSet another "
          u"ROTCTLD_PORT in Orvantis.ini. Orvantis tries again every few seconds and says when it serves."_s,
          u"Orvantis ne peut pas servir les programmes Hamlib sur 0.0.0.0, port TCP 80 : Permission "
          u"denied.\nIndiquez un autre ROTCTLD_PORT dans Orvantis.ini. Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"koru other, windowless"_s,
         {u"KORU Logger: UDP port 12060 cannot be listened on: Permission denied.\nSet PORTKORU and ANTKORU in "
          u"Orvantis.ini, the same as in the logger. Orvantis tries again every few seconds and says when it serves."_s,
          u"KORU Logger : le port UDP 12060 ne peut pas être écouté : Permission denied.\nIndiquez PORTKORU et "
          u"ANTKORU dans Orvantis.ini, les mêmes que dans le logger. Orvantis réessaie toutes les quelques secondes et dira quand il sert."_s}},
        {u"serving"_s,
         {u"Orvantis now listens: KORU Logger: UDP port 12060."_s,
          u"Orvantis écoute maintenant : KORU Logger: UDP port 12060."_s}},
        {u"absent port"_s,
         {u"COM5 (/dev/ttyUSB0) is not present: GS232 is not used in this run, and its port stays saved. Plug the "
          u"adapter in and start Orvantis again; if it comes back under another name, pick it under Init (Ctrl+I) "
          u"and use \"Pin to this adapter\"."_s,
          u"COM5 (/dev/ttyUSB0) est absent : GS232 n'est pas utilisé pour cette fois, et son port reste enregistré. "
          u"Branchez l'adaptateur et relancez Orvantis ; s'il revient sous un autre nom, choisissez-le dans Init "
          u"(Ctrl+I) et utilisez « Attacher à cet adaptateur »."_s}},
        {u"absent port, no device"_s,
         {u"COM5 (no device: dosdevices/com5 is missing) is not present: GS232 is not used in this run, and its port stays saved. Plug the adapter in "
          u"and start Orvantis again; if it comes back under another name, pick it under Init (Ctrl+I) and use "
          u"\"Pin to this adapter\"."_s,
          u"COM5 (aucun appareil : dosdevices/com5 manque) est absent : GS232 n'est pas utilisé pour cette fois, et son port reste enregistré. Branchez "
          u"l'adaptateur et relancez Orvantis ; s'il revient sous un autre nom, choisissez-le dans Init (Ctrl+I) et "
          u"utilisez « Attacher à cet adaptateur »."_s}},
        {u"fifo"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a named pipe (FIFO), so Orvantis "
          u"neither reads nor replaces it: it starts with its default settings, and this session's settings are not "
          u"saved. Remove it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais un tube nommé "
          u"(FIFO) : Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les "
          u"réglages de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier "
          u"Orvantis.ini ordinaire, avant de relancer Orvantis."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a named pipe (FIFO), so Orvantis "
          u"neither reads nor replaces it: it starts with its default settings, and this session's settings are not "
          u"saved. Remove it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais un tube nommé "
          u"(FIFO) : Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les "
          u"réglages de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier "
          u"Orvantis.ini ordinaire, avant de relancer Orvantis."_s}},
        {u"device"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a device, so Orvantis neither reads "
          u"nor replaces it: it starts with its default settings, and this session's settings are not saved. Remove "
          u"it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais un périphérique : "
          u"Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages "
          u"de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini "
          u"ordinaire, avant de relancer Orvantis."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a device, so Orvantis neither reads "
          u"nor replaces it: it starts with its default settings, and this session's settings are not saved. Remove "
          u"it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais un périphérique : "
          u"Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages "
          u"de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini "
          u"ordinaire, avant de relancer Orvantis."_s}},
        {u"socket"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a socket, so Orvantis neither reads "
          u"nor replaces it: it starts with its default settings, and this session's settings are not saved. Remove "
          u"it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais une socket : "
          u"Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages "
          u"de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini "
          u"ordinaire, avant de relancer Orvantis."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a socket, so Orvantis neither reads "
          u"nor replaces it: it starts with its default settings, and this session's settings are not saved. Remove "
          u"it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais une socket : "
          u"Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages "
          u"de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini "
          u"ordinaire, avant de relancer Orvantis."_s}},
        {u"folder"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a folder, so Orvantis neither reads "
          u"nor replaces it: it starts with its default settings, and this session's settings are not saved. Remove "
          u"it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais un dossier : "
          u"Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages "
          u"de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini "
          u"ordinaire, avant de relancer Orvantis."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file but a folder, so Orvantis neither reads "
          u"nor replaces it: it starts with its default settings, and this session's settings are not saved. Remove "
          u"it, or put an ordinary Orvantis.ini in its place, before starting Orvantis "
          u"again.\n\n/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire mais un dossier : "
          u"Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages "
          u"de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini "
          u"ordinaire, avant de relancer Orvantis."_s}},
        {u"unrecognised"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini holds no setting that Orvantis knows: it may have been saved in "
          u"another encoding (such as Notepad's \"Unicode\", which is UTF-16) or belong to another program. "
          u"Orvantis starts with its default settings and leaves the file as it is. To keep its settings, save it "
          u"again as ANSI or UTF-8; to start afresh, delete it.\n\n/home/ham/.config/Orvantis/Orvantis.ini ne "
          u"contient aucun réglage connu d'Orvantis : il a peut-être été enregistré dans un autre codage (comme « "
          u"Unicode » du Bloc-notes, c'est-à-dire UTF-16) ou appartient à un autre programme. Orvantis démarre avec "
          u"ses réglages par défaut et laisse le fichier tel quel. Pour garder ses réglages, enregistrez-le de "
          u"nouveau en ANSI ou en UTF-8 ; pour repartir de zéro, supprimez-le."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini holds no setting that Orvantis knows: it may have been saved in "
          u"another encoding (such as Notepad's \"Unicode\", which is UTF-16) or belong to another program. "
          u"Orvantis starts with its default settings and leaves the file as it is. To keep its settings, save it "
          u"again as ANSI or UTF-8; to start afresh, delete it.\n\n/home/ham/.config/Orvantis/Orvantis.ini ne "
          u"contient aucun réglage connu d'Orvantis : il a peut-être été enregistré dans un autre codage (comme « "
          u"Unicode » du Bloc-notes, c'est-à-dire UTF-16) ou appartient à un autre programme. Orvantis démarre avec "
          u"ses réglages par défaut et laisse le fichier tel quel. Pour garder ses réglages, enregistrez-le de "
          u"nouveau en ANSI ou en UTF-8 ; pour repartir de zéro, supprimez-le."_s}},
        {u"left unreadable"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini could not be read at start, so it is left as it was and this "
          u"session's settings are not saved. Make it readable (check its permissions) before starting Orvantis "
          u"again."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini n'a pas pu être lu au démarrage ; il est laissé tel quel et les "
          u"réglages de cette session ne sont pas enregistrés. Rendez-le lisible (droits d'accès) avant de relancer "
          u"Orvantis."_s}},
        {u"left not regular"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini is not an ordinary file, so it is left as it was and this "
          u"session's settings are not saved. Remove it, or put an ordinary file in its place, before starting "
          u"Orvantis again."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini n'est pas un fichier ordinaire ; il est laissé tel quel et les "
          u"réglages de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier "
          u"ordinaire, avant de relancer Orvantis."_s}},
        {u"left unrecognised"_s,
         {u"/home/ham/.config/Orvantis/Orvantis.ini holds no setting that Orvantis knows, so it is left as it was "
          u"and this session's settings are not saved. Save it again as ANSI or UTF-8, or delete it, before "
          u"starting Orvantis again."_s,
          u"/home/ham/.config/Orvantis/Orvantis.ini ne contient aucun réglage connu d'Orvantis ; il est laissé tel "
          u"quel et les réglages de cette session ne sont pas enregistrés. Enregistrez-le de nouveau en ANSI ou en "
          u"UTF-8, ou supprimez-le, avant de relancer Orvantis."_s}},
        {u"bad value"_s,
         {u"'abc' is not a valid integer value\nKey WTOP, line 4 of /home/ham/.config/Orvantis/Orvantis.ini: the "
          u"line is ignored and the setting keeps its previous value; Orvantis writes a valid one when it closes."_s,
          u"'abc' n'est pas une valeur entière correcte\nClé WTOP, ligne 4 de "
          u"/home/ham/.config/Orvantis/Orvantis.ini : la ligne est ignorée et le réglage garde sa valeur précédente "
          u"; Orvantis en écrit une valide à sa fermeture."_s}},
        {u"bad real"_s,
         {u"'1,5x' is not a valid floating point value"_s,
          u"'1,5x' n'est pas une valeur en virgule flottante correcte"_s}},
        {u"create error"_s,
         {u"Can't create Orvantis.ini"_s,
          u"Ne peut créer Orvantis.ini"_s}},
        {u"no port"_s,
         {u"GS232 has no COM port.\nPick one under Init (Ctrl+I)."_s,
          u"GS232 n'a pas de port COM.\nChoisissez-en un dans Init (Ctrl+I)."_s}},
        {u"write failed"_s,
         {u"COM5 (/dev/ttyUSB0): the command could not be sent: Permission denied.\nThe adapter stopped answering "
          u"or was unplugged: check it and its cable; the next command opens the port again."_s,
          u"COM5 (/dev/ttyUSB0) : la commande n'a pas pu être envoyée : Permission denied.\nL'adaptateur ne répond "
          u"plus ou a été débranché : vérifiez-le ainsi que son câble ; la commande suivante rouvre le port."_s}},
        {u"write failed, no device"_s,
         {u"COM5 (no device): the command could not be sent: Permission denied.\nThe adapter stopped answering or "
          u"was unplugged: check it and its cable; the next command opens the port again."_s,
          u"COM5 (aucun périphérique) : la commande n'a pas pu être envoyée : Permission denied.\nL'adaptateur ne "
          u"répond plus ou a été débranché : vérifiez-le ainsi que son câble ; la commande suivante rouvre le port."_s}},
        {u"missing"_s,
         {u"COM5 (/dev/ttyUSB0) cannot be opened: Permission denied.\nPlug the adapter in (or correct the link com5 "
          u"in the dosdevices folder beside Orvantis.ini), or pick another port under Init (Ctrl+I)."_s,
          u"COM5 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\nBranchez l'adaptateur (ou corrigez le "
          u"lien com5 du dossier dosdevices à côté d'Orvantis.ini), ou choisissez un autre port dans Init (Ctrl+I)."_s}},
        {u"permission"_s,
         {u"COM5 (/dev/ttyUSB0) cannot be opened: Permission denied.\nYour user may not use serial ports. Run\n    "
          u"sudo usermod -aG dialout $USER\nthen log out and in again."_s,
          u"COM5 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\nVotre utilisateur n'a pas accès aux "
          u"ports série. Lancez\n    sudo usermod -aG dialout $USER\npuis fermez la session et reconnectez-vous."_s}},
        {u"busy"_s,
         {u"COM5 (/dev/ttyUSB0) cannot be opened: Permission denied.\nAnother program holds it (fuser -v "
          u"/dev/ttyUSB0 names it): close that program, or pick another port under Init (Ctrl+I)."_s,
          u"COM5 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\nUn autre programme l'utilise (fuser "
          u"-v /dev/ttyUSB0 le nomme) : fermez ce programme, ou choisissez un autre port dans Init (Ctrl+I)."_s}},
        {u"held"_s,
         {u"COM5 (/dev/ttyUSB0) cannot be opened: Permission denied.\nIt is held by minicom (1234): close that "
          u"program, or pick another port under Init (Ctrl+I)."_s,
          u"COM5 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\nIl est utilisé par minicom (1234) : "
          u"fermez ce programme, ou choisissez un autre port dans Init (Ctrl+I)."_s}},
        {u"not serial"_s,
         {u"COM5 (/dev/ttyUSB0) cannot be opened: Permission denied.\nThis is not a serial port: correct the link "
          u"com5 in the dosdevices folder beside Orvantis.ini, or pick another port under Init (Ctrl+I)."_s,
          u"COM5 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\nCe n'est pas un port série : corrigez "
          u"le lien com5 du dossier dosdevices à côté d'Orvantis.ini, ou choisissez un autre port dans Init "
          u"(Ctrl+I)."_s}},
        {u"refused"_s,
         {u"COM5 (/dev/ttyUSB0) cannot be opened: Permission denied.\nUnplug the adapter and plug it in again, or "
          u"pick another port under Init (Ctrl+I)."_s,
          u"COM5 (/dev/ttyUSB0) ne peut pas être ouvert : Permission denied.\nDébranchez puis rebranchez "
          u"l'adaptateur, ou choisissez un autre port dans Init (Ctrl+I)."_s}},
        {u"ppdev missing"_s,
         {u"The ppdev driver is not loaded.\nIt is mandatory when controlling an LPT port.\nPlease load the ppdev "
          u"module (modprobe ppdev), join the group lp\nand restart ORVANTIS."_s,
          u"Le pilote ppdev n'est pas chargé.\nIl est nécessaire lors du contrôle d'un port LPT.\nSVP charger le "
          u"module ppdev (modprobe ppdev), rejoindre le groupe lp\net redémarrez ORVANTIS."_s}},
        {u"help page"_s,
         {u"orvantis_en.htm"_s,
          u"orvantis_fr.htm"_s}},
    };
    return texts;
}

SerialFailure failureOf(SerialFailure::Kind kind, QStringList holders = {}, QString device = QStringLiteral("/dev/ttyUSB0"))
{
    SerialFailure f;
    f.kind = kind; f.interfaceName = QStringLiteral("GS232"); f.comName = QStringLiteral("COM5");
    f.devicePath = device; f.reason = QStringLiteral("Permission denied."); f.holders = holders;
    return f;
}

QList<TextProducer> textProducers()
{
    using namespace SettingsFileTexts;
    using K = SerialFailure::Kind;
    const QString ini = QStringLiteral("/home/ham/.config/Orvantis/Orvantis.ini");
    QList<TextProducer> p;
    auto lang = [&p](const char *name, QString LanguageTexts::*field) {
        p.append({name, [field](const Language &f) { return languageTexts(f).*field; }});
    };
    lang("quit", &LanguageTexts::quit); lang("server", &LanguageTexts::server);
    lang("favourites", &LanguageTexts::favourites); lang("azimuth", &LanguageTexts::azimuth);
    lang("language", &LanguageTexts::language); lang("about", &LanguageTexts::about);
    lang("help", &LanguageTexts::help); lang("arswinMissing", &LanguageTexts::arswinMissing);
    lang("rotctldServer", &LanguageTexts::rotctldServer); lang("antennaAt", &LanguageTexts::antennaAt);
    auto setup = [&p](const char *name, QString SetupTexts::*field) {
        p.append({name, [field](const Language &f) { return setupTexts(f).*field; }});
    };
    setup("trakBoxHost", &SetupTexts::trakBoxHost); setup("kctMoveLabel", &SetupTexts::kctMoveLabel);
    setup("kctStop", &SetupTexts::kctStop); setup("parkingLabel", &SetupTexts::parkingLabel);
    setup("stepLabel", &SetupTexts::stepLabel); setup("zentaCaution", &SetupTexts::zentaCaution);
    setup("zentaHint", &SetupTexts::zentaHint); setup("audioSignal", &SetupTexts::audioSignal);
    setup("movenowMissing", &SetupTexts::movenowMissing); setup("comPortMissing", &SetupTexts::comPortMissing);
    setup("warningTitle", &SetupTexts::warningTitle); setup("errorTitle", &SetupTexts::errorTitle);
    setup("rotctldServe", &SetupTexts::rotctldServe); setup("rotctldPort", &SetupTexts::rotctldPort);
    setup("readPosition", &SetupTexts::readPosition); setup("pinPort", &SetupTexts::pinPort);
    setup("pinPortHint", &SetupTexts::pinPortHint); setup("pinFailed", &SetupTexts::pinFailed);
    p.append({"server menu", [](const Language &f) { return serverMenuCaption(f, AzimuthSource::Koru, true); }});
    const auto rotctld = [](const char *address, quint16 port, RotctldFailure failure, const char *reason,
                            bool windowless) {
        return [=](const Language &f) {
            return rotctldFailureText(f, QString::fromLatin1(address), port, failure, QString::fromLatin1(reason),
                                      windowless);
        };
    };
    p.append({"rotctld in use", rotctld("127.0.0.1", 4533, RotctldFailure::AddressInUse, "x", false)});
    p.append({"rotctld in use, windowless", rotctld("127.0.0.1", 4533, RotctldFailure::AddressInUse, "x", true)});
    p.append({"rotctld address", rotctld("10.9.9.9", 4533, RotctldFailure::NotAnAddress, "x", false)});
    p.append({"rotctld address missing", rotctld("10.9.9.9", 4533, RotctldFailure::AddressMissing, "x", true)});
    p.append({"rotctld other", rotctld("0.0.0.0", 80, RotctldFailure::Other, "Permission denied", false)});
    p.append({"rotctld other, windowless", rotctld("0.0.0.0", 80, RotctldFailure::Other, "Permission denied", true)});
    p.append({"koru in use", [](const Language &f) { return koruBindFailureText(f, 12060, QStringLiteral("Address in use"), true, false); }});
    p.append({"koru other", [](const Language &f) { return koruBindFailureText(f, 12060, QStringLiteral("Permission denied"), false, false); }});
    p.append({"koru other, windowless", [](const Language &f) { return koruBindFailureText(f, 12060, QStringLiteral("Permission denied"), false, true); }});
    p.append({"serving", [](const Language &f) { return servingText(f, QStringLiteral("KORU Logger: UDP"), 12060); }});
    p.append({"absent port", [](const Language &f) { return absentPortText(f, QStringLiteral("COM5"), QStringLiteral("/dev/ttyUSB0"), QStringLiteral("GS232")); }});
    p.append({"absent port, no device", [](const Language &f) { return absentPortText(f, QStringLiteral("COM5"), QString(), QStringLiteral("GS232")); }});
    for (auto [name, kind] : {std::pair {"fifo", OddFileKind::Fifo}, {"device", OddFileKind::Device}, {"socket", OddFileKind::Socket}, {"folder", OddFileKind::Folder}})
        p.append({name, [ini, kind](const Language &) { return notRegularText(ini, kind); }});
    p.append({"unrecognised", [ini](const Language &) { return unrecognisedText(ini); }});
    for (auto [name, reason] : {std::pair {"left unreadable", LeftAloneReason::Unreadable}, {"left not regular", LeftAloneReason::NotRegular}, {"left unrecognised", LeftAloneReason::Unrecognised}})
        p.append({name, [ini, reason](const Language &f) { return leftAloneText(f, ini, reason); }});
    p.append({"bad value", [ini](const Language &f) { return badValueText(f, NumberText::integerConversionMessage(QStringLiteral("abc"), f), QStringLiteral("WTOP"), 4, ini); }});
    p.append({"bad real", [](const Language &f) { return NumberText::realConversionMessage(QStringLiteral("1,5x"), f); }});
    p.append({"create error", [](const Language &f) { return SettingsFiles::createErrorText(f); }});
    for (auto [name, failure] : {std::pair {"no port", failureOf(K::NoPort)}, {"write failed", failureOf(K::WriteFailed)},
                                 {"write failed, no device", failureOf(K::WriteFailed, {}, QString())},
                                 {"missing", failureOf(K::Missing)}, {"permission", failureOf(K::Permission)},
                                 {"busy", failureOf(K::Busy)}, {"held", failureOf(K::Busy, {QStringLiteral("minicom (1234)")})},
                                 {"not serial", failureOf(K::NotSerial)}, {"refused", failureOf(K::Refused)}})
        p.append({name, [failure](const Language &f) { return serialFailureText(failure, f); }});
    p.append({"ppdev missing", [](const Language &f) { return driverMissingMessage(f); }});
    p.append({"help page", [](const Language &f) { return helpPageUrl(QStringLiteral("/opt/orvantis"), f).fileName(); }});
    return p;
}

} // namespace

class TranslationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsOfTodayInBothLanguages_data();
    void textsOfTodayInBothLanguages();
    void qtOwnTextsFollowTheLanguage();
};

void TranslationTest::textsOfTodayInBothLanguages_data()
{
    QTest::addColumn<int>("index");
    const QList<TextProducer> producers = textProducers();
    QCOMPARE(producers.size(), textsOfToday().size());
    for (int i = 0; i < producers.size(); ++i)
        QTest::newRow(producers[i].name) << i;
}

void TranslationTest::textsOfTodayInBothLanguages()
{
    QFETCH(int, index);
    const TextProducer producer = textProducers().at(index);
    const auto expected = textsOfToday().constFind(QString::fromLatin1(producer.name));
    QVERIFY(expected != textsOfToday().cend());
    QCOMPARE(producer.text(Language::english()), expected->english);
    QCOMPARE(producer.text(Language::french()), expected->french);
}

void TranslationTest::qtOwnTextsFollowTheLanguage()
{
    // The standard buttons' words come from Qt's own translation.
    Translation::followWithQtTexts(Language::french());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Annuler"_s);
    Translation::followWithQtTexts(Language::french());
    Translation::followWithQtTexts(Language::english());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel"_s);
}

QTEST_GUILESS_MAIN(TranslationTest)
#include "TranslationTest.moc"
