#pragma once

#include <QDialog>
#include <QStringList>
#include <QVector>

class QFrame;
class QPushButton;
class RichTextBox;

// The preview: the text laid out as wide as the printer's line, with
// commands to save it as RTF, print it and close.
class frmReport : public QDialog
{
    Q_OBJECT
public:
    explicit frmReport(QWidget *parent = nullptr);

    RichTextBox *rtfReport = nullptr;
    QPushButton *cmdDoSuboru = nullptr;
    QPushButton *cmdVytlacit = nullptr;
    QPushButton *cmdCancel = nullptr;
    QFrame *linHore = nullptr;

    // Captions and tool tips of the buttons in the window's control order.
    QStringList buttonTexts() const;
    void setButtonTexts(const QStringList &texts);

    void Form_Resize();
    void cmdDoSuboru_Click();
    void cmdVytlacit_Click();
    void cmdCancel_Click();
    void unload();

    int twipsToPixels(int twips) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QVector<QPushButton *> buttonsInOrder() const;
};
