#pragma once
// A plain-text label that reacts to the pointer: it can change colour and underline itself while
// the pointer is over it, and reports single and double clicks (web and e-mail links).
#include <QColor>
#include <QLabel>

class ActiveLabel : public QLabel {
    Q_OBJECT
public:
    explicit ActiveLabel(const QString &text = QString(), QWidget *parent = nullptr);

    void setColour(const QColor &colour);
    void setHoverColour(const QColor &colour);
    void setUnderlineOnHover(bool underline);
    // A link shows the pointing hand.
    void setLinkCursor(bool link);

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);
    void applyLook();

    QColor m_colour;
    QColor m_hoverColour;
    bool m_underlineOnHover = false;
    bool m_hovered = false;
    bool m_pressed = false;
};
