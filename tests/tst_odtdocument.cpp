#include "catalogue/DetailsExport.h"
#include "common/GeorgianScript.h"
#include "platform/OdtDocument.h"

#include <QtTest>

namespace {

// A paragraph as a reader sees it: "alignment|[font size]text[font size]text...".
QString describe(int alignment, const QVector<OdtDocument::Run> &runs)
{
    QString out = QString::number(alignment) + QLatin1Char('|');
    for (const OdtDocument::Run &r : runs)
        out += QStringLiteral("[%1 %2]").arg(r.fontName).arg(r.fontSize) + r.text;
    return out;
}

// Reads a flat OpenDocument text as word processors do: white space in paragraph content folds to
// one space and is dropped at the paragraph's start; <text:s text:c="N"/> is N spaces, <text:tab/>
// a tab, <text:line-break/> a line break. A span takes font and size from its text style (text
// outside spans gets no font), a paragraph its alignment from its paragraph style.
QStringList readParagraphs(const QString &xml)
{
    struct Style {
        QString font;
        double size = 0;
        QString align;
    };
    QHash<QString, Style> styles;
    QHash<QString, QString> families; // font-face name -> font family
    QString styleName;
    QStringList result;
    int alignment = -1; // -1 outside a paragraph
    QVector<OdtDocument::Run> runs;
    OdtDocument::Run span;
    bool inSpan = false;
    bool afterWhite = true;
    const QStringList alignments{"start", "center", "end", "justify"};
    auto append = [&](QChar c) {
        OdtDocument::Run &into = inSpan ? span : (runs.isEmpty() || !runs.last().fontName.isEmpty()
                                                      ? runs.emplace_back() : runs.last());
        into.text += c;
    };
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        const auto a = r.attributes();
        if (r.isStartElement()) {
            const auto name = r.name();
            if (name == QLatin1String("font-face"))
                families.insert(a.value("style:name").toString(), a.value("svg:font-family").toString().remove('\''));
            else if (name == QLatin1String("style"))
                styleName = a.value("style:name").toString();
            else if (name == QLatin1String("text-properties")) {
                styles[styleName].font = families.value(a.value("style:font-name").toString(), "?");
                styles[styleName].size = a.value("fo:font-size").chopped(2).toDouble();
            } else if (name == QLatin1String("paragraph-properties")) {
                styles[styleName].align = a.value("fo:text-align").toString();
            } else if (name == QLatin1String("p")) {
                alignment = int(alignments.indexOf(styles.value(a.value("text:style-name").toString()).align));
                runs.clear();
                afterWhite = true;
            } else if (name == QLatin1String("span")) {
                const Style style = styles.value(a.value("text:style-name").toString());
                span = OdtDocument::Run{QString(), style.font, style.size};
                inSpan = true;
            } else if (name == QLatin1String("s") || name == QLatin1String("tab") || name == QLatin1String("line-break")) {
                const QString text = name == QLatin1String("s") ? QString(a.value("text:c").toInt(), ' ')
                                   : name == QLatin1String("tab") ? QStringLiteral("\t") : QStringLiteral("\n");
                for (const QChar c : text)
                    append(c);
                afterWhite = false; // these elements are no white space to fold the next one into
            }
        } else if (r.isEndElement() && r.name() == QLatin1String("span")) {
            if (!span.text.isEmpty())
                runs.append(span);
            inSpan = false;
        } else if (r.isEndElement() && r.name() == QLatin1String("p")) {
            result << describe(alignment, runs);
            alignment = -1;
        } else if (r.isCharacters() && alignment >= 0) {
            for (const QChar c : r.text()) {
                const bool white = c == ' ' || c == '\t' || c == '\n' || c == '\r';
                if (!(white && afterWhite))
                    append(white ? QChar(' ') : c);
                afterWhite = white;
            }
        }
    }
    if (r.hasError())
        result << r.errorString();
    return result;
}

QStringList described(const OdtDocument &doc)
{
    QStringList out;
    for (const OdtDocument::Paragraph &p : doc.paragraphs())
        out << describe(p.alignment, p.runs);
    return out;
}

} // namespace

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

    // What a word processor reads from the written file is what was typed, letter for letter, with
    // its fonts, sizes and alignment.
    void readsBackAsTyped()
    {
        OdtDocument details;
        const ObjectDetailsText object{QStringLiteral("d'artaniani"), QStringLiteral("vake"),
                                       QStringLiteral("vaJa-fSavelas 3"), QStringLiteral("30 30 30"), QString(),
                                       QStringLiteral("www.dartaniani.ge"), QString(),
                                       QStringLiteral("  evropuli  samzareulo\t(24 saaTi) \nmiwodeba")};
        DetailsExport::typeDetails(details, object);
        const QStringList typed = described(details);
        QCOMPARE(readParagraphs(details.toFlatXml()), typed);
        QCOMPARE(typed.size(), 14);
        const QString display = QStringLiteral("[_! Kolhety 14]"), times = QStringLiteral("[Times New Roman 14]");
        QCOMPARE(typed[0], QStringLiteral("3|") + display + QLatin1Char(' '));
        QCOMPARE(typed[2], QStringLiteral("3|") + display + QStringLiteral("ობიექტის დასახელება:    დ'არტანიანი; "));
        QCOMPARE(typed[9], QStringLiteral("3|") + display + GeorgianScript::toUnicode(QStringLiteral("veb-gverdi:    "))
                               + times + QStringLiteral("www.dartaniani.ge; "));
        QCOMPARE(typed[13], QStringLiteral("3|") + display + GeorgianScript::toUnicode(object.activity));

        // Spaces on both sides of a change of font, and a paragraph of spaces only.
        OdtDocument runs;
        runs.addDocument();
        runs.insertAfter(QStringLiteral("a "));
        runs.setFontName(QStringLiteral("Arial"));
        runs.collapse();
        runs.insertAfter(QStringLiteral("  b\t ") + QChar(13) + QStringLiteral("   ") + QChar(13));
        runs.setFontName(QStringLiteral("Times New Roman"));
        QCOMPARE(readParagraphs(runs.toFlatXml()), described(runs));
    }

    void insertingWithoutDocumentFails()
    {
        OdtDocument doc;
        QVERIFY_THROWS_EXCEPTION(std::exception, doc.insertAfter(QStringLiteral("x")));
    }
};

QTEST_GUILESS_MAIN(TestOdtDocument)
#include "tst_odtdocument.moc"
