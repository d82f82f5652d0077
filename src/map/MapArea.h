#pragma once
// The map area (ScrollBox): a scrollable view holding the map image (ThImage, at 1,1 in the
// content) and every marker. Placeholder interface; the map engine fills it in.
#include <QScrollArea>

class MapArea : public QScrollArea {
    Q_OBJECT
public:
    explicit MapArea(QWidget *parent = nullptr);
};
