#include "platform/OdtDocument.h"

#include <QtTest>

// Drives the document as the details export does and checks paragraphs, runs and alignment.
class TestOdtDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectionFormattingAndCollapse()
    {
        const QString cr(QChar(13));
        OdtDocument doc;
        doc.addDocument();
        doc.insertAfter(QStringLiteral(" ") + cr);
        doc.insertAfter(QStringLiteral("name:    X; ") + cr);
        doc.insertAfter(QStringLiteral("veb-gverdi:    "));
        doc.setAlignment(3);
        doc.setFontName(QStringLiteral("_! Kolhety"));
        doc.setFontSize(14);
        doc.collapse();
        doc.insertAfter(QStringLiteral("http://a.ge; ") + cr);
        doc.setFontName(QStringLiteral("Times New Roman"));
        doc.setFontSize(14);
        doc.collapse();
        doc.insertAfter(QStringLiteral("tail") + cr);

        const auto paras = doc.paragraphs();
        QCOMPARE(paras.size(), 4);
        QCOMPARE(paras[0].runs.size(), 1);
        QCOMPARE(paras[0].runs[0].text, QStringLiteral(" "));
        QCOMPARE(paras[0].alignment, 3);
        QCOMPARE(paras[1].runs[0].fontName, QStringLiteral("_! Kolhety"));
        // The web line: label in the display font, address in Times New Roman, both 14 pt.
        QCOMPARE(paras[2].runs.size(), 2);
        QCOMPARE(paras[2].runs[0].text, QStringLiteral("veb-gverdi:    "));
        QCOMPARE(paras[2].runs[0].fontName, QStringLiteral("_! Kolhety"));
        QCOMPARE(paras[2].runs[1].text, QStringLiteral("http://a.ge; "));
        QCOMPARE(paras[2].runs[1].fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(paras[2].runs[1].fontSize, 14.0);
        QCOMPARE(paras[2].alignment, 3);
        // Text typed after a collapse inherits the formatting before it; a paragraph split off a
        // justified paragraph stays justified.
        QCOMPARE(paras[3].runs[0].fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(paras[3].alignment, 3);
    }

    void flatXmlKeepsSpacesAndTitle()
    {
        OdtDocument doc;
        doc.setCaption(QStringLiteral("KVIRZETA"));
        doc.addDocument();
        doc.insertAfter(QStringLiteral("raioni :     vake; <&>") + QChar(13));
        doc.insertAfter(QStringLiteral(" ") + QChar(13));
        const QString xml = doc.toFlatXml();
        QVERIFY(xml.contains(QStringLiteral("<dc:title>KVIRZETA</dc:title>")));
        QVERIFY(xml.contains(QStringLiteral("raioni : <text:s text:c=\"4\"/>vake")));
        QVERIFY(xml.contains(QStringLiteral("vake; &lt;&amp;&gt;")));
        QVERIFY(xml.contains(QStringLiteral("<text:s text:c=\"1\"/>")));
        QXmlStreamReader reader(xml);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    }

    void carriesTheFontsItUses()
    {
        OdtDocument doc;
        doc.addDocument();
        doc.insertAfter(QStringLiteral("raioni") + QChar(13));
        doc.setFontName(QStringLiteral("_! Kolhety"));
        const QByteArray font("\x00\x01\x00\x00 a TrueType file", 22);
        doc.embedFont(QStringLiteral("_! Kolhety"), font);
        doc.embedFont(QStringLiteral("Unused Face"), "never typed in");

        QXmlStreamReader reader(doc.toFlatXml());
        QString face;
        QMap<QString, QByteArray> embedded;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (reader.name() == QLatin1String("font-face"))
                face = reader.attributes().value(QStringLiteral("style:name")).toString();
            else if (reader.name() == QLatin1String("binary-data"))
                embedded.insert(face, QByteArray::fromBase64(reader.readElementText().toLatin1()));
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(embedded.keys(), QStringList{QStringLiteral("_! Kolhety")});
        QCOMPARE(embedded.first(), font);
    }

    void insertingWithoutDocumentFails()
    {
        OdtDocument doc;
        QVERIFY_THROWS_EXCEPTION(std::exception, doc.insertAfter(QStringLiteral("x")));
    }
};

QTEST_GUILESS_MAIN(TestOdtDocument)
#include "tst_odtdocument.moc"
