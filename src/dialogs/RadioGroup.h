#pragma once

#include <QGroupBox>
#include <QStringList>

class QAbstractButton;
class QButtonGroup;
class QBoxLayout;

// A captioned group of radio items with at most one selected. Selecting an item,
// by the user or from code, emits itemClicked only when the selection changes;
// clearing the selection emits nothing.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString &objectName, const QString &caption, const QStringList &items,
               QWidget *parent = nullptr, Qt::Orientation orientation = Qt::Vertical);

    void setItems(const QStringList &items);
    int count() const;
    int selectedIndex() const;
    // An index outside the items clears the selection.
    void setSelectedIndex(int index);
    void clearSelection();
    // Mirrors a model's selection without running any handler.
    void showSelection(int index);
    // The item's radio button, for tests and keyboard focus.
    QAbstractButton *item(int index) const;

Q_SIGNALS:
    void itemClicked(int index);

private:
    QButtonGroup *m_buttons;
    QBoxLayout *m_column;
};
