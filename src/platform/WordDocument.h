#pragma once
// A word-processor document driven call by call, as an automation client would: the selection
// is extended over each inserted text, formatted, then collapsed to its end.
#include <QString>

class WordDocument {
public:
    virtual ~WordDocument() = default;
    virtual void setVisible(bool visible) = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual void addDocument() = 0;
    virtual void insertAfter(const QString &text) = 0;
    // Paragraph alignment of the selection; 3 is justified.
    virtual void setAlignment(int alignment) = 0;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void collapse() = 0;
    // Lets the word processor go; it stays open with the document.
    virtual void disconnect() = 0;
};
