#include "dialogs/FavouritesEditor.h"

#include "config/Translation.h"
#include "dialogs/AzimuthSpinField.h"
#include "ui/TextFit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>

namespace {
const QSize DesignedClientSize(199, 228);
// The title bar's own buttons and icon, beside the title.
constexpr int TitleBarAllowance = 112;

QString editorTitle(const Language &language)
{
    return Translation::text(language, "FavouritesEditor", QT_TRANSLATE_NOOP("FavouritesEditor", "Favorite azimuths"));
}

// Wide enough for the longest of the titles, so a window manager does not cut
// it; the title bar's font is usually the bold application font.
int titleWidth(const QWidget &window)
{
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (const Language &language : Language::available())
        widest = std::max(widest, metrics.horizontalAdvance(editorTitle(language)));
    return widest + TitleBarAllowance;
}
} // namespace

FavouritesEditor::FavouritesEditor(Configuration &config, UserFeedback &feedback,
                                   std::function<Language()> language,
                                   std::function<void(int n, const QString &caption)> setFavouriteCaption,
                                   QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      m_config(config),
      m_language(std::move(language)),
      m_setFavouriteCaption(std::move(setFavouriteCaption))
{
    setObjectName(QStringLiteral("FormFav"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("AZIM."), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Text."), this), 0, 2);

    QWidget *previous = nullptr;
    for (int row = 0; row < FavouriteCount; ++row) {
        const QString number = QString::number(row + 1);
        grid->addWidget(new QLabel(QStringLiteral("Fav.") + number, this), row + 1, 0);

        auto *azimuth = new AzimuthSpinField(feedback, this);
        azimuth->setObjectName(QStringLiteral("SpinEdit") + number);
        grid->addWidget(azimuth, row + 1, 1);

        auto *label = new QLineEdit(QStringLiteral("Fav.") + number, this);
        label->setObjectName(QStringLiteral("Edit") + number);
        label->setMaxLength(LabelLength);
        // Room for a caption typed to its limit, in the user's font and style.
        label->setMinimumWidth(lineEditSizeFor(*label, QString(LabelLength, QLatin1Char('W'))).width());
        connect(label, &QLineEdit::textEdited, this, [this, label] { keepLabelLimit(label); });
        grid->addWidget(label, row + 1, 2);

        if (previous)
            setTabOrder(previous, azimuth);
        setTabOrder(azimuth, label);
        previous = label;
        m_azimuthFields[row] = azimuth;
        m_labelFields[row] = label;
    }

    m_saveButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Save"), this);
    m_saveButton->setObjectName(QStringLiteral("BitBtnSave"));
    connect(m_saveButton, &QPushButton::clicked, this, &FavouritesEditor::CommitFavourites);
    grid->addWidget(m_saveButton, FavouriteCount + 1, 1, 1, 2);
    setTabOrder(previous, m_saveButton);

    setWindowTitle(editorTitle(Language::english()));
    setFixedSize(minimumSizeHint().expandedTo(DesignedClientSize).expandedTo(QSize(titleWidth(*this), 0)));
}

void FavouritesEditor::FillFavourites()
{
    const Language language = m_language();
    setWindowTitle(editorTitle(language));
    m_saveButton->setText(Translation::text(language, "FavouritesEditor", QT_TRANSLATE_NOOP("FavouritesEditor", "Save")));

    for (int row = 0; row < FavouriteCount; ++row) {
        m_azimuthFields[row]->setValue(m_config.favourites[row].azimuth);
        setLabelText(m_labelFields[row], m_config.favourites[row].label);
    }
}

void FavouritesEditor::CommitFavourites()
{
    for (int row = 0; row < FavouriteCount; ++row) {
        AzimuthSpinField *azimuth = m_azimuthFields[row];
        azimuth->pullIntoRange();
        m_config.favourites[row].azimuth = azimuth->value();
        m_config.favourites[row].label = m_labelFields[row]->text();
        m_setFavouriteCaption(row + 1, m_config.favourites[row].label);
    }
}

void FavouritesEditor::showEvent(QShowEvent *event)
{
    // A spontaneous show is the window manager restoring a minimised window, which
    // must keep the user's unsaved edits.
    if (!event->spontaneous())
        FillFavourites();
    QWidget::showEvent(event);
}

void FavouritesEditor::closeEvent(QCloseEvent *event)
{
    // A hidden editor still holds the fields of its last showing (or none at all),
    // so closing it, as an application-wide close may do, must not overwrite the record.
    if (isVisible())
        CommitFavourites();
    event->accept();
}

void FavouritesEditor::setLabelText(QLineEdit *field, const QString &text)
{
    // QLineEdit cuts a text set from code to its maximum length; a longer label from
    // the settings file must survive a round trip untouched, so the limit is widened
    // to hold it and only typing is held to seven characters.
    field->setMaxLength(std::max<int>(LabelLength, text.size()));
    field->setText(text);
}

void FavouritesEditor::keepLabelLimit(QLineEdit *field)
{
    // After an edit the limit shrinks with the text, so a long label can be cut but
    // never grow, and a label typed anew stops at seven characters.
    field->setMaxLength(std::max<int>(LabelLength, field->text().size()));
}
