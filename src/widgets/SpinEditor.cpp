#include "widgets/SpinEditor.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

SpinEditor::SpinEditor(QWidget *parent) : QSpinBox(parent)
{
    // The program's range; the user's is narrower (setUserRange).
    setRange(0, 100000);
    lineEdit()->installEventFilter(this);
}

void SpinEditor::setUserRange(int minimum, int maximum)
{
    m_userMinimum = minimum;
    m_userMaximum = maximum;
}

void SpinEditor::stepBy(int steps)
{
    const int bounded = qBound(m_userMinimum, value() + steps * singleStep(), m_userMaximum);
    // A value below the user's range (set by the program) only moves when stepping up.
    if (steps > 0 ? bounded > value() : bounded < value())
        setValue(bounded);
    lineEdit()->deselect();
}

QValidator::State SpinEditor::validate(QString &input, int &pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Acceptable)
        return state;
    const int typed = valueFromText(input);
    // Too small may still become valid by typing more digits; too large never will.
    if (typed < m_userMinimum)
        return QValidator::Intermediate;
    return typed > m_userMaximum ? QValidator::Invalid : QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SpinEditor::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < m_userMaximum)
        enabled |= StepUpEnabled;
    if (value() > m_userMinimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void SpinEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        const int pages = event->key() == Qt::Key_PageUp ? 1 : -1;
        stepBy(pages * m_pageStep / qMax(1, singleStep()));
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void SpinEditor::focusInEvent(QFocusEvent *event)
{
    QSpinBox::focusInEvent(event);
    lineEdit()->deselect();
}

void SpinEditor::mouseReleaseEvent(QMouseEvent *event)
{
    QSpinBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

bool SpinEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && lineEdit()->rect().contains(mouse->position().toPoint()))
            Q_EMIT clicked();
    }
    return QSpinBox::eventFilter(watched, event);
}
