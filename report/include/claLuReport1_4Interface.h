// The one header that tebo and the lureport1_4 component share.
// tebo never links the component: it loads the library at run time, asks
// its class factory for the default interface and calls through it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// Result codes with the values the component model uses.
using TeboHResult = std::int32_t;
constexpr TeboHResult TEBO_S_OK = 0;
constexpr TeboHResult TEBO_S_FALSE = 1;
constexpr TeboHResult TEBO_E_NOINTERFACE = static_cast<TeboHResult>(0x80004002u);
constexpr TeboHResult TEBO_E_POINTER = static_cast<TeboHResult>(0x80004003u);
constexpr TeboHResult TEBO_E_FAIL = static_cast<TeboHResult>(0x80004005u);
constexpr TeboHResult TEBO_CLASS_E_NOAGGREGATION = static_cast<TeboHResult>(0x80040110u);
constexpr TeboHResult TEBO_CLASS_E_CLASSNOTAVAILABLE = static_cast<TeboHResult>(0x80040111u);

struct TeboGuid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

inline bool operator==(const TeboGuid &a, const TeboGuid &b)
{
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i])
            return false;
    return true;
}
inline bool operator!=(const TeboGuid &a, const TeboGuid &b) { return !(a == b); }

// {00000000-0000-0000-C000-000000000046}
constexpr TeboGuid IID_TeboIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000001-0000-0000-C000-000000000046}
constexpr TeboGuid IID_TeboIClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Type library LuReport1_4 {741F02C7-41ED-48A5-9407-3C7DF3F5E0FE}
constexpr TeboGuid LIBID_LuReport1_4 = {0x741F02C7, 0x41ED, 0x48A5, {0x94, 0x07, 0x3C, 0x7D, 0xF3, 0xF5, 0xE0, 0xFE}};
// Class claLuReport1_4 {91DCC26B-18DA-4A2F-B00C-2C55274D6279}
constexpr TeboGuid CLSID_claLuReport1_4 = {0x91DCC26B, 0x18DA, 0x4A2F, {0xB0, 0x0C, 0x2C, 0x55, 0x27, 0x4D, 0x62, 0x79}};
// Default interface _claLuReport1_4 {0CC74542-606A-4188-9383-D08E0BF745AC}
constexpr TeboGuid IID__claLuReport1_4 = {0x0CC74542, 0x606A, 0x4188, {0x93, 0x83, 0xD0, 0x8E, 0x0B, 0xF7, 0x45, 0xAC}};

struct TeboIUnknown {
    virtual TeboHResult QueryInterface(const TeboGuid &iid, void **object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~TeboIUnknown() = default;
};

struct TeboIClassFactory : TeboIUnknown {
    virtual TeboHResult CreateInstance(TeboIUnknown *outer, const TeboGuid &iid, void **object) = 0;
    virtual TeboHResult LockServer(bool lock) = 0;
};

// The preview's rich-text control as the caller sees it. Its default
// property is the document as RTF text (8-bit, as RTF files are).
struct TeboRichTextControl {
    virtual QByteArray TextRTF() const = 0;
    virtual void SetTextRTF(const QByteArray &rtf) = 0;
    virtual QString Text() const = 0; // plain text of the document

protected:
    virtual ~TeboRichTextControl() = default;
};

// Default interface of claLuReport1_4, members in their interface order.
struct _claLuReport1_4 : TeboIUnknown {
    virtual void put_PageNumEnabled(bool vData) = 0;
    virtual bool get_PageNumEnabled() = 0;
    virtual void AddText(const QString &txt) = 0;
    virtual void AddPictureFile(const QString &fname) = 0;
    virtual void put_Bold(bool bb) = 0;
    virtual bool get_Bold() = 0;
    virtual void put_Caption(const QString &bb) = 0;
    virtual QString get_Caption() = 0;
    virtual void put_Color(std::uint32_t bb) = 0; // red in the low byte
    virtual std::uint32_t get_Color() = 0;
    virtual void put_FontName(const QString &bb) = 0;
    virtual QString get_FontName() = 0;
    virtual void put_FontSize(float bb) = 0;
    virtual float get_FontSize() = 0;
    virtual TeboRichTextControl *get_RichText() = 0;
    virtual void put_Italic(bool bb) = 0;
    virtual bool get_Italic() = 0;
    virtual void put_Landscape(bool vData) = 0;
    virtual bool get_Landscape() = 0;
    virtual void Show() = 0;
    virtual void put_ButtonTexts(const QStringList &text_array) = 0;
    virtual QStringList get_ButtonTexts() = 0;
};

// Entry points of the component library, C linkage.
extern "C" {
typedef TeboHResult (*TeboDllGetClassObjectFn)(const TeboGuid *clsid, const TeboGuid *iid, void **object);
typedef TeboHResult (*TeboDllCanUnloadNowFn)();
typedef TeboHResult (*TeboDllRegisterServerFn)();
typedef TeboHResult (*TeboDllUnregisterServerFn)();
}
