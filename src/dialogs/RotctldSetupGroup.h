#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
struct ExtensionSettings;
struct SetupTexts;

// Whether the program serves rotctld clients, and on which TCP port. A field the
// user leaves alone leaves its setting alone, so a file that never held these
// keys does not gain them by a visit to the dialog.
class RotctldSetupGroup : public QGroupBox {
    Q_OBJECT

public:
    RotctldSetupGroup(ExtensionSettings &settings, QWidget *parent);

    void applyLanguage(const SetupTexts &texts);
    // Shows the settings as they are (each showing of the dialog).
    void fill();
    // Takes the fields into the settings. False, with the port selected for
    // correction, when the port is not 1..65535; `changed` tells whether any
    // setting now differs.
    bool commit(bool *changed);

private:
    ExtensionSettings &m_settings;
    QCheckBox *m_serve;
    QLineEdit *m_port;
    QLabel *m_portLabel;
    bool m_filled = false;
};
