#include "platform/PrivateProfile.h"
#include "platform/UiDialogs.h"
#include "platform/Win1250Codec.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <iconv.h>

class TestPlatform : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void codecMatchesSystemTableForEveryByte();
    void codecRoundTripsEveryByteAndReplacesForeignCharacters();
    void profileReadRules_data();
    void profileReadRules();
    void profileWriteKeepsOtherLines();
    void profileWriteCreatesFileSectionAndKey();
    void profileDeleteKeyAndSection();
    void profileUsesWindows1250();
    void fileFilterConversion_data();
    void fileFilterConversion();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TestPlatform::codecMatchesSystemTableForEveryByte()
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1250");
    QVERIFY(cd != iconv_t(-1));
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        char16_t out[4] = {};
        char *pin = &in;
        char *pout = reinterpret_cast<char *>(out);
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t r = iconv(cd, &pin, &inLeft, &pout, &outLeft);
        const QChar ours = Win1250Codec::toUnicode(static_cast<unsigned char>(b));
        if (r == size_t(-1)) {
            // Bytes the code page leaves undefined pass through as C1 controls.
            ++undefined;
            QCOMPARE(ours.unicode(), char16_t(b));
        } else {
            QCOMPARE(ours.unicode(), out[0]);
        }
    }
    iconv_close(cd);
    QCOMPARE(undefined, 5);
}

void TestPlatform::codecRoundTripsEveryByteAndReplacesForeignCharacters()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QCOMPARE(Win1250Codec::fromUnicode(Win1250Codec::toUnicode(all)), all);
    QCOMPARE(Win1250Codec::fromUnicode(QStringLiteral("Žltý kôň ľúbi ďateliny")),
             QByteArray("\x8Elt\xfd k\xf4\xf2 \xbe\xfa" "bi \xef" "ateliny"));
    QCOMPARE(Win1250Codec::fromUnicode(QStringLiteral("a\u4e2db\u00e5")), QByteArray("a?b?"));
    QVERIFY(!Win1250Codec::canEncode(QChar(0x4e2d)));
    QVERIFY(Win1250Codec::canEncode(QChar(0x010c)));
}

void TestPlatform::profileReadRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray f = "; comment\r\n[Main]\r\nLast_File = C:\\x.qz.xml \r\nA=1\r\nA=2\r\n"
                         "Quoted=\"  spaced  \"\r\n\r\n[Other]\r\nA=other\r\n[main]\r\nB=second section\r\n";
    QTest::newRow("case-insensitive section and key") << f << "MAIN" << "LAST_FILE" << "C:\\x.qz.xml";
    QTest::newRow("first key wins") << f << "main" << "a" << "1";
    QTest::newRow("key of another section") << f << "Other" << "A" << "other";
    QTest::newRow("only the first section counts") << f << "MAIN" << "B" << "";
    QTest::newRow("quotes stripped") << f << "Main" << "Quoted" << "  spaced  ";
    QTest::newRow("absent key") << f << "Main" << "Nothing" << "";
    QTest::newRow("absent section") << f << "Nowhere" << "A" << "";
    QTest::newRow("LF-only lines") << QByteArray("[S]\nK=v\n") << "S" << "K" << "v";
}

void TestPlatform::profileReadRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString p = path(QStringLiteral("read.ini"));
    QVERIFY(writeFile(p, file));
    QCOMPARE(PrivateProfile::read(p, section, key), expected);
    QCOMPARE(PrivateProfile::read(path(QStringLiteral("missing.ini")), section, key), QString());
}

void TestPlatform::profileWriteKeepsOtherLines()
{
    const QString p = path(QStringLiteral("keep.ini"));
    QVERIFY(writeFile(p, "; my notes\r\n[MAIN]\r\nkey1 = old\r\n# odd line\r\n\r\n[Next]\r\nx=1\r\n"));
    QVERIFY(PrivateProfile::write(p, QStringLiteral("main"), QStringLiteral("KEY1"), QStringLiteral("new")));
    QVERIFY(PrivateProfile::write(p, QStringLiteral("MAIN"), QStringLiteral("key2"), QStringLiteral("two")));
    QCOMPARE(readFile(p), QByteArray("; my notes\r\n[MAIN]\r\nkey1=new\r\n# odd line\r\nkey2=two\r\n\r\n"
                                     "[Next]\r\nx=1\r\n"));
}

void TestPlatform::profileWriteCreatesFileSectionAndKey()
{
    const QString p = path(QStringLiteral("new.ini"));
    QFile::remove(p);
    QVERIFY(PrivateProfile::write(p, QStringLiteral("MAIN"), QStringLiteral("LAST_FILE"), QStringLiteral("/a b")));
    QVERIFY(PrivateProfile::write(p, QStringLiteral("Second"), QStringLiteral("k"), QString()));
    QCOMPARE(readFile(p), QByteArray("[MAIN]\r\nLAST_FILE=/a b\r\n[Second]\r\nk=\r\n"));
    QVERIFY(!PrivateProfile::write(path(QStringLiteral("no/such/dir/x.ini")), QStringLiteral("A"),
                                   QStringLiteral("b"), QStringLiteral("c")));
}

void TestPlatform::profileDeleteKeyAndSection()
{
    const QString p = path(QStringLiteral("del.ini"));
    QVERIFY(writeFile(p, "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n[C]\r\nw=4\r\n"));
    QVERIFY(PrivateProfile::deleteKey(p, QStringLiteral("a"), QStringLiteral("X")));
    QVERIFY(PrivateProfile::deleteSection(p, QStringLiteral("b")));
    QVERIFY(PrivateProfile::deleteKey(p, QStringLiteral("none"), QStringLiteral("x")));
    QCOMPARE(readFile(p), QByteArray("[A]\r\ny=2\r\n[C]\r\nw=4\r\n"));
}

void TestPlatform::profileUsesWindows1250()
{
    const QString p = path(QStringLiteral("cp.ini"));
    QFile::remove(p);
    QVERIFY(PrivateProfile::write(p, QStringLiteral("MAIN"), QStringLiteral("Súbor"), QStringLiteral("Čierny")));
    QCOMPARE(readFile(p), QByteArray("[MAIN]\r\nS\xfa" "bor=\xc8ierny\r\n"));
    QCOMPARE(PrivateProfile::read(p, QStringLiteral("main"), QStringLiteral("SÚBOR")), QStringLiteral("Čierny"));
}

void TestPlatform::fileFilterConversion_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("database") << "TEBO (*.qz.xml)|*.qz.xml|Všetky súbory (*.*)|*.*"
                              << QStringList{"TEBO (*.qz.xml)", "Všetky súbory (*)"};
    QTest::newRow("several patterns") << "Kľúče|*.zm;*.az" << QStringList{"Kľúče (*.zm *.az)"};
    QTest::newRow("description only in parentheses") << "(*.rtf)|*.rtf" << QStringList{"(*.rtf)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestPlatform::fileFilterConversion()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(UiDialogs::toQtNameFilters(filter), expected);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
