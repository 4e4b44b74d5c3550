<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>FavouritesEditor</name>
    <message>
        <source>Favorite azimuths</source>
        <translation>Azimuts favoris</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
</context>
<context>
    <name>HamlibErrors</name>
    <message>
        <source>%1: the controller did not answer (timeout) — check the cable, the speed and the model.</source>
        <translation>%1 : le contrôleur n&apos;a pas répondu (délai dépassé) — vérifiez le câble, la vitesse et le modèle.</translation>
    </message>
    <message>
        <source>%1: the connection failed (input/output error) — check that the controller is plugged in and switched on, or that the address is right and its server running.</source>
        <translation>%1 : la connexion a échoué (erreur d&apos;entrée/sortie) — vérifiez que le contrôleur est branché et allumé, ou que l&apos;adresse est juste et son serveur lancé.</translation>
    </message>
    <message>
        <source>%1: the controller&apos;s answer was not understood (protocol error) — check the model and the speed.</source>
        <translation>%1 : la réponse du contrôleur n&apos;a pas été comprise (erreur de protocole) — vérifiez le modèle et la vitesse.</translation>
    </message>
    <message>
        <source>%1: the controller refused the command — check the model and the controller&apos;s settings.</source>
        <translation>%1 : le contrôleur a refusé la commande — vérifiez le modèle et les réglages du contrôleur.</translation>
    </message>
    <message>
        <source>%1: this model cannot do that — pick the model of your controller under Init (Ctrl+I).</source>
        <translation>%1 : ce modèle ne sait pas le faire — choisissez le modèle de votre contrôleur dans Init (Ctrl+I).</translation>
    </message>
    <message>
        <source>%1: the port settings were refused (configuration error) — check the port and the speed.</source>
        <translation>%1 : les réglages du port ont été refusés (erreur de configuration) — vérifiez le port et la vitesse.</translation>
    </message>
    <message>
        <source>%1: the controller was given a value it does not accept — check the model and the offset.</source>
        <translation>%1 : le contrôleur a reçu une valeur qu&apos;il n&apos;accepte pas — vérifiez le modèle et le décalage.</translation>
    </message>
    <message>
        <source>%1: the controller is switched off — switch it on.</source>
        <translation>%1 : le contrôleur est éteint — allumez-le.</translation>
    </message>
    <message>
        <source>%1: Hamlib error %2 (%3) — check the model, the port and the speed.</source>
        <translation>%1 : erreur Hamlib %2 (%3) — vérifiez le modèle, le port et la vitesse.</translation>
    </message>
    <message>
        <source>%1: the azimuth %2° lies beyond the rotator&apos;s limits (%3° to %4°); nothing was sent. Check the model, the offset and the stop side.</source>
        <translation>%1 : l&apos;azimut %2° est hors des limites du rotor (%3° à %4°) ; rien n&apos;a été envoyé. Vérifiez le modèle, le décalage et le côté de la butée.</translation>
    </message>
    <message>
        <source>Hamlib has no rotator model.
Pick one under Init (Ctrl+I).</source>
        <translation>Hamlib n&apos;a pas de modèle de rotor.
Choisissez-en un dans Init (Ctrl+I).</translation>
    </message>
    <message>
        <source>Hamlib has no address (host:port) for this network model.
Enter it under Init (Ctrl+I).</source>
        <translation>Hamlib n&apos;a pas d&apos;adresse (hôte:port) pour ce modèle réseau.
Indiquez-la dans Init (Ctrl+I).</translation>
    </message>
    <message>
        <source>Hamlib&apos;s library could not be loaded (%1).
Install it (sudo apt install libhamlib4), or choose another interface under Init (Ctrl+I).</source>
        <translation>La bibliothèque Hamlib n&apos;a pas pu être chargée (%1).
Installez-la (sudo apt install libhamlib4), ou choisissez une autre interface dans Init (Ctrl+I).</translation>
    </message>
</context>
<context>
    <name>HamlibSetupPage</name>
    <message>
        <source>Filter (maker or model)</source>
        <translation>Filtre (marque ou modèle)</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <source>Address (host:port)</source>
        <translation>Adresse (hôte:port)</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Décalage</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>orvantis_en.htm</source>
        <translation>orvantis_fr.htm</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>The help page %1 is missing: reinstall Orvantis, or copy orvantis_en.htm and orvantis_fr.htm beside the program.</source>
        <translation>La page d&apos;aide %1 est absente : réinstallez Orvantis, ou copiez orvantis_en.htm et orvantis_fr.htm à côté du programme.</translation>
    </message>
    <message>
        <source>No program on this computer opens %1: copy the address into a web browser, or install xdg-utils and a browser.</source>
        <translation>Aucun programme de cet ordinateur n&apos;ouvre %1 : copiez l&apos;adresse dans un navigateur web, ou installez xdg-utils et un navigateur.</translation>
    </message>
</context>
<context>
    <name>LanguageTexts</name>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Serveur</translation>
    </message>
    <message>
        <source>My Favourites</source>
        <translation>Mes Favoris</translation>
    </message>
    <message>
        <source>Azimuth</source>
        <translation>Azimut</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>About Orvantis</source>
        <translation>A propos de Orvantis</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>ARSWIN must be running !</source>
        <translation>ARSWIN doit s&apos;exécuter !</translation>
    </message>
    <message>
        <source>Hamlib rotctld server (TCP %1)</source>
        <translation>Serveur rotctld Hamlib (TCP %1)</translation>
    </message>
    <message>
        <source>Antenna at %1°</source>
        <translation>Antenne à %1°</translation>
    </message>
    <message>
        <source>Choose another port under Init (Ctrl+I).</source>
        <translation>Choisissez un autre port dans Init (Ctrl+I).</translation>
    </message>
    <message>
        <source>another program holds this port</source>
        <translation>un autre programme occupe ce port</translation>
    </message>
    <message>
        <source>Close it (ss -tlpn &apos;sport = :%1&apos; names it), or choose another port under Init (Ctrl+I).</source>
        <translation>Fermez-le (ss -tlpn &apos;sport = :%1&apos; le nomme), ou choisissez un autre port dans Init (Ctrl+I).</translation>
    </message>
    <message>
        <source>ROTCTLD_ADDRESS in Orvantis.ini is not an IP address of this computer</source>
        <translation>ROTCTLD_ADDRESS dans Orvantis.ini n&apos;est pas une adresse IP de cet ordinateur</translation>
    </message>
    <message>
        <source>Correct ROTCTLD_ADDRESS in Orvantis.ini: 127.0.0.1 for this computer only, 0.0.0.0 for the network.</source>
        <translation>Corrigez ROTCTLD_ADDRESS dans Orvantis.ini : 127.0.0.1 pour cet ordinateur seul, 0.0.0.0 pour le réseau.</translation>
    </message>
    <message>
        <source>Orvantis cannot serve Hamlib programs on %1, TCP port %2: %3.
</source>
        <translation>Orvantis ne peut pas servir les programmes Hamlib sur %1, port TCP %2 : %3.
</translation>
    </message>
    <message>
        <source>Set another ROTCTLD_PORT in Orvantis.ini.</source>
        <translation>Indiquez un autre ROTCTLD_PORT dans Orvantis.ini.</translation>
    </message>
    <message>
        <source>Close it (ss -tlpn &apos;sport = :%1&apos; names it), or set another ROTCTLD_PORT in Orvantis.ini.</source>
        <translation>Fermez-le (ss -tlpn &apos;sport = :%1&apos; le nomme), ou indiquez un autre ROTCTLD_PORT dans Orvantis.ini.</translation>
    </message>
    <message>
        <source>this computer does not have that address (yet)</source>
        <translation>cet ordinateur n&apos;a pas (encore) cette adresse</translation>
    </message>
    <message>
        <source>If the network is still coming up, nothing needs doing; otherwise correct ROTCTLD_ADDRESS in Orvantis.ini.</source>
        <translation>Si le réseau est encore en train de démarrer, il n&apos;y a rien à faire ; sinon corrigez ROTCTLD_ADDRESS dans Orvantis.ini.</translation>
    </message>
    <message>
        <source> Orvantis tries again every few seconds and says when it serves.</source>
        <translation> Orvantis réessaie toutes les quelques secondes et dira quand il sert.</translation>
    </message>
    <message>
        <source>set PORTKORU and ANTKORU in Orvantis.ini, the same as in the logger.</source>
        <translation>indiquez PORTKORU et ANTKORU dans Orvantis.ini, les mêmes que dans le logger.</translation>
    </message>
    <message>
        <source>no device: dosdevices/%1 is missing</source>
        <translation>aucun appareil : dosdevices/%1 manque</translation>
    </message>
    <message>
        <source>not served</source>
        <translation>non servi</translation>
    </message>
    <message>
        <source>Running. Hamlib clients: %1; KORU datagrams: %2.</source>
        <translation>En service. Clients Hamlib : %1 ; datagrammes KORU : %2.</translation>
    </message>
    <message>
        <source>Closed; settings saved in %1.</source>
        <translation>Fermé ; réglages enregistrés dans %1.</translation>
    </message>
    <message>
        <source>Closed; the settings in %1 were not saved.</source>
        <translation>Fermé ; les réglages de %1 n&apos;ont pas été enregistrés.</translation>
    </message>
    <message>
        <source>Orvantis now listens: %1 port %2.</source>
        <translation>Orvantis écoute maintenant : %1 port %2.</translation>
    </message>
    <message>
        <source>choose another port or antenna number under Init (Ctrl+I), the same as in the logger.</source>
        <translation>choisissez un autre port ou numéro d&apos;antenne dans Init (Ctrl+I), le même que dans le logger.</translation>
    </message>
    <message>
        <source>Another program holds the port (ss -ulpn &apos;sport = :%1&apos; names it): close it, or </source>
        <translation>Un autre programme tient ce port (ss -ulpn &apos;sport = :%1&apos; le nomme) : fermez-le, ou </translation>
    </message>
    <message>
        <source>KORU Logger: UDP port %1 cannot be listened on: %2.
</source>
        <translation>KORU Logger : le port UDP %1 ne peut pas être écouté : %2.
</translation>
    </message>
    <message>
        <source>%1 (%2) is not present: %3 is not used in this run, and its port stays saved. Plug the adapter in and start Orvantis again; if it comes back under another name, pick it under Init (Ctrl+I) and use &quot;Pin to this adapter&quot;.</source>
        <translation>%1 (%2) est absent : %3 n&apos;est pas utilisé pour cette fois, et son port reste enregistré. Branchez l&apos;adaptateur et relancez Orvantis ; s&apos;il revient sous un autre nom, choisissez-le dans Init (Ctrl+I) et utilisez « Attacher à cet adaptateur ».</translation>
    </message>
</context>
<context>
    <name>NumberText</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; n&apos;est pas une valeur entière correcte</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>&apos;%1&apos; n&apos;est pas une valeur en virgule flottante correcte</translation>
    </message>
</context>
<context>
    <name>ParallelRotors</name>
    <message>
        <source>The parallel port %1 could not be written: %2.
Check that the ppdev module is loaded (sudo modprobe ppdev), that no printer service holds the port, and that your user may use it: sudo usermod -aG lp $USER, then log out and in again.</source>
        <translation>Le port parallèle %1 n&apos;a pas pu être écrit : %2.
Vérifiez que le module ppdev est chargé (sudo modprobe ppdev), qu&apos;aucun service d&apos;impression ne tient le port, et que votre utilisateur y a accès : sudo usermod -aG lp $USER, puis fermez la session et reconnectez-vous.</translation>
    </message>
</context>
<context>
    <name>PortDriverCheck</name>
    <message>
        <source>The ppdev driver is not loaded.
It is mandatory when controlling an LPT port.
Please load the ppdev module (modprobe ppdev), join the group lp
and restart ORVANTIS.</source>
        <translation>Le pilote ppdev n&apos;est pas chargé.
Il est nécessaire lors du contrôle d&apos;un port LPT.
SVP charger le module ppdev (modprobe ppdev), rejoindre le groupe lp
et redémarrez ORVANTIS.</translation>
    </message>
</context>
<context>
    <name>SerialFailure</name>
    <message>
        <source>%1 has no COM port.
Pick one under Init (Ctrl+I).</source>
        <translation>%1 n&apos;a pas de port COM.
Choisissez-en un dans Init (Ctrl+I).</translation>
    </message>
    <message>
        <source>no device</source>
        <translation>aucun périphérique</translation>
    </message>
    <message>
        <source>%1 (%2): the command could not be sent: %3.
The adapter stopped answering or was unplugged: check it and its cable; the next command opens the port again.</source>
        <translation>%1 (%2) : la commande n&apos;a pas pu être envoyée : %3.
L&apos;adaptateur ne répond plus ou a été débranché : vérifiez-le ainsi que son câble ; la commande suivante rouvre le port.</translation>
    </message>
    <message>
        <source>%1 (%2) cannot be opened: %3.
</source>
        <translation>%1 (%2) ne peut pas être ouvert : %3.
</translation>
    </message>
    <message>
        <source>pick another port under Init (Ctrl+I)</source>
        <translation>choisissez un autre port dans Init (Ctrl+I)</translation>
    </message>
    <message>
        <source>Plug the adapter in (or correct the link %1 in the dosdevices folder beside Orvantis.ini), or %2.</source>
        <translation>Branchez l&apos;adaptateur (ou corrigez le lien %1 du dossier dosdevices à côté d&apos;Orvantis.ini), ou %2.</translation>
    </message>
    <message>
        <source>Your user may not use serial ports. Run
    sudo usermod -aG dialout $USER
then log out and in again.</source>
        <translation>Votre utilisateur n&apos;a pas accès aux ports série. Lancez
    sudo usermod -aG dialout $USER
puis fermez la session et reconnectez-vous.</translation>
    </message>
    <message>
        <source>Another program holds it (fuser -v %1 names it): close that program, or %2.</source>
        <translation>Un autre programme l&apos;utilise (fuser -v %1 le nomme) : fermez ce programme, ou %2.</translation>
    </message>
    <message>
        <source>It is held by %1: close that program, or %2.</source>
        <translation>Il est utilisé par %1 : fermez ce programme, ou %2.</translation>
    </message>
    <message>
        <source>This is not a serial port: correct the link %1 in the dosdevices folder beside Orvantis.ini, or %2.</source>
        <translation>Ce n&apos;est pas un port série : corrigez le lien %1 du dossier dosdevices à côté d&apos;Orvantis.ini, ou %2.</translation>
    </message>
    <message>
        <source>Unplug the adapter and plug it in again, or %1.</source>
        <translation>Débranchez puis rebranchez l&apos;adaptateur, ou %1.</translation>
    </message>
</context>
<context>
    <name>SettingsFileTexts</name>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>un tube nommé (FIFO)</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>un périphérique</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>une socket</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>un dossier</translation>
    </message>
    <message>
        <source>%1 is not an ordinary file but %2, so Orvantis neither reads nor replaces it: it starts with its default settings, and this session&apos;s settings are not saved. Remove it, or put an ordinary Orvantis.ini in its place, before starting Orvantis again.</source>
        <translation>%1 n&apos;est pas un fichier ordinaire mais %2 : Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages de cette session ne sont pas enregistrés. Supprimez-le, ou mettez à sa place un fichier Orvantis.ini ordinaire, avant de relancer Orvantis.</translation>
    </message>
    <message>
        <source>%1 holds no setting that Orvantis knows: it may have been saved in another encoding (such as Notepad&apos;s &quot;Unicode&quot;, which is UTF-16) or belong to another program. Orvantis starts with its default settings and leaves the file as it is. To keep its settings, save it again as ANSI or UTF-8; to start afresh, delete it.</source>
        <translation>%1 ne contient aucun réglage connu d&apos;Orvantis : il a peut-être été enregistré dans un autre codage (comme « Unicode » du Bloc-notes, c&apos;est-à-dire UTF-16) ou appartient à un autre programme. Orvantis démarre avec ses réglages par défaut et laisse le fichier tel quel. Pour garder ses réglages, enregistrez-le de nouveau en ANSI ou en UTF-8 ; pour repartir de zéro, supprimez-le.</translation>
    </message>
    <message>
        <source>%1 is a symbolic link that leads back to itself and never to a file, so Orvantis neither reads nor replaces it: it starts with its default settings, and this session&apos;s settings are not saved. Point the link at a file, or remove it, before starting Orvantis again.</source>
        <translation>%1 est un lien symbolique qui ramène à lui-même et jamais à un fichier : Orvantis ne le lit pas et ne le remplace pas. Il démarre avec ses réglages par défaut, et les réglages de cette session ne sont pas enregistrés. Faites pointer le lien vers un fichier, ou supprimez-le, avant de relancer Orvantis.</translation>
    </message>
    <message>
        <source>could not be read at start</source>
        <translation>n&apos;a pas pu être lu au démarrage</translation>
    </message>
    <message>
        <source>Make it readable (check its permissions) before starting Orvantis again.</source>
        <translation>Rendez-le lisible (droits d&apos;accès) avant de relancer Orvantis.</translation>
    </message>
    <message>
        <source>is not an ordinary file</source>
        <translation>n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Remove it, or put an ordinary file in its place, before starting Orvantis again.</source>
        <translation>Supprimez-le, ou mettez à sa place un fichier ordinaire, avant de relancer Orvantis.</translation>
    </message>
    <message>
        <source>holds no setting that Orvantis knows</source>
        <translation>ne contient aucun réglage connu d&apos;Orvantis</translation>
    </message>
    <message>
        <source>Save it again as ANSI or UTF-8, or delete it, before starting Orvantis again.</source>
        <translation>Enregistrez-le de nouveau en ANSI ou en UTF-8, ou supprimez-le, avant de relancer Orvantis.</translation>
    </message>
    <message>
        <source>is a symbolic link that leads back to itself</source>
        <translation>est un lien symbolique qui ramène à lui-même</translation>
    </message>
    <message>
        <source>Point the link at a file, or remove it, before starting Orvantis again.</source>
        <translation>Faites pointer le lien vers un fichier, ou supprimez-le, avant de relancer Orvantis.</translation>
    </message>
    <message>
        <source>%1 %2, so it is left as it was and this session&apos;s settings are not saved. %3</source>
        <translation>%1 %2 ; il est laissé tel quel et les réglages de cette session ne sont pas enregistrés. %3</translation>
    </message>
    <message>
        <source>The name of favourite %1, &quot;%2&quot;, holds characters that Orvantis.ini (Windows-1252) cannot keep: it is saved as &quot;%3&quot;. Choose a name without them to keep it as you wrote it.</source>
        <translation>Le nom du favori %1, « %2 », contient des caractères qu&apos;Orvantis.ini (Windows-1252) ne peut pas garder : il est enregistré sous la forme « %3 ». Choisissez un nom sans ces caractères pour le garder tel que vous l&apos;avez écrit.</translation>
    </message>
    <message>
        <source>%1
Key %2, line %3 of %4: the line is ignored and the setting keeps its previous value; Orvantis writes a valid one when it closes.</source>
        <translation>%1
Clé %2, ligne %3 de %4 : la ligne est ignorée et le réglage garde sa valeur précédente ; Orvantis en écrit une valide à sa fermeture.</translation>
    </message>
</context>
<context>
    <name>SettingsFiles</name>
    <message>
        <source>Can&apos;t create Orvantis.ini</source>
        <translation>Ne peut créer Orvantis.ini</translation>
    </message>
</context>
<context>
    <name>SetupTexts</name>
    <message>
        <source>Check to quit in Host mode</source>
        <translation>Cocher pour quitter en mode Host</translation>
    </message>
    <message>
        <source>Enter the path of the directory of Movenow.com</source>
        <translation>Entrer le chemin du répertoire de Movenow.com</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Butée</translation>
    </message>
    <message>
        <source>Use for parking</source>
        <translation>Position parking</translation>
    </message>
    <message>
        <source>Min Step°</source>
        <translation>Pas mini°</translation>
    </message>
    <message>
        <source>CAUTION : ARSWIN must be running</source>
        <translation>CAUTION : ARSWIN doit être lancé</translation>
    </message>
    <message>
        <source>If using ARSVCOM, choose GS232, the virtual COM port created by ARSVCOM and check the box &quot;+el=0&quot;</source>
        <translation>Si utilisation ARSVCOM, choisir GS232, le port COM virtuel créé par ARSVCOM et cocher la case &quot;+el=0&quot;</translation>
    </message>
    <message>
        <source>Check to play an audio signal when a command is sent to rotator</source>
        <translation>Cocher pour jouer un son lorsque le rotor est commandé</translation>
    </message>
    <message>
        <source>Cannot find Movenow.com !</source>
        <translation>Movenow.com pas trouvé !</translation>
    </message>
    <message>
        <source>Please choose a COM port for this interface</source>
        <translation>SVP, choisissez un port COM pour cette interface</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Let Hamlib programs (gpredict, rotctl) steer the antenna</source>
        <translation>Laisser les programmes Hamlib (gpredict, rotctl) orienter l&apos;antenne</translation>
    </message>
    <message>
        <source>TCP port:</source>
        <translation>Port TCP :</translation>
    </message>
    <message>
        <source>Read position</source>
        <translation>Lire la position</translation>
    </message>
    <message>
        <source>Pin to this adapter</source>
        <translation>Attacher à cet adaptateur</translation>
    </message>
    <message>
        <source>Keep this COM name for this adapter whatever order adapters are plugged in: links dosdevices/comN, beside Orvantis.ini, to its /dev/serial/by-id name</source>
        <translation>Garder ce nom COM pour cet adaptateur quel que soit l&apos;ordre de branchement : lie dosdevices/comN, à côté d&apos;Orvantis.ini, à son nom /dev/serial/by-id</translation>
    </message>
    <message>
        <source>Cannot pin %1 to %2: %3.
Check that the folder of Orvantis.ini is writable.</source>
        <translation>Impossible d&apos;attacher %1 à %2 : %3.
Vérifiez que le dossier d&apos;Orvantis.ini est accessible en écriture.</translation>
    </message>
</context>
<context>
    <name>Translation</name>
    <message>
        <source>Qt&apos;s own texts for this language (qtbase_%2.qm) are not in %1: standard buttons and menus stay in English. Install the package qt6-translations-l10n.</source>
        <translation>Les textes de Qt pour cette langue (qtbase_%2.qm) ne sont pas dans %1 : les boutons et menus standard restent en anglais. Installez le paquet qt6-translations-l10n.</translation>
    </message>
</context>
</TS>
