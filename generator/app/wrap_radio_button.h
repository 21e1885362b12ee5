// An option button whose caption wraps onto several lines within the button's width, as the
// options form's two long captions need. The whole button area takes the click.
#pragma once

#include <QRadioButton>

class WrapRadioButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
