#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

// Choice of a serial line: a name typed or taken from the live list of the
// system's serial lines.
class frmUrcenieSeriovejLinky : public QDialog
{
    Q_OBJECT
public:
    explicit frmUrcenieSeriovejLinky(QWidget *parent = nullptr);
    ~frmUrcenieSeriovejLinky() override;

    // Shows the dialog modally; the confirmed name ("comN", a native name,
    // a device path, or "NOCOM"), empty when closed without a choice.
    QString Ukaz(const QString &com_port_na_oznacenie, const QString &prompt, bool flag_povoleny_nocom);

    // Checks the name field and, when it names a port that opens, confirms it.
    void cmdOk_Click();
    void cmdCancel_Click();
    void timAktualizovatZoznam_Timer();
    void lstZoznamPortov_Click(QListWidgetItem *item);
    void lstNoveKomunikacneLinky_Click(QListWidgetItem *item);

    QString Vysledok() const { return m_vysledok; }
    bool ZmenyBoli() const { return m_zmenyBoli; }

    // The port name a list item stands for: its text up to the first blank.
    static QString NazovZPolozky(const QString &text);
    // Name checks of cmdOk without the trial opening: the candidate name, or
    // empty with the warning text (untranslated) in *chyba.
    static QString KandidatZNazvu(const QString &text, bool flag_povoleny_nocom, QString *chyba);

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool MozeZatvorit();
    void Form_Load();

    QLabel *lblPrompt = nullptr;
    QLineEdit *txtNazovKomunikacnehoPortu = nullptr;
    QListWidget *lstZoznamPortov = nullptr;
    QListWidget *lstNoveKomunikacneLinky = nullptr;
    QStringList lstTmpZoznamPortov;
    QTimer *timAktualizovatZoznam = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

    QString m_comPortNaOznacenie;
    QString m_prompt;
    bool m_povolenyNocom = false;
    QString m_vysledok;
    bool m_zmenyBoli = false;
    bool m_zatvaranieOdsuhlasene = false;
    bool m_prvyTik = true;
};
