#pragma once

#include <QObject>
#include <QString>

class CatchUpView;
class QLineEdit;

// EditAzimut as the program sees it. A change the program makes is handled
// first, and any command it sends is written, before the line edit lays out the
// new text: the line edit catches up once the change has been handled, at the
// first turn of an event loop run meanwhile (a command's pause), and before it
// paints or takes any input. What the user edits in the line edit comes back as
// a change like any other.
class AzimuthBox : public QObject {
    Q_OBJECT

public:
    // Lives as long as `lineEdit`, whose text it starts from.
    explicit AzimuthBox(QLineEdit *lineEdit);

    QLineEdit *lineEdit() const { return m_lineEdit; }
    const QString &text() const { return m_text; }
    // As QLineEdit::setText: a different text is a change; the line edit's cursor,
    // selection and undo history are reset even when the text stays.
    void setText(const QString &text);
    // As QLineEdit::clear, which the user may undo: left to the line edit itself.
    void clear();
    // A change is being handled: what shows its outcome may wait for changeEnded().
    bool handlingChange() const { return m_handling > 0; }

Q_SIGNALS:
    // The text changed; the handlers read text().
    void textChanged();
    // A change (or a setText that changed nothing) has been handled and the line
    // edit shows its outcome: the time for whatever else shows it to follow.
    void changeEnded();

private:
    void takeEdit(const QString &text);
    void handleChange();
    void endChange();

    QLineEdit *m_lineEdit;
    QString m_text;
    CatchUpView *m_view;
    int m_handling = 0; // changes being handled, one inside another's pause
};
