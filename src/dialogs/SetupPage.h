#pragma once

#include "config/InterfaceKind.h"
#include "dialogs/SetupDialogContext.h"
#include "dialogs/TestParkingGroup.h"

#include <QWidget>

#include <functional>

class QGridLayout;
class QLabel;
class QSpinBox;
class RadioGroup;
class TestParkingGroup;
struct SetupTexts;

// One page of the setup dialog: the settings of one interface. The families every
// page shares (stop side, minimum step, test and parking) live here; the pages of
// each interface family add their own controls.
class SetupPage : public QWidget {
    Q_OBJECT

public:
    struct Names {
        QString page;       // TabSheetGS
        QString stopSide;   // RadioGroupGSbutee; empty for none
        QString step;       // SpinEditStepGS
        QString stepLabel;  // LabelStepGS
        TestParkingGroup::Names test;
    };

    // chosen: the interface selected in the dialog's interface choice.
    SetupPage(InterfaceKind kind, const Names &names, SetupDialogContext context,
              std::function<InterfaceKind()> chosen, QWidget *parent = nullptr);

    InterfaceKind kind() const { return m_kind; }

    // The page's part of the dialog's showing: every control from the record.
    virtual void FormShow();
    virtual void applyLanguage(const SetupTexts &texts);
    // Called by the interface choice when this page's interface is picked.
    // False refuses the choice (the caller has shown why).
    virtual bool interfaceChosen() { return true; }

    TestParkingGroup *testGroup() const { return m_test; }
    bool parkingTicked() const;
    int testAzimuth() const;
    // The activation's parking: the test azimuth and a ticked box.
    void showParking(int azimuth);

protected:
    // Puts a family control into the page's column.
    void addRow(QWidget *widget);
    void addRow(QWidget *label, QWidget *field);
    // Something the page must do before a test move (claim its port).
    virtual void beforeTest() {}
    void loadStopAndStep();

    InterfaceSettings &settings() { return m_context.config.at(m_kind); }
    bool isChosen() const { return m_chosen() == m_kind; }

    SetupDialogContext m_context;
    RadioGroup *m_stopSide = nullptr;
    QLabel *m_stepLabel = nullptr;

private:
    void BitBtnTestClick();
    void CheckBoxParkClick();

    InterfaceKind m_kind;
    std::function<InterfaceKind()> m_chosen;
    QGridLayout *m_grid;
    int m_nextRow = 0;
    QSpinBox *m_step;
    TestParkingGroup *m_test;
};
