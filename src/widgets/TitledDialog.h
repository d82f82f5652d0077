#pragma once
// A frameless dialog with its own gradient caption bar above a client area of a fixed size, set
// inside a border band of the background colour. Esc presses the cancel button when there is one
// and does nothing otherwise; Enter presses only a default button.
#include <QColor>
#include <QDialog>

class GradientTitleBar;
class QAbstractButton;

class TitledDialog : public QDialog {
    Q_OBJECT
public:
    enum class Placement { ParentCentre, ScreenCentre };
    static constexpr int FrameWidth = 1;

    // An invalid `background` keeps the system's window colour.
    TitledDialog(const QString &caption, QSize clientSize, int border, const QColor &background,
                 QWidget *parent = nullptr);

    GradientTitleBar *titleBar() const { return m_titleBar; }
    // The area below the caption bar, inside the border; children are placed on it by position.
    QWidget *clientArea() const { return m_client; }

    void setCancelButton(QAbstractButton *button) { m_cancelButton = button; }
    // Where the dialog appears when shown: centred on its parent's window (the screen when the
    // parent is missing or hidden), or centred on the screen.
    void setPlacement(Placement placement) { m_placement = placement; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void centre();

    GradientTitleBar *m_titleBar;
    QWidget *m_client;
    QAbstractButton *m_cancelButton = nullptr;
    Placement m_placement = Placement::ParentCentre;
    bool m_placed = false;
};
