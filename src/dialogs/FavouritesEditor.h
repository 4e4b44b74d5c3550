#pragma once

#include "config/Configuration.h"
#include "config/Language.h"

#include <QWidget>

#include <array>
#include <functional>

class AzimuthSpinField;
class QLineEdit;
class QPushButton;
class UserFeedback;

// The window `FormFav` in which the six favourite azimuths and labels are edited.
// It is not modal and has no cancel: saving and closing both commit to the record
// and to the main window's favourite buttons at once.
class FavouritesEditor : public QWidget {
    Q_OBJECT

public:
    // setFavouriteCaption receives the favourite's number, 1..6.
    FavouritesEditor(Configuration &config, UserFeedback &feedback, std::function<Language()> language,
                     std::function<void(int n, const QString &caption)> setFavouriteCaption,
                     QWidget *parent = nullptr);

    void FillFavourites();
    void CommitFavourites();

    // The longest caption the user can type.
    static constexpr int LabelLength = 7;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setLabelText(QLineEdit *field, const QString &text);
    void keepLabelLimit(QLineEdit *field);

    Configuration &m_config;
    std::function<Language()> m_language;
    std::function<void(int, const QString &)> m_setFavouriteCaption;
    std::array<AzimuthSpinField *, FavouriteCount> m_azimuthFields{};
    std::array<QLineEdit *, FavouriteCount> m_labelFields{};
    QPushButton *m_saveButton = nullptr;
};
