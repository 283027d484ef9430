#pragma once

#include <QMainWindow>

class QCloseEvent;

// The main window.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Shows the window and loads the last database (the window's load).
    void Zobrazit();
    void AktualizovatTitulok();
    // The unsaved-changes question; true when closing may go on.
    bool Form_QueryUnload();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    bool m_unloaded = false;
};
