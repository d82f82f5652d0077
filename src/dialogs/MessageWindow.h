#pragma once
// What the one-button and the yes/no window share: caption, size, colours and the text area.
#include "widgets/TitledDialog.h"

class WrappedText;

class MessageWindow : public TitledDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 387;
    static constexpr int ClientHeight = 106;
    static constexpr int TextPixelSize = 15;

    // The text is shown exactly as given: plain, centred, wrapped at the area's width; lines
    // below the area's bottom are not shown.
    void setText(const QString &text);
    QString text() const;
    WrappedText *messageTextLb() const { return MessageTextLb; }

protected:
    explicit MessageWindow(QWidget *parent);
    // A panel with a raised (or sunken) bevel, on the client area unless `parent` is given.
    QWidget *addPanel(const QRect &geometry, bool sunken = false, QWidget *parent = nullptr);
    // Puts the text area at `geometry` of `container`.
    void placeText(QWidget *container, const QRect &geometry);

private:
    WrappedText *MessageTextLb = nullptr;
};
