#pragma once

#include <QDialog>

class QPushButton;

// Which serial port serves each role; a button per role changes it through
// OtvoritKomunikacnyPort, which also stores it.
class frmNastavenia : public QDialog
{
    Q_OBJECT
public:
    explicit frmNastavenia(QWidget *parent = nullptr);
    ~frmNastavenia() override;

    void cmdPortNaKomunikaciuSoZariadenim_Click();
    void cmdPortNaProgramatorPrenosovehoCipu_Click();
    void cmdPortNaZadavanieIdentifikatorov_Click();
    void cmdCancel_Click();
    // Captions of the three port buttons from the settings file.
    void ObnovitPopisy();

private:
    void ZmenitPort(int typ_portu, bool flag_povoleny_nocom);

    QPushButton *cmdPortNaKomunikaciuSoZariadenim = nullptr;
    QPushButton *cmdPortNaProgramatorPrenosovehoCipu = nullptr;
    QPushButton *cmdPortNaZadavanieIdentifikatorov = nullptr;
    QPushButton *cmdCancel = nullptr;
};

// The main window's application settings command (cmdNastavenieAplikacie,
// mnuNastaveniaAplikacie): a fresh frmNastavenia, shown modally.
void NastavenieAplikacie(QWidget *parent);
