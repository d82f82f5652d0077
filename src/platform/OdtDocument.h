#pragma once
// A word-processor document built call by call and written as an OpenDocument text (flat XML).
// It keeps the automation model: a character stream in which CR (13) ends a paragraph, a
// selection that insertAfter() extends over each new text, character formatting (font, size)
// that new text inherits from the character before it, and paragraph alignment kept in each
// paragraph's mark.
#include "platform/WordDocument.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

class OdtDocument : public WordDocument {
public:
    struct Run {
        QString text;
        QString fontName;
        double fontSize = 0;
    };
    struct Paragraph {
        int alignment = 0; // 0 left, 1 centre, 2 right, 3 justified
        QVector<Run> runs;
    };

    OdtDocument();

    void setVisible(bool visible) override { m_visible = visible; }
    void setCaption(const QString &caption) override { m_caption = caption; }
    void addDocument() override;
    void insertAfter(const QString &text) override;
    void setAlignment(int alignment) override;
    void setFontName(const QString &name) override;
    void setFontSize(double points) override;
    void collapse() override { m_selectionStart = m_selectionEnd; }
    void disconnect() override {}

    // Embeds a TrueType font in the written document when its family is used, so the document
    // reads the same on a desktop that does not have the font.
    void embedFont(const QString &family, const QByteArray &trueType) { m_embeddedFonts.insert(family, trueType); }

    bool isVisible() const { return m_visible; }
    const QString &caption() const { return m_caption; }
    // The paragraphs of the document; the empty paragraph that always ends it is left out.
    QVector<Paragraph> paragraphs() const;
    // The document as flat OpenDocument XML.
    QString toFlatXml() const;

private:
    struct Char {
        QChar c;
        QString fontName;
        double fontSize;
        int alignment; // meaningful on paragraph marks only
    };
    int paragraphEnd(int position) const;
    void requireDocument() const;

    // The stream always ends with the final paragraph mark.
    QVector<Char> m_chars;
    int m_selectionStart = 0;
    int m_selectionEnd = 0;
    bool m_hasDocument = false;
    bool m_visible = false;
    QString m_caption;
    QHash<QString, QByteArray> m_embeddedFonts;
};
