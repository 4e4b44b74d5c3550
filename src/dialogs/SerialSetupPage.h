#pragma once

#include "dialogs/SetupPage.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

// The page of one serial controller: its view of the shared COM port list, the
// offset, the baud rate where the controller has a choice, and its extras.
class SerialSetupPage : public SetupPage {
    Q_OBJECT

public:
    SerialSetupPage(InterfaceKind kind, SetupDialogContext context, std::function<InterfaceKind()> chosen,
                    QWidget *parent = nullptr);

    void FormShow() override;
    void applyLanguage(const SetupTexts &texts) override;
    bool interfaceChosen() override;

    // Shows the present ports and the model's selection for this interface.
    void fillPorts();

Q_SIGNALS:
    // The port list changed on disk (a COM name pinned); every page shows it again.
    void comPortsChanged();

private:
    void RadioGroupPortClick(int item);
    void ComboBoxBaudClick();
    void ButtonPinClick();
    // The pin button works for a selected adapter that has a by-id name it does not use yet.
    void enablePin();
    QCheckBox *addFlag(const QString &name, const QString &caption, bool Configuration::*flag);
    void addReadPosition();

    RadioGroup *m_ports;
    QPushButton *m_pin;
    QSpinBox *m_offset;
    QComboBox *m_baud = nullptr;
    QCheckBox *m_trakBoxHost = nullptr;
    QCheckBox *m_readPosition = nullptr;
    // The page's check boxes and the record flags they edit.
    struct Flag {
        QCheckBox *box;
        bool Configuration::*field;
    };
    QList<Flag> m_flags;
    QString m_comPortMissing;
    QString m_warningTitle;
    QString m_pinFailed;
};
