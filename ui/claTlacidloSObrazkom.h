#pragma once

#include <QPushButton>

// A picture button: the picture centred at the top, the caption below it,
// wrapped onto as many lines as the width needs.
class claTlacidloSObrazkom : public QPushButton
{
    Q_OBJECT
public:
    explicit claTlacidloSObrazkom(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
