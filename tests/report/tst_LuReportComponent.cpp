// The component as tebo sees it: loaded at run time, created by its class
// identifier through the creation helper, called through its interface.
#include "ReportDialogs.h"
#include "TeboComponentRegistry.h"
#include "platform/ComponentFactory.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLibrary>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QByteArray fixture(const char *name)
{
    QFile f(qEnvironmentVariable("TEBO_TEST_DATA") + QStringLiteral("/report/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

const QStringList kDesignTexts = {
    QStringLiteral("Uložiť do RTF..."),
    QStringLiteral("Stlačte toto tlačidlo, ak si želáte uložiť zobrazený výstup do RTF súboru"),
    QStringLiteral("Tlač..."),
    QStringLiteral("Stlačte toto tlačidlo, ak si želáte vytlačiť zobrazený výstup"),
    QStringLiteral("Zatvoriť"),
    QStringLiteral("Stlačte toto tlačidlo, ak si želáte zatvoriť okno"),
};

// Runs f on the shown preview window, then closes it.
void whileShown(const std::function<void(QWidget *)> &f)
{
    QTimer::singleShot(0, [f] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmReport") && w->isVisible()) {
                f(w);
                w->close();
                return;
            }
    });
}

} // namespace

class tst_LuReportComponent : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void entryPoints();
    void registrationRecord();
    void unknownClassIsRefused();
    void initialFormattingAndFontRule_data();
    void initialFormattingAndFontRule();
    void componentWideSwitchesResetByCreation();
    void buttonTexts_data();
    void buttonTexts();
    void captionAndButtonTextsShownInWindow();
    void addTextRuns();
    void addTextAppendsToRichText();
    void addPictureFile();
    void saveUnchangedIsByteIdentical();
    void saveAppendedDocument();
    void saveCancelledWritesNothing();

private:
    TeboComPtr<_claLuReport1_4> create();
    void setHandlers(const ReportDialogs::Handlers &h);
    QTemporaryDir m_dir;
    QString m_lib;
};

void tst_LuReportComponent::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("TEBO_COMPONENT_REGISTRY", m_dir.filePath(QStringLiteral("registry/components.ini")).toLocal8Bit());
    m_lib = QStringLiteral(LUREPORT_LIBRARY);
    QString error;
    QCOMPARE(ComponentFactory::registerServer(m_lib, &error), TEBO_S_OK);
}

void tst_LuReportComponent::cleanup()
{
    setHandlers(ReportDialogs::Handlers());
}

void tst_LuReportComponent::setHandlers(const ReportDialogs::Handlers &h)
{
    QLibrary lib(m_lib);
    auto fn = reinterpret_cast<void (*)(const ReportDialogs::Handlers *)>(lib.resolve("LuReport1_4_SetDialogHandlers"));
    QVERIFY(fn);
    fn(&h);
}

TeboComPtr<_claLuReport1_4> tst_LuReportComponent::create()
{
    QString error;
    auto *p = ComponentFactory::create<_claLuReport1_4>(CLSID_claLuReport1_4, IID__claLuReport1_4, &error);
    if (!p)
        qWarning("%s", qPrintable(error));
    return TeboComPtr<_claLuReport1_4>(p);
}

void tst_LuReportComponent::entryPoints()
{
    QLibrary lib(m_lib);
    QVERIFY(lib.load());
    auto getClassObject = reinterpret_cast<TeboDllGetClassObjectFn>(lib.resolve("DllGetClassObject"));
    auto canUnload = reinterpret_cast<TeboDllCanUnloadNowFn>(lib.resolve("DllCanUnloadNow"));
    QVERIFY(getClassObject && canUnload);
    QVERIFY(lib.resolve("DllRegisterServer") && lib.resolve("DllUnregisterServer"));

    QCOMPARE(canUnload(), TEBO_S_OK);
    void *f = nullptr;
    QCOMPARE(getClassObject(&CLSID_claLuReport1_4, &IID_TeboIClassFactory, &f), TEBO_S_OK);
    auto *factory = static_cast<TeboIClassFactory *>(f);
    QCOMPARE(canUnload(), TEBO_S_FALSE);

    void *o = nullptr;
    QCOMPARE(factory->CreateInstance(reinterpret_cast<TeboIUnknown *>(factory), IID__claLuReport1_4, &o),
             TEBO_CLASS_E_NOAGGREGATION);
    QCOMPARE(factory->CreateInstance(nullptr, IID_TeboIClassFactory, &o), TEBO_E_NOINTERFACE);
    QVERIFY(!o);
    QCOMPARE(factory->CreateInstance(nullptr, IID__claLuReport1_4, &o), TEBO_S_OK);
    auto *report = static_cast<_claLuReport1_4 *>(o);
    void *unk = nullptr;
    QCOMPARE(report->QueryInterface(IID_TeboIUnknown, &unk), TEBO_S_OK);
    static_cast<TeboIUnknown *>(unk)->Release();
    factory->Release();
    QCOMPARE(canUnload(), TEBO_S_FALSE); // the instance still lives
    report->Release();
    QCOMPARE(canUnload(), TEBO_S_OK);
}

void tst_LuReportComponent::registrationRecord()
{
    const QString key = teboClassKey(CLSID_claLuReport1_4, "InprocServer32");
    {
        QSettings s(teboComponentRegistryPath(), QSettings::IniFormat);
        QCOMPARE(QFileInfo(s.value(key).toString()).canonicalFilePath(), QFileInfo(m_lib).canonicalFilePath());
        QCOMPARE(s.value(QStringLiteral("TypeLib/{741F02C7-41ED-48A5-9407-3C7DF3F5E0FE}/1.0/HelpString")).toString(),
                 QStringLiteral("Lu Report 1.4"));
    }
    QCOMPARE(QFileInfo(ComponentFactory::libraryFor(CLSID_claLuReport1_4)).canonicalFilePath(), QFileInfo(m_lib).canonicalFilePath());
    QCOMPARE(ComponentFactory::unregisterServer(m_lib), TEBO_S_OK);
    {
        QSettings s(teboComponentRegistryPath(), QSettings::IniFormat);
        QVERIFY(!s.contains(key));
    }
    // Unregistered: the helper looks next to the program, where the test has no library.
    QCOMPARE(ComponentFactory::libraryFor(CLSID_claLuReport1_4),
             QCoreApplication::applicationDirPath() + QStringLiteral("/lureport1_4"));
    QString error;
    void *o = nullptr;
    QCOMPARE(ComponentFactory::createInstance(CLSID_claLuReport1_4, IID__claLuReport1_4, &o, &error),
             TEBO_CLASS_E_CLASSNOTAVAILABLE);
    QVERIFY(!o);
    QVERIFY(!error.isEmpty());
    QCOMPARE(ComponentFactory::registerServer(m_lib), TEBO_S_OK);
    QVERIFY(create());
}

void tst_LuReportComponent::unknownClassIsRefused()
{
    const TeboGuid other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    void *o = nullptr;
    QVERIFY(ComponentFactory::createInstance(other, IID__claLuReport1_4, &o) != TEBO_S_OK);
    QVERIFY(!o);
    QLibrary lib(m_lib);
    auto getClassObject = reinterpret_cast<TeboDllGetClassObjectFn>(lib.resolve("DllGetClassObject"));
    QCOMPARE(getClassObject(&other, &IID_TeboIClassFactory, &o), TEBO_CLASS_E_CLASSNOTAVAILABLE);
}

void tst_LuReportComponent::initialFormattingAndFontRule_data()
{
    QTest::addColumn<QString>("put");
    QTest::addColumn<QString>("get");
    QTest::newRow("plain name") << "Times New Roman" << "Times New Roman CE";
    QTest::newRow("already CE") << "Arial CE" << "Arial CE";
    QTest::newRow("other case") << "Arial ce" << "Arial ce";
    QTest::newRow("empty") << "" << " CE";
    QTest::newRow("CE inside") << "CEntury" << "CEntury CE";
}

void tst_LuReportComponent::initialFormattingAndFontRule()
{
    auto report = create();
    QVERIFY(report);
    // From the control's formatting, with the rule applied.
    QCOMPARE(report->get_FontName(), QStringLiteral("Arial CE"));
    QCOMPARE(report->get_FontSize(), 10.0f);
    QCOMPARE(report->get_Bold(), false);
    QCOMPARE(report->get_Italic(), false);
    QCOMPARE(report->get_Color(), 0u);
    QFETCH(QString, put);
    QFETCH(QString, get);
    report->put_FontName(put);
    QCOMPARE(report->get_FontName(), get);
}

void tst_LuReportComponent::componentWideSwitchesResetByCreation()
{
    auto first = create();
    first->put_Landscape(true);
    first->put_PageNumEnabled(true);
    QVERIFY(first->get_Landscape() && first->get_PageNumEnabled());
    auto second = create();
    QVERIFY(!first->get_Landscape());
    QVERIFY(!first->get_PageNumEnabled());
    second->put_Landscape(true);
    QVERIFY(first->get_Landscape());
}

void tst_LuReportComponent::buttonTexts_data()
{
    QTest::addColumn<QStringList>("put");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("unchanged") << kDesignTexts << kDesignTexts;
    QStringList six = {"Save", "Save tip", "Print", "Print tip", "Close", "Close tip"};
    QTest::newRow("six") << six << six;
    QStringList three = {"Save", "Save tip", "Print"};
    QTest::newRow("three") << three
                           << QStringList{"Save", "Save tip", "Print", kDesignTexts[3], kDesignTexts[4], kDesignTexts[5]};
    QTest::newRow("more than taken") << (six + QStringList{"extra"}) << six;
    QTest::newRow("empty") << QStringList() << kDesignTexts;
}

void tst_LuReportComponent::buttonTexts()
{
    auto report = create();
    QCOMPARE(report->get_ButtonTexts(), kDesignTexts);
    QFETCH(QStringList, put);
    QFETCH(QStringList, expected);
    report->put_ButtonTexts(put);
    QCOMPARE(report->get_ButtonTexts(), expected);
}

void tst_LuReportComponent::captionAndButtonTextsShownInWindow()
{
    auto report = create();
    QCOMPARE(report->get_Caption(), QStringLiteral("Report"));
    report->put_Caption(QStringLiteral("Preberací protokol"));
    report->put_ButtonTexts({"Save", "Save tip", "Print"});
    QString title, save, tip, print, close;
    whileShown([&](QWidget *w) {
        title = w->windowTitle();
        save = w->findChild<QPushButton *>("cmdDoSuboru")->text();
        tip = w->findChild<QPushButton *>("cmdDoSuboru")->toolTip();
        print = w->findChild<QPushButton *>("cmdVytlacit")->text();
        close = w->findChild<QPushButton *>("cmdCancel")->text();
    });
    report->Show();
    QCOMPARE(title, QStringLiteral("Preberací protokol"));
    QCOMPARE(save, QStringLiteral("Save"));
    QCOMPARE(tip, QStringLiteral("Save tip"));
    QCOMPARE(print, QStringLiteral("Print"));
    QCOMPARE(close, QStringLiteral("Zatvoriť"));
    // After Show the window is gone; a new one starts from its design texts.
    QCOMPARE(report->get_Caption(), QStringLiteral("Report"));
}

void tst_LuReportComponent::addTextRuns()
{
    auto report = create();
    report->put_FontName(QStringLiteral("Arial"));
    report->put_FontSize(12);
    report->put_Color(0x0000FF); // red in the low byte
    report->AddText(QStringLiteral("Normálny "));
    report->put_Bold(true);
    report->put_Color(0xFF0000);
    report->AddText(QStringLiteral("Tučný\r\nriadok"));
    TeboRichTextControl *rtf = report->get_RichText();
    QCOMPARE(rtf->Text(), QStringLiteral("Normálny Tučný\r\nriadok"));
    const QByteArray out = rtf->TextRTF();
    const qsizetype normal = out.indexOf("\\b0\\i0\\cf");
    const qsizetype bold = out.indexOf("\\b\\i0\\cf");
    QVERIFY2(normal > 0 && bold > normal, out.constData());
    QVERIFY(out.contains("Norm\\u225\\'e1lny "));
    QVERIFY(out.contains("Tu\\u269\\'e8n\\u253\\'fd\\par riadok"));
    QVERIFY(out.contains("\\fs24"));
    QVERIFY(out.contains("\\red255\\green0\\blue0;\\red0\\green0\\blue255;"));

    // Read back, the runs keep their formatting.
    auto again = create();
    again->get_RichText()->SetTextRTF(out);
    QCOMPARE(again->get_RichText()->Text(), QStringLiteral("Normálny Tučný\r\nriadok"));
}

void tst_LuReportComponent::addTextAppendsToRichText()
{
    auto report = create();
    const QByteArray tpl = fixture("protokol-dve-strany.rtf");
    report->get_RichText()->SetTextRTF(tpl);
    QCOMPARE(report->get_RichText()->TextRTF(), tpl);
    report->AddText(QStringLiteral("Doplnok {s} \\zátvorkami"));
    const QString text = report->get_RichText()->Text();
    QVERIFY(text.endsWith(QStringLiteral("\r\nDoplnok {s} \\zátvorkami")));
    const QByteArray out = report->get_RichText()->TextRTF();
    // Original bytes kept; the piece goes in before the final brace.
    QVERIFY(out.startsWith(tpl.left(tpl.indexOf("{\\colortbl"))));
    QVERIFY(out.endsWith("Doplnok \\{s\\} \\\\z\\u225\\'e1tvorkami}}"));
    // The existing Arial CE entry is reused; no font is added.
    QCOMPARE(out.count("{\\fonttbl"), 1);
    QVERIFY(!out.contains("\\fnil\\fcharset238 Arial;"));
}

void tst_LuReportComponent::addPictureFile()
{
    const QString path = m_dir.filePath(QStringLiteral("logo.png"));
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(QColor(10, 200, 30));
    QVERIFY(img.save(path));
    auto report = create();
    report->AddText(QStringLiteral("pred "));
    report->AddPictureFile(path);
    report->AddText(QStringLiteral(" po"));
    QCOMPARE(report->get_RichText()->Text(), QStringLiteral("pred ") + QChar(QChar::ObjectReplacementCharacter) + " po");
    const QByteArray out = report->get_RichText()->TextRTF();
    QVERIFY(out.contains("{\\pict\\pngblip\\picw30\\pich20\\picwgoal450\\pichgoal300"));
    // The clipboard keeps the picture.
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(30, 20));

    // Read back: the picture is there with its pixels.
    auto again = create();
    again->get_RichText()->SetTextRTF(out);
    QCOMPARE(again->get_RichText()->Text(), QStringLiteral("pred ") + QChar(QChar::ObjectReplacementCharacter) + " po");

    // A file that is no picture inserts nothing (the clipboard was cleared).
    report.reset();
    again.reset();
    auto third = create();
    third->AddPictureFile(m_dir.filePath(QStringLiteral("missing.png")));
    QCOMPARE(third->get_RichText()->Text(), QString());
}

void tst_LuReportComponent::saveUnchangedIsByteIdentical()
{
    const QByteArray tpl = fixture("protokol-dve-strany.rtf");
    const QString target = m_dir.filePath(QStringLiteral("unchanged"));
    ReportDialogs::Handlers h;
    QString filter, suffix;
    h.save = [&](const ReportDialogs::SaveRequest &r) {
        filter = r.filter;
        suffix = r.defaultSuffix;
        return target;
    };
    QStringList messages;
    h.message = [&](const QString &t, ReportDialogs::Icon) { messages << t; };
    setHandlers(h);
    auto report = create();
    report->get_RichText()->SetTextRTF(tpl);
    whileShown([](QWidget *w) { w->findChild<QPushButton *>("cmdDoSuboru")->click(); });
    report->Show();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QCOMPARE(filter, QStringLiteral("(*.rtf)|*.rtf"));
    QCOMPARE(suffix, QStringLiteral(".rtf"));
    QFile f(target + QStringLiteral(".rtf")); // the default extension was added
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), tpl);
}

void tst_LuReportComponent::saveAppendedDocument()
{
    const QString target = m_dir.filePath(QStringLiteral("appended.rtf"));
    ReportDialogs::Handlers h;
    h.save = [&](const ReportDialogs::SaveRequest &) { return target; };
    QStringList messages;
    h.message = [&](const QString &t, ReportDialogs::Icon) { messages << t; };
    setHandlers(h);
    auto report = create();
    report->get_RichText()->SetTextRTF(fixture("unicode.rtf"));
    report->put_FontName(QStringLiteral("Verdana"));
    report->put_Italic(true);
    report->AddText(QStringLiteral("\r\nKoniec šťastne"));
    whileShown([](QWidget *w) { w->findChild<QPushButton *>("cmdDoSuboru")->click(); });
    report->Show();
    QVERIFY(messages.isEmpty());
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray out = f.readAll();
    // A new font and a new colour table join the document's header.
    QVERIFY2(out.contains("{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset238 Verdana;}}{\\colortbl ;\\red0\\green0\\blue0;}"),
             out.constData());
    QVERIFY2(out.endsWith("{\\plain\\f1\\fs20\\b0\\i\\cf1\\uc1 \\par Koniec \\u353\\'9a\\u357\\'9dastne}}"), out.right(120).constData());

    // A save that fails says why, once.
    messages.clear();
    h.save = [&](const ReportDialogs::SaveRequest &) { return m_dir.filePath(QStringLiteral("no/such/dir/x.rtf")); };
    setHandlers(h);
    auto second = create();
    whileShown([](QWidget *w) { w->findChild<QPushButton *>("cmdDoSuboru")->click(); });
    second->Show();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains(QStringLiteral("no/such/dir/x.rtf")));
}

void tst_LuReportComponent::saveCancelledWritesNothing()
{
    ReportDialogs::Handlers h;
    int asked = 0;
    h.save = [&](const ReportDialogs::SaveRequest &) { ++asked; return QString(); };
    QStringList messages;
    h.message = [&](const QString &t, ReportDialogs::Icon) { messages << t; };
    setHandlers(h);
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    auto report = create();
    whileShown([](QWidget *w) { w->findChild<QPushButton *>("cmdDoSuboru")->click(); });
    report->Show();
    QCOMPARE(asked, 1);
    QVERIFY(messages.isEmpty());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
}

QTEST_MAIN(tst_LuReportComponent)
#include "tst_LuReportComponent.moc"
