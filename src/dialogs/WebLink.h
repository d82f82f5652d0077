#pragma once
// An address drawn in Arial that hands itself, exactly as written, to the desktop when clicked.
#include <QColor>
#include <QPoint>

class ActiveLabel;
class Desktop;
class QWidget;

ActiveLabel *makeWebLink(QWidget *parent, const QString &address, const QPoint &position, int pixelSize,
                         const QColor &colour, Desktop &desktop);
