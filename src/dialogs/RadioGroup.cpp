#include "dialogs/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QBoxLayout>

RadioGroup::RadioGroup(const QString &objectName, const QString &caption, const QStringList &items, QWidget *parent,
                       Qt::Orientation orientation)
    : QGroupBox(caption, parent),
      m_buttons(new QButtonGroup(this)),
      m_column(new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this))
{
    setObjectName(objectName);
    m_column->setContentsMargins(6, 2, 6, 4);
    m_column->setSpacing(1);
    setItems(items);
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            Q_EMIT itemClicked(id);
    });
}

void RadioGroup::setItems(const QStringList &items)
{
    for (QAbstractButton *button : m_buttons->buttons()) {
        m_buttons->removeButton(button);
        delete button;
    }
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(objectName() + QStringLiteral("_%1").arg(i));
        m_buttons->addButton(button, i);
        m_column->addWidget(button);
    }
}

int RadioGroup::count() const
{
    return int(m_buttons->buttons().size());
}

int RadioGroup::selectedIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setSelectedIndex(int index)
{
    if (QAbstractButton *button = item(index))
        button->setChecked(true);
    else
        clearSelection();
}

void RadioGroup::clearSelection()
{
    QAbstractButton *checked = m_buttons->checkedButton();
    if (!checked)
        return;
    const QSignalBlocker blocker(m_buttons);
    m_buttons->setExclusive(false);
    checked->setChecked(false);
    m_buttons->setExclusive(true);
}

void RadioGroup::showSelection(int index)
{
    const QSignalBlocker blocker(m_buttons);
    if (QAbstractButton *button = item(index))
        button->setChecked(true);
    else
        clearSelection();
}

QAbstractButton *RadioGroup::item(int index) const
{
    return m_buttons->button(index);
}
