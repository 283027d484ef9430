#pragma once

#include <QString>
#include <QVariantList>

class QWidget;
struct _claLuReport1_4;

// Translation of the program's Slovak texts through lokalizacia.txt.
void NacitajLokalizaciu(const QString &path);
// Translates, turns "~@" into CR LF and puts the parameters in place of
// "~!1", "~!2", ... Numbers are written with the regional decimal separator.
QString LokalizujText(const QString &text, const QVariantList &params = {});
// Caption, control captions and tool tips, and menu captions of a form.
void LokalizujFormular(QWidget *form);
// The report component's window caption and button texts.
void LokalizujReport(_claLuReport1_4 *report);

// The loaded text (CR LF + file + CR LF), empty when none is loaded.
QString LokalizacnyText();
