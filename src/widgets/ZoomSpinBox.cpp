#include "widgets/ZoomSpinBox.h"

ZoomSpinBox::ZoomSpinBox(QWidget *parent) : SpinEditor(parent)
{
    setRange(Minimum, Maximum);
    setUserRange(UserMinimum, Maximum);
    setSingleStep(Step);
    setPageStep(PageStep);
    setValue(100);
    setFixedWidth(61);
}
