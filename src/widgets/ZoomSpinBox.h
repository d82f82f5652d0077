#pragma once
// The zoom percent editor (ZoomEd) of the tool bar. The user spins and types within 50..200 in
// steps of 25 (Page Up/Down: 50); the zoom commands may also set 25. Its value is the zoom
// percent the map commands read. A click on it (on the text or the arrows) emits clicked(),
// which applies the value to the map; typing alone changes nothing on the map.
#include "common/ZoomControl.h"
#include "widgets/SpinEditor.h"

class ZoomSpinBox : public SpinEditor, public ZoomControl {
    Q_OBJECT
public:
    static constexpr int UserMinimum = 50; // lowest value the user can spin or type
    static constexpr int PageStep = 50;

    explicit ZoomSpinBox(QWidget *parent = nullptr);

    int percent() const override { return value(); }
    void setPercent(int percent) override { setValue(percent); }
};
