#pragma once

#include "dialogs/SetupPage.h"

class QLabel;

// The page of ZENTA, which hands the azimuth to the ARSWIN program.
class ZentaSetupPage : public SetupPage {
    Q_OBJECT

public:
    ZentaSetupPage(SetupDialogContext context, std::function<InterfaceKind()> chosen, QWidget *parent = nullptr);

    void applyLanguage(const SetupTexts &texts) override;

private:
    QLabel *m_caution;
    QLabel *m_hint;
};
