#pragma once
// The map area (ScrollBox): a scrollable view holding the map image (ThImage, at 1,1 in the
// content) and every marker. Placeholder interface; the map engine fills it in.
#include <QImage>
#include <QScrollArea>

class MapArea : public QScrollArea {
    Q_OBJECT
public:
    explicit MapArea(QWidget *parent = nullptr);

    // Loads a raster into the map image; throws Error when it cannot be read. With auto size on
    // the image takes the raster's size; otherwise the raster is stretched into the present size.
    void loadPicture(const QString &path);
    // The map image's present size in pixels.
    QSize imageSize() const;

private:
    QImage m_raster;
};
