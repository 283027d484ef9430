#include "ui/frmMain.h"

#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "platform/UiDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    resize(900, 600);
    auto *placeholder = new QLabel(this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    claZariadenie::setDialogParent(this);
}

frmMain::~frmMain()
{
    Form_Unload();
}

void frmMain::Zobrazit()
{
    LokalizujFormular(this);
    AktualizovatTitulok();
    show();
    QApplication::processEvents();
    Form_Load();
}

void frmMain::Form_Load()
{
    const QString name = Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE")).trimmed();
    if (!name.isEmpty()) {
        auto z = std::make_shared<claZariadenie>();
        Zariadenie = z->LoadFile(name) ? z : std::make_shared<claZariadenie>();
    }
    AktualizovatTitulok();
    if (auto *l = qobject_cast<QLabel *>(centralWidget()))
        l->setText(QString::number(Zariadenie->Identifikatory().Count()));
}

void frmMain::AktualizovatTitulok()
{
    QString t = TitulAplikacie() + QStringLiteral(" v") + QString::number(TEBO_VERSION_MAJOR) + QLatin1Char('.')
                + QString::number(TEBO_VERSION_MINOR) + QLatin1Char(' ');
    if (Zariadenie->ZmenyBoli())
        t += QLatin1Char('*');
    if (!Zariadenie->FileName().trimmed().isEmpty())
        t += QLatin1Char('[') + Zariadenie->FileName() + QLatin1Char(']');
    setWindowTitle(t);
}

bool frmMain::Form_QueryUnload()
{
    if (!Zariadenie->ZmenyBoli())
        return true;
    const UiDialogs::Answer a = UiDialogs::message(LokalizujText(QStringLiteral("Súbor bol zmenený. Uložiť?")),
                                                   UiDialogs::YesNoCancel, UiDialogs::Question,
                                                   UiDialogs::AnswerYes, this);
    if (a == UiDialogs::AnswerYes) {
        Zariadenie->SaveFile();
        AktualizovatTitulok();
        return !Zariadenie->ZmenyBoli();
    }
    return a == UiDialogs::AnswerNo;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE"), Zariadenie->FileName());
}
