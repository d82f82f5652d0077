#pragma once
// Static plain text wrapped at the widget's width and centred line by line. Lines that do not fit
// in the widget's height are left out whole rather than shown cut in half.
#include <QWidget>

class QTextLayout;

class WrappedText : public QWidget {
    Q_OBJECT
public:
    explicit WrappedText(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    // Lines the text wraps into at the current width and font, and how many of them are shown.
    int lineCount() const;
    int visibleLineCount() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Lays the text out at the current width; returns the line count.
    int layout(QTextLayout &textLayout) const;
    int visibleLines(const QTextLayout &textLayout, int count) const;

    QString m_text;
};
