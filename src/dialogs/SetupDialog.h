#pragma once

#include "config/Language.h"
#include "dialogs/SetupDialogContext.h"

#include <QWidget>

#include <array>

class KctSetupPage;
class ParallelSetupPage;
class QCheckBox;
class QLineEdit;
class QScrollArea;
class QTabWidget;
class RadioGroup;
class RotctldSetupGroup;
class SerialSetupPage;
class SetupPage;

// FormInit: where the interface is chosen and every interface's settings are
// edited. Not modal: the main window stays usable while it is open. Most controls
// write the record at once; the closing validates the KORU fields, lets go of
// the ports the tests opened and settles the parking choice.
class SetupDialog : public QWidget {
    Q_OBJECT

public:
    explicit SetupDialog(SetupDialogContext context, QWidget *parent = nullptr);

    // Window events, public so the main window and tests can run them.
    void FormShow();
    void FormActivate();
    // False refuses the close: the dialog stays open.
    bool FormClose();
    void RadioGroupRotorClick(int item);

    // Shows the port lists, KORU texts and flags as the model holds them.
    void fillFromChoices();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildKoruGroup(QWidget *box);
    InterfaceKind chosenInterface() const;
    void applyLanguage(const Language &language);
    // As large as the content wants, but never past the screen's free area.
    void fitToScreen();
    // An invalid KORU field: beep and select its text for correction.
    bool refuseKoruField(QLineEdit *field);

    SetupDialogContext m_context;
    RadioGroup *m_rotor;
    QTabWidget *m_pages;
    QScrollArea *m_scroll;
    QWidget *m_content;
    std::array<SetupPage *, InterfaceKindCount> m_page {};
    std::array<ParallelSetupPage *, 2> m_parallelPages {};
    std::array<SerialSetupPage *, 7> m_serialPages {};
    KctSetupPage *m_kctPage = nullptr;
    QLineEdit *m_editPortKoru = nullptr;
    QLineEdit *m_editAntKoru = nullptr;
    RotctldSetupGroup *m_rotctld = nullptr;
    QCheckBox *m_audio = nullptr;
};
