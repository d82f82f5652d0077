#include "platform/OdtDocument.h"

#include "common/Errors.h"

#include <QMap>
#include <QXmlStreamWriter>

namespace {
const QChar paragraphMark(13);
// The word processor's defaults for a new document.
const QString defaultFont = QStringLiteral("Times New Roman");
constexpr double defaultSize = 12.0;
// Writes a paragraph's text, run by run, so that readers, which fold white space in paragraph
// content to one space and drop it at the paragraph's start, read back exactly these characters:
// a space is written as itself only after a written letter, every other space as <text:s/>; tabs
// and line breaks as their own elements. Nothing else may go between the runs of a paragraph.
class ParagraphText {
public:
    ParagraphText(QXmlStreamWriter &w, const QString &ns) : m_w(w), m_ns(ns) {}

    void write(const QString &value)
    {
        for (const QChar c : value) {
            if (c == QLatin1Char(' ') && !m_afterLetter) {
                ++m_spaces;
                continue;
            }
            flushSpaces();
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
                flushText();
                m_w.writeEmptyElement(m_ns, c == QLatin1Char('\t') ? QStringLiteral("tab") : QStringLiteral("line-break"));
                m_afterLetter = false;
                continue;
            }
            m_text += c;
            m_afterLetter = c != QLatin1Char(' ');
        }
        flushSpaces();
        flushText();
    }

private:
    void flushText()
    {
        if (!m_text.isEmpty())
            m_w.writeCharacters(m_text);
        m_text.clear();
    }
    void flushSpaces()
    {
        if (m_spaces == 0)
            return;
        flushText();
        m_w.writeEmptyElement(m_ns, QStringLiteral("s"));
        m_w.writeAttribute(m_ns, QStringLiteral("c"), QString::number(m_spaces));
        m_spaces = 0;
    }

    QXmlStreamWriter &m_w;
    const QString &m_ns;
    QString m_text;
    int m_spaces = 0;
    bool m_afterLetter = false; // the last character written is a literal one other than a space
};

} // namespace

OdtDocument::OdtDocument() = default;

void OdtDocument::addDocument()
{
    m_chars = {Char{paragraphMark, defaultFont, defaultSize, 0}};
    m_selectionStart = m_selectionEnd = 0;
    m_hasDocument = true;
}

void OdtDocument::requireDocument() const
{
    if (!m_hasDocument)
        throw Error(QStringLiteral("The word processor has no document"));
}

int OdtDocument::paragraphEnd(int position) const
{
    int i = position;
    while (m_chars[i].c != paragraphMark)
        ++i;
    return i;
}

void OdtDocument::insertAfter(const QString &text)
{
    requireDocument();
    int at = m_selectionEnd;
    const Char &before = at > 0 ? m_chars[at - 1] : m_chars[at];
    const QString font = before.fontName;
    const double size = before.fontSize;
    for (const QChar c : text) {
        // A new paragraph mark takes the properties of the paragraph it splits.
        const int alignment = c == paragraphMark ? m_chars[paragraphEnd(at)].alignment : 0;
        m_chars.insert(at, Char{c, font, size, alignment});
        ++at;
    }
    m_selectionEnd = at;
}

void OdtDocument::setAlignment(int alignment)
{
    requireDocument();
    const int last = paragraphEnd(qMin(m_selectionEnd, int(m_chars.size()) - 1));
    for (int i = m_selectionStart; i <= last; ++i)
        if (m_chars[i].c == paragraphMark)
            m_chars[i].alignment = alignment;
}

void OdtDocument::setFontName(const QString &name)
{
    requireDocument();
    for (int i = m_selectionStart; i < m_selectionEnd; ++i)
        m_chars[i].fontName = name;
}

void OdtDocument::setFontSize(double points)
{
    requireDocument();
    for (int i = m_selectionStart; i < m_selectionEnd; ++i)
        m_chars[i].fontSize = points;
}

QVector<OdtDocument::Paragraph> OdtDocument::paragraphs() const
{
    QVector<Paragraph> result;
    Paragraph current;
    for (const Char &ch : m_chars) {
        if (ch.c == paragraphMark) {
            current.alignment = ch.alignment;
            result.append(current);
            current = Paragraph();
            continue;
        }
        if (current.runs.isEmpty() || current.runs.last().fontName != ch.fontName
            || current.runs.last().fontSize != ch.fontSize)
            current.runs.append(Run{QString(), ch.fontName, ch.fontSize});
        current.runs.last().text += ch.c;
    }
    if (!result.isEmpty() && result.last().runs.isEmpty())
        result.removeLast();
    return result;
}

QString OdtDocument::toFlatXml() const
{
    const QVector<Paragraph> paras = paragraphs();
    static const char *const alignments[] = {"start", "center", "end", "justify"};
    QMap<QString, QString> textStyles; // "font|size" -> style name
    QStringList fonts;
    for (const Paragraph &p : paras)
        for (const Run &r : p.runs) {
            const QString key = r.fontName + QLatin1Char('|') + QString::number(r.fontSize);
            if (!textStyles.contains(key))
                textStyles.insert(key, QStringLiteral("T%1").arg(textStyles.size() + 1));
            if (!fonts.contains(r.fontName))
                fonts.append(r.fontName);
        }

    QString xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    const QString office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
    const QString style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
    const QString text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
    const QString fo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
    const QString svg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    w.writeNamespace(office, QStringLiteral("office"));
    w.writeNamespace(style, QStringLiteral("style"));
    w.writeNamespace(text, QStringLiteral("text"));
    w.writeNamespace(fo, QStringLiteral("fo"));
    w.writeNamespace(svg, QStringLiteral("svg"));
    w.writeNamespace(dc, QStringLiteral("dc"));
    w.writeStartElement(office, QStringLiteral("document"));
    w.writeAttribute(office, QStringLiteral("version"), QStringLiteral("1.3"));
    w.writeAttribute(office, QStringLiteral("mimetype"), QStringLiteral("application/vnd.oasis.opendocument.text"));

    w.writeStartElement(office, QStringLiteral("meta"));
    w.writeTextElement(dc, QStringLiteral("title"), m_caption);
    w.writeEndElement();

    w.writeStartElement(office, QStringLiteral("font-face-decls"));
    for (const QString &font : fonts) {
        w.writeStartElement(style, QStringLiteral("font-face"));
        w.writeAttribute(style, QStringLiteral("name"), font);
        w.writeAttribute(svg, QStringLiteral("font-family"), QLatin1Char('\'') + font + QLatin1Char('\''));
        if (const auto embedded = m_embeddedFonts.constFind(font); embedded != m_embeddedFonts.cend()) {
            w.writeStartElement(svg, QStringLiteral("font-face-src"));
            w.writeStartElement(svg, QStringLiteral("font-face-uri"));
            w.writeTextElement(office, QStringLiteral("binary-data"), QString::fromLatin1(embedded->toBase64()));
            w.writeEmptyElement(svg, QStringLiteral("font-face-format"));
            w.writeAttribute(svg, QStringLiteral("string"), QStringLiteral("truetype"));
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(office, QStringLiteral("automatic-styles"));
    for (int a = 0; a < 4; ++a) {
        w.writeStartElement(style, QStringLiteral("style"));
        w.writeAttribute(style, QStringLiteral("name"), QStringLiteral("P%1").arg(a));
        w.writeAttribute(style, QStringLiteral("family"), QStringLiteral("paragraph"));
        w.writeStartElement(style, QStringLiteral("paragraph-properties"));
        w.writeAttribute(fo, QStringLiteral("text-align"), QLatin1String(alignments[a]));
        w.writeEndElement();
        w.writeEndElement();
    }
    for (auto it = textStyles.cbegin(); it != textStyles.cend(); ++it) {
        const QStringList parts = it.key().split(QLatin1Char('|'));
        w.writeStartElement(style, QStringLiteral("style"));
        w.writeAttribute(style, QStringLiteral("name"), it.value());
        w.writeAttribute(style, QStringLiteral("family"), QStringLiteral("text"));
        w.writeStartElement(style, QStringLiteral("text-properties"));
        w.writeAttribute(style, QStringLiteral("font-name"), parts[0]);
        w.writeAttribute(fo, QStringLiteral("font-size"), parts[1] + QStringLiteral("pt"));
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(office, QStringLiteral("body"));
    w.writeStartElement(office, QStringLiteral("text"));
    for (const Paragraph &p : paras) {
        w.writeStartElement(text, QStringLiteral("p"));
        w.writeAttribute(text, QStringLiteral("style-name"), QStringLiteral("P%1").arg(qBound(0, p.alignment, 3)));
        // Indentation inside a paragraph would be read as spaces of its text.
        w.setAutoFormatting(false);
        ParagraphText content(w, text);
        for (const Run &r : p.runs) {
            w.writeStartElement(text, QStringLiteral("span"));
            w.writeAttribute(text, QStringLiteral("style-name"),
                             textStyles.value(r.fontName + QLatin1Char('|') + QString::number(r.fontSize)));
            content.write(r.text);
            w.writeEndElement();
        }
        w.writeEndElement();
        w.setAutoFormatting(true);
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}
