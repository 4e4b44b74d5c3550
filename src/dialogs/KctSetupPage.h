#pragma once

#include "dialogs/SetupPage.h"

class QLabel;
class QLineEdit;
class QSpinBox;

// The page of KCT, which runs the Movenow.com program with the azimuth.
class KctSetupPage : public SetupPage {
    Q_OBJECT

public:
    KctSetupPage(SetupDialogContext context, std::function<InterfaceKind()> chosen, QWidget *parent = nullptr);

    void FormShow() override;
    void applyLanguage(const SetupTexts &texts) override;
    bool interfaceChosen() override;

    // Whether Movenow.com is in the directory typed in EditKctMove; when it is
    // not, the warning has been shown.
    bool checkMovenow();

private:
    QSpinBox *m_offset;
    QLabel *m_moveLabel;
    QLineEdit *m_moveDirectory;
    QString m_movenowMissing;
    QString m_warningTitle;
};
