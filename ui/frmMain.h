#pragma once

#include <QMainWindow>
#include <QStringList>
#include <vector>

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;
class claModelZoznamuIdentifikatorov;
class frmVlastnostiZariadenia;
class timPrekresliIdentifikatory;

// The main window: the identifier list of the open database Zariadenie and
// every command of the program.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Shows the window and loads the last database (the window's load).
    void Zobrazit();
    void AktualizovatTitulok();
    void AktualizovatPocty();
    // The unsaved-changes question; true when closing may go on.
    bool Form_QueryUnload();

    // The redraw request object that dialogs receive as timPrekreslenie.
    timPrekresliIdentifikatory *timPrekreslenie() const { return m_timPrekresliIdentifikatory; }
    // Codes of the selected items in the list's current order.
    QStringList OznaceneKody() const;
    // Code of the first selected item in the list's current order, or empty.
    QString PrvyOznacenyKod() const;
    int StlpecTriedenia() const { return m_stlpecTriedenia; }
    bool TriedenieVzostupne() const { return m_triedenieVzostupne; }

    static QIcon IkonaProgramu();

public Q_SLOTS:
    // Database and identifier commands.
    void cmdVolbaDatabazovehoSuboru_Click();
    void cmdUlozit_Click();
    void mnuSaveAs_Click();
    void cmdVlastnostiZariadenia_Click();
    void cmdPridatIdentifikator_Click();
    void cmdVlastnostiIdentifikatora_Click();
    void cmdVymazzatIdentifikator_Click();
    void mnuNovaInstalacia_Click();
    void mnuImportModulTav_Click();
    void mnuKoniec_Click();
    // Commands whose windows come with later parts of the program; their
    // buttons and menu items stay disabled until then.
    void cmdPoslatIdentifikatoryNaZariadenie_Click();
    void cmdPripravitPrenosovyCip_Click();
    void cmdNacitatIdentifikatoryZoZariadenia_Click();
    void cmdHladanieIdentifikatora_Click();
    void cmdNastavenieAplikacie_Click();
    void mnuPreberaciProtokol_Click();

    // The list passes the clicked column's one-based index.
    void lstZoznamIdentifikatorov_ColumnClick(int stlpec);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void timPrekresliIdentifikatory_Timer();
    void timDisableEnable_Timer();

private:
    void vytvoritOvladacie();
    void vytvoritMenu();
    QPushButton *tlacidlo(QWidget *rodic, const char *meno, const QString &text, const QString &tip, int ikona);
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void picSuboroveMenu_Resize();
    void picMenuZariadenia_Resize();
    void KopirovatDoSchranky();
    void VlozitZoSchranky();
    void nastavitStlpce();
    // Selected rows in the current order, ascending.
    std::vector<int> oznaceneRiadky() const;
    int twipsX(int twips) const;
    int twipsY(int twips) const;

    int m_stlpecTriedenia = -1;
    bool m_triedenieVzostupne = true;
    bool m_unloaded = false;

    QWidget *picSuboroveMenu = nullptr;
    QWidget *picMenuZariadenia = nullptr;
    QPushButton *cmdVolbaDatabazovehoSuboru = nullptr;
    QPushButton *cmdUlozit = nullptr;
    QPushButton *cmdVlastnostiZariadenia = nullptr;
    QPushButton *cmdPoslatIdentifikatoryNaZariadenie = nullptr;
    QPushButton *cmdPripravitPrenosovyCip = nullptr;
    QPushButton *cmdHladanieIdentifikatora = nullptr;
    QPushButton *cmdNacitatIdentifikatoryZoZariadenia = nullptr;
    QPushButton *cmdNastavenieAplikacie = nullptr;
    QPushButton *cmdPridatIdentifikator = nullptr;
    QPushButton *cmdVlastnostiIdentifikatora = nullptr;
    QPushButton *cmdVymazzatIdentifikator = nullptr;
    QLabel *lblPocetIdentifikatorov = nullptr;
    QTreeView *lstZoznamIdentifikatorov = nullptr;
    claModelZoznamuIdentifikatorov *m_model = nullptr;
    timPrekresliIdentifikatory *m_timPrekresliIdentifikatory = nullptr;
    QTimer *timDisableEnable = nullptr;
    frmVlastnostiZariadenia *m_frmVlastnostiZariadenia = nullptr;

    QMenu *mnuSubor = nullptr;
    QMenu *mnuIdentifikator = nullptr;
    QMenu *mnuZariadenie = nullptr;
    QAction *mnuNovaInstalacia = nullptr;
    QAction *mnuVolbaDatabazy = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuNastaveniaAplikacie = nullptr;
    QAction *mnuImportModulTav = nullptr;
    QAction *mnuKoniec = nullptr;
    QAction *mnuPridatNovyIdentifikatorDoZoznamu = nullptr;
    QAction *mnuVlastnostiIdentifikatora = nullptr;
    QAction *mnuVymazatIdentifikator = nullptr;
    QAction *mnuPreberaciProtokol = nullptr;
    QAction *mnuVlastnostiZariadenia = nullptr;
    QAction *mnuPoslatIdentifikatoryNaZariadenie = nullptr;
    QAction *mnuPripravitPrenosovyCip = nullptr;
    QAction *mnuNacitatIdentifikatoryZoZariadenia = nullptr;
};
