#include "core/SetupTexts.h"

const SetupTexts &setupTexts(bool french)
{
    static const SetupTexts english {
        QStringLiteral("Check to quit in Host mode"),
        QStringLiteral("Enter the path of the directory of Movenow.com"),
        QStringLiteral("Stop"),
        QStringLiteral("Use for parking"),
        QStringLiteral("Min Step°"),
        QStringLiteral("CAUTION : ARSWIN must be running"),
        QStringLiteral("If using ARSVCOM, choose GS232, the virtual COM port created by ARSVCOM and check the box "
                       "\"+el=0\""),
        QStringLiteral("Check to play an audio signal when a command is sent to rotator"),
        QStringLiteral("Cannot find Movenow.com !"),
        QStringLiteral("Please choose a COM port for this interface"),
        QStringLiteral("Warning"),
        QStringLiteral("Error"),
        QStringLiteral("Let Hamlib programs (gpredict, rotctl) steer the antenna"),
        QStringLiteral("TCP port:"),
        QStringLiteral("Read position"),
        QStringLiteral("Pin to this adapter"),
        QStringLiteral("Keep this COM name for this adapter whatever order adapters are plugged in: "
                       "links dosdevices/comN, beside Orvantis.ini, to its /dev/serial/by-id name"),
        QStringLiteral("Cannot pin %1 to %2: %3.\nCheck that the folder of Orvantis.ini is writable."),
    };
    static const SetupTexts frenchTexts {
        QStringLiteral("Cocher pour quitter en mode Host"),
        QStringLiteral("Entrer le chemin du répertoire de Movenow.com"),
        QStringLiteral("Butée"),
        QStringLiteral("Position parking"),
        QStringLiteral("Pas mini°"),
        QStringLiteral("CAUTION : ARSWIN doit être lancé"),
        QStringLiteral("Si utilisation ARSVCOM, choisir GS232, le port COM virtuel créé par ARSVCOM et cocher la "
                       "case \"+el=0\""),
        QStringLiteral("Cocher pour jouer un son lorsque le rotor est commandé"),
        QStringLiteral("Movenow.com pas trouvé !"),
        QStringLiteral("SVP, choisissez un port COM pour cette interface"),
        QStringLiteral("Avertissement"),
        QStringLiteral("Erreur"),
        QStringLiteral("Laisser les programmes Hamlib (gpredict, rotctl) orienter l'antenne"),
        QStringLiteral("Port TCP :"),
        QStringLiteral("Lire la position"),
        QStringLiteral("Attacher à cet adaptateur"),
        QStringLiteral("Garder ce nom COM pour cet adaptateur quel que soit l'ordre de branchement : "
                       "lie dosdevices/comN, à côté d'Orvantis.ini, à son nom /dev/serial/by-id"),
        QStringLiteral("Impossible d'attacher %1 à %2 : %3.\nVérifiez que le dossier d'Orvantis.ini est accessible en écriture."),
    };
    return french ? frenchTexts : english;
}
