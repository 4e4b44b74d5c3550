#pragma once

#include "config/Language.h"

#include <QString>

// The setup dialog's texts that follow the language menu.
struct SetupTexts {
    QString trakBoxHost;     // CheckBoxTKBHost
    QString kctMoveLabel;    // LabelKCTMove
    QString kctStop;         // RadioGroupKCTbutee
    QString parkingLabel;    // every page but ZENTA
    QString stepLabel;       // every page
    QString zentaCaution;    // StaticTextZENTA
    QString zentaHint;       // LabelZENTA
    QString audioSignal;     // CheckBoxEnvoiCommande
    QString movenowMissing;
    QString comPortMissing;
    QString warningTitle;
    QString errorTitle;
    QString rotctldServe;    // CheckBoxRotctld
    QString rotctldPort;     // beside EditPortRotctld
    QString readPosition;    // the read-back box of the controllers that can be asked
    QString pinPort;         // ButtonPin<page>
    QString pinPortHint;     // its tooltip
    QString pinFailed;       // %1 COM name, %2 link target, %3 the system's reason
};

const SetupTexts &setupTexts(const Language &language);
