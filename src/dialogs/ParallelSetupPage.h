#pragma once

#include "dialogs/SetupPage.h"
#include "host/LptPortTable.h"

class QLineEdit;

// The page of a parallel-port box (PourSat, FODTrack): its LPT port and the
// calibration of its azimuth reading.
class ParallelSetupPage : public SetupPage {
    Q_OBJECT

public:
    ParallelSetupPage(InterfaceKind kind, SetupDialogContext context, std::function<InterfaceKind()> chosen,
                      QWidget *parent = nullptr);

    void FormShow() override;
    bool interfaceChosen() override;

    // Shows the LPT items found at start and the model's selection.
    void fillPorts();
    // The LPT port to release at closing; nullopt without a selection.
    std::optional<quint16> selectedAddress() const;

protected:
    void beforeTest() override;

private:
    void RadioGroupLPTClick();
    void EditCalAzChange();
    void EditZeroChange();
    const ParallelAddressTable &addresses() const;
    int &modelSelection();
    const QStringList &modelItems() const;

    RadioGroup *m_lpt;
    QLineEdit *m_calibration;
    QLineEdit *m_zero;
};
