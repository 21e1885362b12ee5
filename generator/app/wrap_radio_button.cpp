#include "generator/app/wrap_radio_button.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

void WrapRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();

    QStyleOptionButton indicator = opt;
    indicator.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, this);
    p.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);

    const int spacing = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &opt, this);
    QRect textRect = rect();
    textRect.setLeft(indicator.rect.right() + 1 + spacing);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    p.drawItemText(textRect, flags, palette(), isEnabled(), caption, QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(textRect, flags, caption).adjusted(-1, 0, 1, 0);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
