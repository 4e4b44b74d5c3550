#pragma once

#include "config/AzimuthSource.h"
#include "config/Configuration.h"
#include "config/InterfaceKind.h"
#include "config/Language.h"
#include "config/WindowField.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

// What reading Orvantis.ini does to the main window. The main window implements
// it; each call is the same handling as the user's own action.
class LoadActions {
public:
    virtual ~LoadActions() = default;
    virtual void applyLanguage(const Language &language) = 0;           // LANGUAGE=ENGLISH / FRENCH / …
    virtual void pressAuto() = 0;                                        // each AUTO=1 line
    virtual void chooseServer(AzimuthSource source) = 0;                 // SERVER=GEOMUNDO / BEAMDX / KORU
    virtual void setFavouriteCaption(int n, const QString &caption) = 0; // n = 1..6
    virtual void setWindowGeometry(WindowField field, int value) = 0;    // WTOP / WLEFT / WWIDTH / WHEIGHT
    virtual void setChannelBaud(InterfaceKind kind, int baudIndex) = 0;  // a BAUD_ text of the table
};

struct LoadReport {
    // One conversion message per strict value that did not convert, in file
    // order, naming the key, the line and the file. The key keeps its earlier
    // value and reading goes on.
    QStringList conversionErrors;
};

// Applies every line of an Orvantis.ini image to the record and the main
// window, in file order. Any bytes are accepted: lines that do not match a key
// are ignored, and the time taken grows linearly with the size of the file. A
// UTF-8 byte-order mark is not part of the first line. fileName is where the
// bytes came from, for the notices. lptUsable false (no parallel-port access)
// makes every LPT_ index none.
LoadReport LoadConfiguration(const QByteArray &fileBytes, const QString &fileName, Configuration &config,
                             LoadActions &actions, bool lptUsable, const QLocale &locale = QLocale());

// False for bytes that are not blank yet hold no line with a known key: another
// encoding (UTF-16), another program's file, noise. Writing the settings over
// such a file would destroy something that was never read.
bool holdsSettings(const QByteArray &fileBytes);
