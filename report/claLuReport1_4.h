#pragma once

#include "claLuReport1_4Interface.h"

#include <QString>
#include <atomic>

// The report class: one instance per report. Its formatting fields feed
// AddText; the window, Landscape and PageNumEnabled are the component's.
class claLuReport1_4 final : public _claLuReport1_4
{
public:
    claLuReport1_4();

    TeboHResult QueryInterface(const TeboGuid &iid, void **object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    void put_PageNumEnabled(bool vData) override;
    bool get_PageNumEnabled() override;
    void AddText(const QString &txt) override;
    void AddPictureFile(const QString &fname) override;
    void put_Bold(bool bb) override;
    bool get_Bold() override;
    void put_Caption(const QString &bb) override;
    QString get_Caption() override;
    void put_Color(std::uint32_t bb) override;
    std::uint32_t get_Color() override;
    void put_FontName(const QString &bb) override;
    QString get_FontName() override;
    void put_FontSize(float bb) override;
    float get_FontSize() override;
    TeboRichTextControl *get_RichText() override;
    void put_Italic(bool bb) override;
    bool get_Italic() override;
    void put_Landscape(bool vData) override;
    bool get_Landscape() override;
    void Show() override;
    void put_ButtonTexts(const QStringList &text_array) override;
    QStringList get_ButtonTexts() override;

    // " CE" goes onto every stored font name that lacks it.
    static QString PravidloCE(const QString &name);

private:
    ~claLuReport1_4() override;

    std::atomic<std::uint32_t> m_refs{1};
    bool m_bold = false;
    bool m_italic = false;
    QString m_fontName;
    float m_fontSize = 10;
    std::uint32_t m_color = 0;
};
