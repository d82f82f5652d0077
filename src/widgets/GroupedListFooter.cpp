#include "widgets/GroupedListFooter.h"

#include "data/DataSet.h"
#include "data/GroupedListModel.h"
#include "widgets/GroupedListView.h"

#include <QHeaderView>
#include <QPainter>

GroupedListFooter::GroupedListFooter(GroupedListView &view, QWidget *parent) : QWidget(parent), m_view(&view)
{
    const auto refresh = [this] { update(); };
    connect(view.header(), &QHeaderView::sectionResized, this, refresh);
    connect(view.header(), &QHeaderView::geometriesChanged, this, refresh);
    connect(&view, &GroupedListView::listReset, this, refresh);
}

void GroupedListFooter::setCountUnder(const QString &field)
{
    m_field = field;
    update();
}

int GroupedListFooter::countColumn() const
{
    if (m_field.isEmpty() || !m_view || !m_view->listModel())
        return -1;
    return m_view->listModel()->columnOf(m_field);
}

QString GroupedListFooter::text() const
{
    if (countColumn() < 0)
        return {};
    return QString::number(m_view->listModel()->dataSet().recordCount());
}

QSize GroupedListFooter::sizeHint() const
{
    return {0, fontMetrics().height() + 6};
}

void GroupedListFooter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_view)
        return;
    painter.fillRect(rect(), m_view->colours().background);
    const QString count = text();
    if (count.isEmpty())
        return;
    const int column = countColumn();
    const int x = m_view->frameWidth() + m_view->columnViewportPosition(column);
    const int width = m_view->columnWidth(column);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(x + 3, 0, std::max(0, width - 6), height()), Qt::AlignLeft | Qt::AlignVCenter, count);
}
