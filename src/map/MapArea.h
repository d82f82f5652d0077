#pragma once
// The map area (ScrollBox): a view scrollable both ways onto a content that holds the map image
// (ThImage, its corner at (1, 1)) and every marker item above it.
//
// The map image shows one raster, decoded once per load. With auto size on the image takes the
// raster's own size; with auto size off it keeps the size given to it and the raster is
// stretched proportionally into it (anchored at its top-left corner). Only the visible part of
// the raster is drawn, scaled while painting, so zooming never makes a scaled copy of a whole
// raster.
//
// Scrolling: the ranges are the content's extent (the right and bottom edges of the image and
// of every visible item); positions run from 0 to range - view size and are clamped to that.
// Commands place and move items in content coordinates, so they do not depend on the view
// (scrolling to the origin before placing markers is harmless). A command that needs the
// pointer in content coordinates uses globalToContent(QCursor::pos()).
//
// Mouse and keys (reported as signals, wired by MapNavigation):
//  - a press of any button on the image emits imageMouseDown, its release imageMouseUp;
//  - on the free space (the strip left of and above the image, the space beyond it) a left
//    press released inside the area emits freeSpaceClick and then freeSpaceMouseUp; the release
//    of any other press there emits freeSpaceMouseUp only;
//  - a press on an item goes to the item: a double click runs its handler, nothing pans;
//  - every key pressed while the area has the focus is reported by keyDown; the area itself
//    scrolls on no key.
// Right clicks show the item's own menu or else the area's menu (GraphPopupMenu). Every handler
// the area triggers runs through the command runner given to it, so no error escapes an event.
#include "map/MapItem.h"
#include "map/PictureCache.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QSet>
#include <array>
#include <memory>
#include <vector>

class CommandRunner;
class PicturePreload;
class QMenu;
class QPainter;

// Something drawn over the map image and under every item (a journey's lines).
class MapOverlay {
public:
    virtual ~MapOverlay() = default;
    // Paints what lies in `exposed` (content coordinates); the painter is clipped to the raster.
    virtual void paintOverlay(QPainter &painter, const QRect &exposed) const = 0;
};

class MapArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr QPoint ImageOrigin{1, 1};

    explicit MapArea(QWidget *parent = nullptr);
    ~MapArea() override;

    // ---- The map image
    // Decodes a raster file (case-insensitive program path) into the image; throws Error when it
    // cannot be read, leaving the image as it was.
    void loadPicture(const QString &path);
    // Raster loads take their picture from `preload` (when it was started for the same path) instead
    // of decoding it; the preload must outlive the area.
    void usePreload(PicturePreload &preload) { m_preload = &preload; }
    // The image control's size: with auto size on, the raster's own size.
    QSize imageSize() const { return m_imageSize; }
    QSize rasterSize() const { return m_raster.size(); }
    bool autoSize() const { return m_autoSize; }
    // Turning auto size on gives the image its raster's own size again.
    void setAutoSize(bool on);
    // Turns auto size off and gives the image this size; the raster is stretched into it.
    void setImageSize(const QSize &size);

    // ---- Scrolling
    int horizontalPosition() const;
    int verticalPosition() const;
    // Positions outside 0..range - view size are clamped.
    void setHorizontalPosition(int position);
    void setVerticalPosition(int position);
    void scrollTo(int horizontal, int vertical);
    // The content's extent on each axis.
    int horizontalRange();
    int verticalRange();
    // The visible part of the content, in content coordinates.
    QRect visibleContent();
    QPoint globalToContent(const QPoint &global) const;
    QPoint contentToGlobal(const QPoint &content) const;

    // ---- Wiring
    void setContextMenu(QMenu *menu);
    QMenu *contextMenu() const;
    void setCommandRunner(CommandRunner *runner) { m_runner = runner; }

    // ---- Items
    // A new visible item on top of the others at (0, 0), or nullptr when the name is taken.
    MapItem *createItem(MapItem::Type type, const QString &name);
    MapItem *findItem(const QString &name) const;
    void destroyItem(MapItem *item);
    // Destroys items; each costs the same however many items there are.
    void destroyItems(const QList<MapItem *> &items);
    int itemCount() const { return int(m_items.size()); }
    // The topmost visible item at a content position, or nullptr.
    MapItem *itemAt(const QPoint &content) const;
    // True when the content position lies on the image and on no visible item.
    bool isOnImage(const QPoint &content) const;

    // ---- Overlay
    // The one overlay painted between the image and the items (nullptr: none).
    void setOverlay(const MapOverlay *overlay);
    // The overlay's drawing changed: the view is painted again.
    void overlayChanged();

    PictureCache &pictures() { return m_pictures; }
    // Font of the captions: "_! Kolhety", 8 points.
    const QFont &labelFont() const { return m_labelFont; }

Q_SIGNALS:
    void imageMouseDown(const QPoint &globalPos);
    void imageMouseUp(const QPoint &globalPos);
    void freeSpaceClick(const QPoint &globalPos);
    void freeSpaceMouseUp(const QPoint &globalPos);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // A context menu is about to open on `item` (nullptr: on the image or the free space).
    void contextMenuOpening(const MapItem *item);

protected:
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class MapItem;
    enum class PressTarget { None, Item, Image, FreeSpace };

    // The image or an item changed its place, size, visibility or look.
    void contentChanged();
    void bringToFront(MapItem &item) { item.m_z = ++m_topZ; contentChanged(); }
    void sendToBack(MapItem &item) { item.m_z = --m_bottomZ; contentChanged(); }
    // Recomputes the extent and the scroll bars when something changed since the last time.
    void ensureLayout();
    void layoutScrollBars();
    QPoint contentOffset() const;
    QRect rasterRect() const;
    const QImage &rasterLevelFor(double scale, int &level);
    void paintImage(QPainter &painter, const QRect &exposed);
    void paintItems(QPainter &painter, const QRect &exposed) const;
    void press(QMouseEvent *event);
    void run(const std::function<void()> &handler);

    PicturePreload *m_preload = nullptr;
    QImage m_raster;
    std::array<QImage, 3> m_levels; // the raster at 1/2, 1/4 and 1/8, made when first needed
    QSize m_imageSize;
    bool m_autoSize = true;

    std::vector<std::unique_ptr<MapItem>> m_items;
    QHash<QString, MapItem *> m_names;
    QSet<const MapItem *> m_live; // lets a stale pointer be ignored instead of followed
    qint64 m_topZ = 0;
    qint64 m_bottomZ = 0;
    QSize m_extent;
    bool m_layoutDirty = true;
    bool m_layoutQueued = false;
    bool m_inLayout = false;
    bool m_repaintPending = false;

    PressTarget m_pressTarget = PressTarget::None;
    bool m_clickCandidate = false;

    QPointer<QMenu> m_menu;
    CommandRunner *m_runner = nullptr;
    const MapOverlay *m_overlay = nullptr;
    PictureCache m_pictures;
    QFont m_labelFont;
};
