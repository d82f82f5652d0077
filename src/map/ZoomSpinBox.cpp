#include "map/ZoomSpinBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

ZoomSpinBox::ZoomSpinBox(QWidget *parent) : QSpinBox(parent)
{
    setRange(Minimum, Maximum);
    setSingleStep(Step);
    setValue(100);
    setFixedWidth(61);
    lineEdit()->installEventFilter(this);
}

void ZoomSpinBox::stepBy(int steps)
{
    if (steps == 0)
        return;
    const int target = qBound(UserMinimum, value() + steps * Step, Maximum);
    // From below the user's range (25) only stepping up moves.
    if (steps > 0 ? target > value() : target < value())
        setValue(target);
}

QValidator::State ZoomSpinBox::validate(QString &input, int &pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state == QValidator::Acceptable && valueFromText(input) < UserMinimum)
        return QValidator::Intermediate;
    return state;
}

QAbstractSpinBox::StepEnabled ZoomSpinBox::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < Maximum)
        enabled |= StepUpEnabled;
    if (value() > UserMinimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void ZoomSpinBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        const int steps = PageStep / Step;
        stepBy(event->key() == Qt::Key_PageUp ? steps : -steps);
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void ZoomSpinBox::mouseReleaseEvent(QMouseEvent *event)
{
    QSpinBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

bool ZoomSpinBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && lineEdit()->rect().contains(mouse->position().toPoint()))
            Q_EMIT clicked();
    }
    return QSpinBox::eventFilter(watched, event);
}

void ZoomSpinBox::focusInEvent(QFocusEvent *event)
{
    QSpinBox::focusInEvent(event);
    lineEdit()->deselect();
}
