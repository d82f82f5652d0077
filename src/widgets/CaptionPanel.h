#pragma once
// A panel with a caption bar: a colour gradient with a white caption and three caption buttons
// (close, minimise, restore). The buttons only report which one was pressed; the owner decides
// what happens (hide the panel, change its height). The panel's body keeps its design height:
// when the panel is made lower, the body is cut off at the bottom instead of being squeezed.
#include <QFrame>

class QToolButton;

class CaptionPanel : public QFrame {
    Q_OBJECT
public:
    enum class Button { Close, Minimise, Restore };
    enum class Colours { ActiveCaption, InactiveCaption };

    // `designHeight` is the panel's height with its caption bar; the panel starts at that height.
    CaptionPanel(const QString &caption, int designHeight, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaptionBold(bool bold);
    bool captionBold() const { return m_bold; }
    void setColours(Colours colours);
    Colours colours() const { return m_colours; }
    void setButtonsFlat(bool flat);

    // The area below the caption bar, where the owner puts the panel's fields.
    QWidget *body() const { return m_body; }
    QToolButton *button(Button which) const;

    static constexpr int CaptionHeight = 18;

Q_SIGNALS:
    void buttonClicked(CaptionPanel::Button button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *makeButton(Button which);
    void layoutChildren();

    QString m_caption;
    int m_bodyHeight;
    bool m_bold = false;
    Colours m_colours = Colours::ActiveCaption;
    QWidget *m_body;
    QToolButton *m_buttons[3];
};
