#pragma once

#include "dialogs/SetupPage.h"
#include "rotors/HamlibModels.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The HAMLIB page: a model from the library's own list (found by maker or name
// through the filter), then a COM port for a serial model or host:port for a
// network one, the speed, the offset and the read-back.
class HamlibSetupPage : public SetupPage {
    Q_OBJECT

public:
    HamlibSetupPage(SetupDialogContext context, std::function<InterfaceKind()> chosen, QWidget *parent = nullptr);

    void FormShow() override;
    void applyLanguage(const SetupTexts &texts) override;
    bool interfaceChosen() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillLists();
    void fillModels();
    void fillPorts();
    void modelPicked();
    // Any change on this page makes the [HAMLIB] section part of the file.
    void changed();

    QList<HamlibModel> m_models;
    QLineEdit *m_filter;
    QComboBox *m_model;
    QLabel *m_modelLabel;
    QComboBox *m_port;
    QLabel *m_portLabel;
    QLineEdit *m_address;
    QLabel *m_addressLabel;
    QComboBox *m_baud;
    QLabel *m_baudLabel;
    QSpinBox *m_offset;
    QLabel *m_offsetLabel;
    QCheckBox *m_readPosition;
    bool m_showing = false;
};
