#include "ui/TextFit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

QSize lineEditSizeFor(const QLineEdit &edit, const QString &text)
{
    // QLineEdit keeps two pixels beside its text and one for the cursor.
    constexpr int TextSideRoom = 2;
    const QMargins margins = edit.textMargins();
    const int width = edit.fontMetrics().horizontalAdvance(text) + 2 * TextSideRoom + 1 + margins.left() + margins.right();
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (edit.isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    const QSize contents = edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, 0), &edit);
    // The height a line edit asks for already holds its font and frame.
    return {contents.width(), edit.sizeHint().height()};
}
