#pragma once
// Zoom, reset and clearing of the map view. Placeholder interface; the map engine fills it in.
#include <QObject>

class MapNavigation : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public Q_SLOTS:
    void gazrda1Click() {}       // zoom in
    void Semcireba1Click() {}    // zoom out
    void specialuri1Click() {}   // apply the zoom in the zoom editor
    void ClearMapAcExecute() {}  // remove every marker
};
