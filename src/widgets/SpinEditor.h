#pragma once
// A spin editor whose range limits only the user: typing and spinning stay within the user
// range, while the program may set any value down to the program's own minimum. Page Up and
// Page Down step by the page step. A click anywhere on the editor is reported.
#include <QSpinBox>

class SpinEditor : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinEditor(QWidget *parent = nullptr);

    void setUserRange(int minimum, int maximum);
    int userMinimum() const { return m_userMinimum; }
    int userMaximum() const { return m_userMaximum; }
    void setPageStep(int step) { m_pageStep = step; }
    int pageStep() const { return m_pageStep; }

    void stepBy(int steps) override;

Q_SIGNALS:
    void clicked();

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_userMinimum = 0;
    int m_userMaximum = 99;
    int m_pageStep = 10;
};
