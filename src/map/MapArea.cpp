#include "map/MapArea.h"

#include "common/CommandRunner.h"
#include "common/PlainText.h"
#include "map/PicturePreload.h"
#include "platform/DisplayFont.h"

#include <QContextMenuEvent>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

MapArea::MapArea(QWidget *parent)
    : QAbstractScrollArea(parent), m_labelFont(DisplayFont::pointFont(8))
{
    // Sheets of a detailed city map are large; let them through the reader's default limit.
    if (QImageReader::allocationLimit() < 1024)
        QImageReader::setAllocationLimit(1024);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::ArrowCursor);
}

MapArea::~MapArea() = default;

// ---- The map image

void MapArea::loadPicture(const QString &path)
{
    m_raster = m_preload ? m_preload->take(path) : PictureCache::decode(path, false);
    m_levels = {};
    if (m_autoSize)
        m_imageSize = m_raster.size();
    contentChanged();
}

void MapArea::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        m_imageSize = m_raster.size();
    contentChanged();
}

void MapArea::setImageSize(const QSize &size)
{
    m_autoSize = false;
    m_imageSize = size.expandedTo(QSize(0, 0));
    contentChanged();
}

// The part of the image control the raster is drawn into.
QRect MapArea::rasterRect() const
{
    const QRect control(ImageOrigin, m_imageSize);
    if (m_autoSize || m_raster.isNull() || m_imageSize.isEmpty())
        return control;
    return QRect(ImageOrigin, m_raster.size().scaled(m_imageSize, Qt::KeepAspectRatio));
}

// ---- Scrolling

int MapArea::horizontalPosition() const
{
    return horizontalScrollBar()->value();
}

int MapArea::verticalPosition() const
{
    return verticalScrollBar()->value();
}

void MapArea::setHorizontalPosition(int position)
{
    ensureLayout();
    horizontalScrollBar()->setValue(position);
}

void MapArea::setVerticalPosition(int position)
{
    ensureLayout();
    verticalScrollBar()->setValue(position);
}

void MapArea::scrollTo(int horizontal, int vertical)
{
    setHorizontalPosition(horizontal);
    setVerticalPosition(vertical);
}

int MapArea::horizontalRange()
{
    ensureLayout();
    return m_extent.width();
}

int MapArea::verticalRange()
{
    ensureLayout();
    return m_extent.height();
}

QRect MapArea::visibleContent()
{
    ensureLayout();
    return QRect(contentOffset(), viewport()->size());
}

QPoint MapArea::contentOffset() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPoint MapArea::globalToContent(const QPoint &global) const
{
    return viewport()->mapFromGlobal(global) + contentOffset();
}

QPoint MapArea::contentToGlobal(const QPoint &content) const
{
    return viewport()->mapToGlobal(content - contentOffset());
}

void MapArea::contentChanged()
{
    m_layoutDirty = true;
    // One repaint of the whole view serves any number of changes before it.
    if (!m_repaintPending) {
        m_repaintPending = true;
        viewport()->update();
    }
    if (!m_layoutQueued) {
        m_layoutQueued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_layoutQueued = false;
            ensureLayout();
        }, Qt::QueuedConnection);
    }
}

void MapArea::ensureLayout()
{
    if (!m_layoutDirty || m_inLayout)
        return;
    m_layoutDirty = false;
    QSize extent = m_imageSize.isEmpty() ? QSize() : QSize(ImageOrigin.x() + m_imageSize.width(),
                                                           ImageOrigin.y() + m_imageSize.height());
    for (const auto &item : m_items) {
        if (!item->m_visible)
            continue;
        const QRect &r = item->m_rect;
        extent = extent.expandedTo(QSize(r.x() + r.width(), r.y() + r.height()));
    }
    m_extent = extent.expandedTo(QSize(0, 0));
    layoutScrollBars();
}

// Shows each scroll bar exactly when the content does not fit, deciding both at once so that the
// ranges are right immediately (a command scrolls right after it resized the content).
void MapArea::layoutScrollBars()
{
    m_inLayout = true;
    const QSize available = contentsRect().size();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    bool needH = m_extent.width() > available.width();
    bool needV = m_extent.height() > available.height();
    if (needH && !needV)
        needV = m_extent.height() > available.height() - barHeight;
    if (needV && !needH)
        needH = m_extent.width() > available.width() - barWidth;
    setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize view(qMax(0, available.width() - (needV ? barWidth : 0)),
                     qMax(0, available.height() - (needH ? barHeight : 0)));
    horizontalScrollBar()->setRange(0, qMax(0, m_extent.width() - view.width()));
    horizontalScrollBar()->setPageStep(qMax(1, view.width()));
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, qMax(0, m_extent.height() - view.height()));
    verticalScrollBar()->setPageStep(qMax(1, view.height()));
    verticalScrollBar()->setSingleStep(20);
    m_inLayout = false;
}

void MapArea::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_layoutDirty = true;
    ensureLayout();
}

void MapArea::scrollContentsBy(int, int)
{
    viewport()->update();
}

// ---- Wiring

void MapArea::setContextMenu(QMenu *menu)
{
    m_menu = menu;
}

QMenu *MapArea::contextMenu() const
{
    return m_menu;
}

void MapArea::run(const std::function<void()> &handler)
{
    if (m_runner)
        m_runner->run(handler);
    else
        handler();
}

// ---- Items

MapItem *MapArea::createItem(MapItem::Type type, const QString &name)
{
    if (name.isEmpty() || m_names.contains(name))
        return nullptr;
    auto item = std::unique_ptr<MapItem>(new MapItem(*this, type, name, ++m_topZ));
    MapItem *raw = item.get();
    raw->m_index = m_items.size();
    if (type == MapItem::Type::Label)
        raw->fitLabelToCaption();
    m_items.push_back(std::move(item));
    m_names.insert(name, raw);
    m_live.insert(raw);
    contentChanged();
    return raw;
}

MapItem *MapArea::findItem(const QString &name) const
{
    return m_names.value(name, nullptr);
}

void MapArea::destroyItem(MapItem *item)
{
    if (item)
        destroyItems({item});
}

void MapArea::destroyItems(const QList<MapItem *> &items)
{
    bool any = false;
    for (MapItem *item : items) {
        if (!m_live.remove(item))
            continue;
        m_names.remove(item->m_name);
        // The store's order does not matter (stacking is by stack order), so the last item
        // takes the freed place and each removal costs the same however many items there are.
        const size_t index = item->m_index;
        std::swap(m_items[index], m_items.back());
        m_items[index]->m_index = index;
        m_items.pop_back();
        any = true;
    }
    if (any)
        contentChanged();
}

MapItem *MapArea::itemAt(const QPoint &content) const
{
    MapItem *top = nullptr;
    for (const auto &item : m_items)
        if (item->m_visible && item->m_rect.contains(content) && (!top || item->m_z > top->m_z))
            top = item.get();
    return top;
}

bool MapArea::isOnImage(const QPoint &content) const
{
    return QRect(ImageOrigin, m_imageSize).contains(content) && !itemAt(content);
}

// ---- Overlay

void MapArea::setOverlay(const MapOverlay *overlay)
{
    m_overlay = overlay;
    overlayChanged();
}

void MapArea::overlayChanged()
{
    viewport()->update();
}

// ---- Painting

// The raster itself, or a smoothly halved copy when the image is drawn at half size or less:
// sampling the full raster at a quarter of its size would drop most of its lines.
const QImage &MapArea::rasterLevelFor(double scale, int &level)
{
    level = 0;
    while (level < int(m_levels.size()) && scale <= 0.5 / (1 << level) + 1e-9)
        ++level;
    for (int i = 0; i < level; ++i) {
        if (m_levels[i].isNull()) {
            const QImage &source = i == 0 ? m_raster : m_levels[i - 1];
            m_levels[i] = source.scaled(qMax(1, source.width() / 2), qMax(1, source.height() / 2),
                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    return level == 0 ? m_raster : m_levels[level - 1];
}

void MapArea::paintImage(QPainter &painter, const QRect &exposed)
{
    const QRect target = rasterRect();
    const QRect visible = target & exposed;
    if (m_raster.isNull() || visible.isEmpty())
        return;
    if (target.size() == m_raster.size()) {
        painter.drawImage(visible.topLeft(), m_raster, visible.translated(-target.topLeft()));
        return;
    }
    int level = 0;
    const QImage &source = rasterLevelFor(double(target.width()) / m_raster.width(), level);
    const double sx = double(source.width()) / target.width();
    const double sy = double(source.height()) / target.height();
    const QRectF from((visible.x() - target.x()) * sx, (visible.y() - target.y()) * sy, visible.width() * sx,
                      visible.height() * sy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(visible), source, from);
}

void MapArea::paintItems(QPainter &painter, const QRect &exposed) const
{
    std::vector<const MapItem *> shown;
    for (const auto &item : m_items)
        if (item->m_visible && item->m_rect.intersects(exposed))
            shown.push_back(item.get());
    std::sort(shown.begin(), shown.end(), [](const MapItem *a, const MapItem *b) { return a->m_z < b->m_z; });
    painter.setFont(m_labelFont);
    for (const MapItem *item : shown) {
        if (item->m_type == MapItem::Type::Picture) {
            painter.drawImage(item->m_rect.topLeft(), item->m_picture);
        } else {
            painter.fillRect(item->m_rect, item->m_colour);
            painter.setPen(Qt::black);
            painter.drawText(item->m_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item->m_caption);
        }
    }
}

void MapArea::paintEvent(QPaintEvent *event)
{
    m_repaintPending = false;
    QPainter painter(viewport());
    const QPoint offset = contentOffset();
    const QRect exposed = event->rect().translated(offset);
    painter.translate(-offset);
    paintImage(painter, exposed);
    if (m_overlay) {
        painter.save();
        painter.setClipRect(rasterRect() & exposed);
        m_overlay->paintOverlay(painter, exposed);
        painter.restore();
    }
    paintItems(painter, exposed);
}

// ---- Mouse, keys, tooltips, menus

bool MapArea::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const MapItem *item = itemAt(help->pos() + contentOffset());
        if (item && !item->m_hint.isEmpty())
            QToolTip::showText(help->globalPos(), PlainText::forAutoText(item->m_hint), viewport(),
                               item->m_rect.translated(-contentOffset()));
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void MapArea::press(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (event->buttons() == event->button() || m_pressTarget == PressTarget::None) {
        const QPoint content = event->position().toPoint() + contentOffset();
        if (itemAt(content))
            m_pressTarget = PressTarget::Item;
        else if (QRect(ImageOrigin, m_imageSize).contains(content))
            m_pressTarget = PressTarget::Image;
        else
            m_pressTarget = PressTarget::FreeSpace;
        m_clickCandidate = false;
    }
    if (m_pressTarget == PressTarget::Image)
        run([&] { Q_EMIT imageMouseDown(global); });
    else if (m_pressTarget == PressTarget::FreeSpace)
        m_clickCandidate = event->button() == Qt::LeftButton;
}

void MapArea::mousePressEvent(QMouseEvent *event)
{
    press(event);
}

void MapArea::mouseDoubleClickEvent(QMouseEvent *event)
{
    MapItem *item = itemAt(event->position().toPoint() + contentOffset());
    if (item && event->button() == Qt::LeftButton) {
        m_pressTarget = PressTarget::Item;
        // A copy: the handler may destroy the item it belongs to.
        const std::function<void()> handler = item->m_doubleClick;
        if (handler)
            run(handler);
        return;
    }
    press(event);
}

void MapArea::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    const PressTarget target = m_pressTarget;
    if (event->buttons() == Qt::NoButton)
        m_pressTarget = PressTarget::None;
    if (target == PressTarget::Image) {
        run([&] { Q_EMIT imageMouseUp(global); });
    } else if (target == PressTarget::FreeSpace) {
        const bool click = m_clickCandidate && event->button() == Qt::LeftButton
                           && viewport()->rect().contains(event->position().toPoint());
        m_clickCandidate = false;
        run([&] {
            if (click)
                Q_EMIT freeSpaceClick(global);
            Q_EMIT freeSpaceMouseUp(global);
        });
    }
}

void MapArea::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton)
        return;
    const QPoint content = event->position().toPoint() + contentOffset();
    viewport()->setCursor(isOnImage(content) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MapArea::contextMenuEvent(QContextMenuEvent *event)
{
    const MapItem *item = itemAt(event->pos() + contentOffset());
    Q_EMIT contextMenuOpening(item);
    QMenu *menu = item && item->contextMenu() ? item->contextMenu() : contextMenu();
    if (menu)
        menu->popup(event->globalPos());
}

void MapArea::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    event->accept();
    run([&] { Q_EMIT keyDown(key, modifiers); });
}
