#pragma once
// The splash window shown while the program starts: pictures of the city, the product's name,
// version and links. It closes itself at the first tick of its timer.
#include <QDialog>

class Desktop;
class QTimer;

class TLogoFrm : public QDialog {
    Q_OBJECT
public:
    static constexpr int DefaultDurationMs = 10000;
    static constexpr int ClientWidth = 410;
    static constexpr int ClientHeight = 357;
    static constexpr int Border = 5;

    // The timer runs from construction. A `durationMs` of 0 closes the window at the first turn of
    // its event loop (tests, and timing the start-up).
    explicit TLogoFrm(Desktop &desktop, QWidget *parent = nullptr, int durationMs = DefaultDurationMs);

    QTimer *timer() const { return Timer; }

    // Shows the window modally and returns when its timer has closed it. Unlike exec() it also
    // returns when the timer fires while the window is being shown (a splash window handles
    // events then), as a short duration does.
    void showModal();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildUpperArea(Desktop &desktop);
    void buildLowerArea(Desktop &desktop);

    QWidget *m_client;
    QTimer *Timer;
};
