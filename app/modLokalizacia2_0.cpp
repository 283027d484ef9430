#include "app/modLokalizacia2_0.h"

#include "claLuReport1_4Interface.h"
#include "platform/Win1250Codec.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

QString &lokalizacnyText()
{
    static QString text;
    return text;
}

const QString kCrLf = QStringLiteral("\r\n");

// A file this large is no translation table.
constexpr qint64 kMaxSize = 64 * 1024 * 1024;

QString parameterText(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        QString t = QString::number(v.toDouble(), 'g', 15);
        t.replace(QLatin1Char('.'), QLocale().decimalPoint());
        return t;
    }
    default:
        return v.toString();
    }
}

void translateTexts(QWidget *w)
{
    auto tip = [w] { w->setToolTip(LokalizujText(w->toolTip())); };
    if (auto *l = qobject_cast<QLabel *>(w)) {
        l->setText(LokalizujText(l->text()));
        tip();
    } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        b->setText(LokalizujText(b->text()));
        tip();
    } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
        g->setTitle(LokalizujText(g->title()));
        tip();
    } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QTextEdit *>(w)
               || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QComboBox *>(w)) {
        tip();
    } else if (qobject_cast<QListView *>(w)) {
        tip(); // list boxes; multi-column list views set their texts themselves
    }
}

void translateMenu(QMenu *menu)
{
    menu->setTitle(LokalizujText(menu->title()));
    const auto actions = menu->actions();
    for (QAction *a : actions) {
        if (a->isSeparator())
            continue;
        if (a->menu())
            translateMenu(a->menu());
        else
            a->setText(LokalizujText(a->text()));
    }
}

} // namespace

void NacitajLokalizaciu(const QString &path)
{
    QString &text = lokalizacnyText();
    text.clear();
    QFile f(path);
    if (!f.exists() || !f.open(QIODevice::ReadOnly) || f.size() > kMaxSize)
        return;
    const QString content = Win1250Codec::toUnicode(f.readAll());
    if (content.isEmpty())
        return;
    text = kCrLf + content + kCrLf;
}

QString LokalizacnyText()
{
    return lokalizacnyText();
}

QString LokalizujText(const QString &text, const QVariantList &params)
{
    if (text.isEmpty())
        return QString();
    QString result = text;
    const QString &table = lokalizacnyText();
    if (!table.isEmpty()) {
        const QString needle = kCrLf + text + QLatin1Char('\t');
        const qsizetype at = table.indexOf(needle);
        if (at >= 0) {
            const qsizetype from = at + needle.size();
            qsizetype end = table.indexOf(kCrLf, from);
            if (end < 0)
                end = table.size();
            const QString translation = table.mid(from, end - from).trimmed();
            if (!translation.isEmpty())
                result = translation;
        }
    }
    result.replace(QLatin1String("~@"), kCrLf);
    if (params.isEmpty())
        return result;

    // One pass, so that a parameter's own text is never scanned for markers,
    // and "~!1" never eats the start of "~!10".
    QString out;
    out.reserve(result.size());
    for (qsizetype i = 0; i < result.size();) {
        if (result[i] == QLatin1Char('~') && i + 2 < result.size() && result[i + 1] == QLatin1Char('!')
            && result[i + 2].isDigit()) {
            qsizetype j = i + 2;
            while (j < result.size() && result[j].isDigit())
                ++j;
            bool ok = false;
            const int n = result.mid(i + 2, j - i - 2).toInt(&ok);
            if (ok && n >= 1 && n <= params.size()) {
                out += parameterText(params[n - 1]);
                i = j;
                continue;
            }
        }
        out += result[i];
        ++i;
    }
    return out;
}

void LokalizujFormular(QWidget *form)
{
    if (!form)
        return;
    form->setWindowTitle(LokalizujText(form->windowTitle()));
    const auto widgets = form->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (qobject_cast<QMenuBar *>(w) || qobject_cast<QMenu *>(w))
            continue;
        translateTexts(w);
    }
    const auto bars = form->findChildren<QMenuBar *>();
    for (QMenuBar *bar : bars) {
        const auto actions = bar->actions();
        for (QAction *a : actions) {
            if (a->menu())
                translateMenu(a->menu());
            else if (!a->isSeparator())
                a->setText(LokalizujText(a->text()));
        }
    }
}

void LokalizujReport(_claLuReport1_4 *report)
{
    if (!report)
        return;
    report->put_Caption(LokalizujText(report->get_Caption()));
    QStringList texts = report->get_ButtonTexts();
    for (QString &t : texts)
        t = LokalizujText(t);
    report->put_ButtonTexts(texts);
}
