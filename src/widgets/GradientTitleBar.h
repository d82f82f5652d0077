#pragma once
// The caption bar of the program's own dialogs: a colour gradient with the caption in the display
// font and a close button. Dragging the bar moves its window.
#include <QPoint>
#include <QWidget>

class QToolButton;

class GradientTitleBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 22;

    explicit GradientTitleBar(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QToolButton *closeButton() const { return m_closeButton; }

Q_SIGNALS:
    void closeRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_caption;
    QToolButton *m_closeButton;
    bool m_dragging = false;
    QPoint m_dragOffset; // pointer position relative to the window's top-left corner
};
