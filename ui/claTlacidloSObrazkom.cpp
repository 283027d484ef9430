#include "ui/claTlacidloSObrazkom.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {
constexpr int kOkraj = 3;
}

claTlacidloSObrazkom::claTlacidloSObrazkom(QWidget *parent) : QPushButton(parent)
{
    setAutoDefault(false);
    setIconSize(QSize(24, 24));
    setFocusPolicy(Qt::TabFocus);
}

QSize claTlacidloSObrazkom::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return QSize(iconSize().width() + 8 * fm.averageCharWidth(), iconSize().height() + 3 * fm.height() + 4 * kOkraj);
}

QSize claTlacidloSObrazkom::minimumSizeHint() const
{
    return QSize(iconSize().width() + 2 * kOkraj, iconSize().height() + 2 * kOkraj);
}

void claTlacidloSObrazkom::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, opt);

    const QRect inner = rect().adjusted(kOkraj, kOkraj, -kOkraj, -kOkraj);
    const bool stlacene = isDown() || isChecked();
    const int posun = stlacene ? 1 : 0;
    int y = inner.top() + 1 + posun;
    if (!icon().isNull()) {
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        const QPixmap pm = icon().pixmap(iconSize(), devicePixelRatio(), mode);
        const QSize logical = pm.deviceIndependentSize().toSize();
        p.drawPixmap(inner.left() + (inner.width() - logical.width()) / 2 + posun, y, pm);
        y += logical.height() + 2;
    }
    const QRect textRect(inner.left() + posun, y, inner.width(), inner.bottom() - y + 1);
    p.drawItemText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, palette(), isEnabled(), text(),
                   QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect f;
        f.initFrom(this);
        f.rect = rect().adjusted(2, 2, -2, -2);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, f);
    }
}
