#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Vlastnosti zariadenia": opening time, transfer password and notes of the
// open database Zariadenie. Changes reach the record only on OK.
class frmVlastnostiZariadenia : public QDialog
{
    Q_OBJECT
public:
    explicit frmVlastnostiZariadenia(QWidget *parent = nullptr);

    // Fills the dialog from Zariadenie and shows it modally.
    void Zobrazit();
    // Fills the fields from Zariadenie and clears the changed flag.
    void Form_Load();
    bool ZmenyBoli() const { return m_zmenyBoli; }

    // Ten characters from the 63-character alphabet (A-Z, 0-9, a-z, space).
    static QString NahodneHeslo(int dlzka);

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdGenerovatNoveHeslo_Click();
    void chkZobrazitZnakyHesla_Click();

public:
    void reject() override; // every way of closing asks first

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The close question; true when the dialog may close.
    bool Form_QueryUnload();
    void zmena() { m_zmenyBoli = true; }

    QLineEdit *txtCasOtvaraniaSec;
    QLineEdit *txtHeslo;
    QCheckBox *chkZobrazitZnakyHesla;
    QPushButton *cmdGenerovatNoveHeslo;
    QPlainTextEdit *txtPoznamky;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    bool m_zmenyBoli = false;
    bool m_prelozene = false;
};
