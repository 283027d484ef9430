#pragma once

#include "RtfReader.h"
#include "RtfWriter.h"
#include "claLuReport1_4Interface.h"

#include <QTextEdit>

// The rich-text control of the preview. The RTF it was given is the
// document's source of truth; what is appended afterwards is kept as pieces
// and written into that RTF when the text is asked for.
class RichTextBox : public QTextEdit, public TeboRichTextControl
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    QByteArray TextRTF() const override;
    void SetTextRTF(const QByteArray &rtf) override;
    QString Text() const override;

    // Formatting at the caret, as a new insertion would take it.
    bool selBold() const;
    bool selItalic() const;
    QString selFontName() const;
    qreal selFontSize() const;
    QColor selColor() const;

    // Inserts text at the end with exactly this formatting.
    void appendText(const QString &txt, const QString &fontName, qreal size, bool bold, bool italic,
                    const QColor &color);
    // Inserts the clipboard's picture (or text) at the end. False if it held neither.
    bool pasteFromClipboard();

    // Wraps lines at this width (twips), as the printer will.
    void setTargetLineWidth(int twips);
    int targetLineWidth() const { return m_lineWidthTwips; }

    bool saveFile(const QString &path, QString *error) const;

    const RtfDocInfo &info() const { return m_info; }
    int appendedPieces() const { return m_pieces.size(); }

    // Document units per inch: the logical resolution QTextDocument lays
    // out in when it draws for no particular device.
    static qreal unitsPerInch();

private:
    void appendPicture(const QImage &image);

    QByteArray m_rtf;
    RtfDocInfo m_info;
    QVector<RtfPiece> m_pieces;
    int m_lineWidthTwips = 0;
    int m_pictureSerial = 0;
};
