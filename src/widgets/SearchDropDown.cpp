#include "widgets/SearchDropDown.h"

#include "platform/DisplayFont.h"
#include "search/SearchService.h"
#include "search/SearchText.h"
#include "widgets/ToolBarImages.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include <algorithm>

const QString SearchDropDown::Preparing = QStringLiteral("saZiebo sia mzaddeba...");
const QString SearchDropDown::Unavailable = QStringLiteral("saZiebo sia ver Seiqmna");
const QString SearchDropDown::NothingFound = QStringLiteral("ver moiZebna");
const QString SearchDropDown::TextCut = QStringLiteral("teqsti Semoklebulia %1 simbolomde").arg(SearchText::MaxLength);

namespace {

constexpr int DetailRole = Qt::UserRole + 1;
constexpr int NoteRole = Qt::UserRole + 2;      // a row that cannot be picked
constexpr int PlainTextRole = Qt::UserRole + 3; // a note in ordinary letters: the database's words
constexpr int RowHeight = 22;
constexpr int MinimumWidth = 460;

QIcon kindIcon(SearchKind kind)
{
    switch (kind) {
    case SearchKind::Place:
        return ToolBarImageList::placeIcon();
    case SearchKind::Street:
        return ToolBarImageList::streetIcon();
    case SearchKind::Stop:
        return ToolBarImageList::stopIcon();
    case SearchKind::Route:
        return ToolBarImageList::routeIcon();
    }
    return QIcon();
}

// A row: the kind's picture, the name, and in grey what tells it apart; the highlighted row in the
// lists' bold teal. A note is a grey line of its own.
class ResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        const bool highlighted = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, highlighted ? QColor(214, 236, 226) : option.palette.base().color());
        QRect rest = option.rect.adjusted(6, 0, -6, 0);
        const QString name = index.data(Qt::DisplayRole).toString();
        if (index.data(NoteRole).toBool()) {
            painter->setFont(index.data(PlainTextRole).toBool() ? DisplayFont::arial(12) : DisplayFont::forText(name, 12));
            painter->setPen(QColor(90, 90, 90));
            painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft, name);
            painter->restore();
            return;
        }
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        icon.paint(painter, QRect(rest.left(), rest.top() + (rest.height() - 16) / 2, 16, 16));
        rest.setLeft(rest.left() + 16 + 6);
        const QFont nameFont = DisplayFont::forText(name, 13, highlighted);
        painter->setFont(nameFont);
        painter->setPen(highlighted ? QColor(0, 128, 128) : QColor(0, 0, 0));
        const QFontMetrics nameMetrics(nameFont);
        const QString shownName = nameMetrics.elidedText(name, Qt::ElideRight, rest.width() * 2 / 3);
        painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shownName);
        rest.setLeft(rest.left() + nameMetrics.horizontalAdvance(shownName) + 12);
        const QString detail = index.data(DetailRole).toString();
        const QFont detailFont = DisplayFont::forText(detail, 12);
        painter->setFont(detailFont);
        painter->setPen(QColor(100, 100, 100));
        painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          QFontMetrics(detailFont).elidedText(detail, Qt::ElideRight, rest.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return {option.rect.width(), RowHeight};
    }
};

// A line of text as one row: plain text, whatever a name holds.
QStandardItem *row(const QString &text)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

} // namespace

SearchDropDown::SearchDropDown(QLineEdit &edit, SearchService &search, SearchKinds kinds)
    : QObject(&edit), m_edit(edit), m_search(search), m_kinds(kinds), m_view(new QListView(&edit)),
      m_model(new QStandardItemModel(this))
{
    // A window of its own over everything that never takes the focus: the keys stay with the edit.
    m_view->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_view->setAttribute(Qt::WA_ShowWithoutActivating);
    m_view->setObjectName(QStringLiteral("searchDropDown"));
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setUniformItemSizes(true);
    m_view->setMouseTracking(true);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setFrameShape(QFrame::Box);
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, QColor(240, 251, 255));
    palette.setColor(QPalette::WindowText, QColor(70, 110, 90));
    m_view->setPalette(palette);
    m_view->setItemDelegate(new ResultDelegate(m_view));
    m_view->setModel(m_model);

    connect(m_view, &QAbstractItemView::entered, this, [this](const QModelIndex &index) {
        if (index.row() < int(m_results.size()))
            m_view->setCurrentIndex(index);
    });
    connect(m_view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.row() < int(m_results.size()))
            pick(index.row());
    });
    connect(&edit, &QLineEdit::textEdited, this, &SearchDropDown::refresh);
    connect(&search, &SearchService::stateChanged, this, [this] {
        if (isOpen())
            refresh();
    });
    edit.installEventFilter(this);
    if (QWidget *window = edit.window(); window != &edit)
        window->installEventFilter(this);
}

SearchDropDown::~SearchDropDown()
{
    delete m_view;
}

bool SearchDropDown::isOpen() const
{
    return m_view && m_view->isVisible();
}

void SearchDropDown::refresh()
{
    const QString typed = m_edit.text();
    if (!m_edit.hasFocus() || SearchText::prepare(typed).text.isEmpty()) {
        close();
        return;
    }
    m_model->clear();
    m_results.clear();
    QStringList notes;
    QString reason; // why the index could not be read, as the database put it
    switch (m_search.state()) {
    case SearchService::State::Ready: {
        SearchIndex::Answer answer = m_search.find(typed, m_kinds);
        m_results = std::move(answer.results);
        if (m_results.empty())
            notes << NothingFound;
        if (answer.cut)
            notes << TextCut;
        break;
    }
    case SearchService::State::Failed:
        notes << Unavailable;
        reason = m_search.failure();
        break;
    case SearchService::State::NotStarted:
    case SearchService::State::Building:
        notes << Preparing;
        break;
    }
    for (const SearchResult &result : m_results) {
        QStandardItem *item = row(result.name);
        item->setData(result.detail, DetailRole);
        item->setData(kindIcon(result.kind), Qt::DecorationRole);
        m_model->appendRow(item);
    }
    const auto addNote = [this](const QString &text, bool plain) {
        QStandardItem *item = row(text);
        item->setData(true, NoteRole);
        item->setData(plain, PlainTextRole);
        item->setFlags(Qt::ItemIsEnabled);
        m_model->appendRow(item);
    };
    for (const QString &note : std::as_const(notes))
        addNote(note, false);
    if (!reason.isEmpty())
        addNote(reason.simplified(), true);
    m_view->setCurrentIndex(QModelIndex());
    place();
    m_view->show();
}

void SearchDropDown::place()
{
    const int width = std::max(m_edit.width(), MinimumWidth);
    const int height = m_model->rowCount() * RowHeight + 2 * m_view->frameWidth();
    // Under the field, widening to the side where its window has room: a field in the right half
    // of its window opens its list towards the left; and kept on the screen.
    const QWidget *window = m_edit.window();
    const bool rightHalf = m_edit.mapTo(window, QPoint(m_edit.width() / 2, 0)).x() > window->width() / 2;
    QPoint at = m_edit.mapToGlobal(QPoint(rightHalf ? m_edit.width() - width : 0, m_edit.height()));
    if (const QScreen *screen = m_edit.screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - width)));
    }
    m_view->setGeometry(QRect(at, QSize(width, height)));
}

void SearchDropDown::close()
{
    if (m_view)
        m_view->hide();
    m_model->clear();
    m_results.clear();
}

void SearchDropDown::moveHighlight(int step)
{
    const int count = int(m_results.size());
    if (count == 0)
        return;
    const int current = m_view->currentIndex().isValid() ? m_view->currentIndex().row() : (step > 0 ? -1 : count);
    m_view->setCurrentIndex(m_model->index(std::clamp(current + step, 0, count - 1), 0));
}

void SearchDropDown::pick(int row)
{
    const SearchResult result = m_results.at(size_t(row));
    m_edit.setText(result.name);
    close();
    Q_EMIT picked(result);
}

bool SearchDropDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_edit) {
        // The list belongs under the field: when the window moves, hides or gives up the
        // keyboard, it closes.
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Hide || type == QEvent::WindowDeactivate)
            close();
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusOut:
    case QEvent::Hide:
        close();
        return false;
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Down:
        if (isOpen())
            moveHighlight(1);
        else
            refresh();
        return true;
    case Qt::Key_Up:
        if (!isOpen())
            return false;
        moveHighlight(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!isOpen() || m_results.empty())
            return false;
        pick(m_view->currentIndex().isValid() ? m_view->currentIndex().row() : 0);
        return true;
    case Qt::Key_Escape:
        close();
        return false;
    default:
        return false;
    }
}
