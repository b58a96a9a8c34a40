// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "listboxwidget.h"

#include "formwidget.h"
#include "qtdriver.h"

#include <QAccessible>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStringListModel>

namespace rt::qt {

// What QListView itself still does here: item options, the mouse, the keyboard and the
// accessibility of the items. Its own layout of the items is never used.
ListBoxWidget::ListBoxWidget(FormWidget& form, const Rect& area)
    : QListView(&form)
    , items_(new QStringListModel(this))
{
    setModel(items_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    place(area);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
}

void ListBoxWidget::place(const Rect& area)
{
    setGeometry(static_cast<const FormWidget*>(parentWidget())->placed(area));
}

void ListBoxWidget::appendRow(const std::string& text)
{
    const int row = count();
    if (items_->insertRows(row, 1))
        items_->setData(items_->index(row), toQString(text));
}

void ListBoxWidget::selectRow(int row)
{
    const QModelIndex item = indexOfRow(row);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    scrollTo(item);
}

int ListBoxWidget::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBoxWidget::setName(const std::string& name)
{
    setAccessibleName(toQString(name));
}

QModelIndex ListBoxWidget::indexOfRow(int row) const
{
    return items_->index(row);
}

int ListBoxWidget::count() const
{
    return items_->rowCount();
}

// Every row has the height of the first; measured once, again when the font or style changes.
int ListBoxWidget::rowHeight() const
{
    if (rowHeight_ <= 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex first = indexOfRow(0);
        rowHeight_ = first.isValid() ? itemDelegate()->sizeHint(option, first).height() : 0;
        if (rowHeight_ <= 0)
            return qMax(1, fontMetrics().height());
    }
    return rowHeight_;
}

int ListBoxWidget::topRow() const
{
    return verticalScrollBar()->value();
}

int ListBoxWidget::visibleRows() const
{
    return qMax(1, viewport()->height() / rowHeight());
}

int ListBoxWidget::rowAt(int y) const
{
    return y < 0 ? -1 : topRow() + y / rowHeight();
}

QRect ListBoxWidget::rowsRect(int first, int last) const
{
    return {0, (first - topRow()) * rowHeight(), viewport()->width(), (last - first + 1) * rowHeight()};
}

QRect ListBoxWidget::rowsInView(int first, int last) const
{
    first = qMax(first, topRow());
    last = qMin(last, topRow() + visibleRows());
    return first <= last ? rowsRect(first, last) : QRect();
}

QRect ListBoxWidget::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() != 0 || index.parent() != rootIndex())
        return {};
    return rowsRect(index.row(), index.row());
}

QModelIndex ListBoxWidget::indexAt(const QPoint& point) const
{
    const int row = rowAt(point.y());
    if (row < 0 || row >= count() || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    return indexOfRow(row);
}

void ListBoxWidget::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int visible = visibleRows();
    int top = topRow();
    switch (hint) {
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - visible + 1;
        break;
    case PositionAtCenter:
        top = row - visible / 2;
        break;
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + visible)
            top = row - visible + 1;
        break;
    }
    verticalScrollBar()->setValue(top);
}

// The list view's own layout would place every item again; the rows here need no placing.
void ListBoxWidget::doItemsLayout()
{
    QAbstractItemView::doItemsLayout();
}

int ListBoxWidget::horizontalOffset() const
{
    return 0;
}

int ListBoxWidget::verticalOffset() const
{
    return topRow() * rowHeight();
}

QModelIndex ListBoxWidget::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    if (count() == 0)
        return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = current - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = current + 1;
        break;
    case MovePageUp:
        row = current - visibleRows();
        break;
    case MovePageDown:
        row = current + visibleRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count() - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return indexOfRow(qBound(0, row, count() - 1));
}

void ListBoxWidget::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags)
{
    const QRect r = rect.normalized();
    const int first = qMax(0, rowAt(r.top()));
    const int last = qMin(count() - 1, rowAt(r.bottom()));
    if (first > last) {
        selectionModel()->select(QItemSelection(), flags);
        return;
    }
    selectionModel()->select(QItemSelection(indexOfRow(first), indexOfRow(last)), flags);
}

// Only the rows in view matter for repainting; a range of thousands costs no more than a screen.
QRegion ListBoxWidget::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    for (const QItemSelectionRange& range : selection)
        region += rowsInView(range.top(), range.bottom());
    return region;
}

void ListBoxWidget::updateGeometries()
{
    const int visible = visibleRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0, qMax(0, count() - visible));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ListBoxWidget::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update(rowsInView(start, end));
}

// The list view reports focus and selection to assistive technology by its own layout's
// numbering; here the row is the number.
void ListBoxWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void ListBoxWidget::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (QAccessible::isActive()) {
        if (const QModelIndex added = selected.indexes().value(0); added.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(added.row());
            QAccessible::updateAccessibility(&event);
        }
        if (const QModelIndex removed = deselected.indexes().value(0); removed.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(removed.row());
            QAccessible::updateAccessibility(&event);
        }
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

// The scroll bar counts rows, not pixels, and the list view's own scrolling moves the positions
// of its item layout, which this list never builds: so neither base class version fits.
void ListBoxWidget::scrollContentsBy(int, int dy)
{
    viewport()->scroll(0, dy * rowHeight());
}

void ListBoxWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    const bool active = isActiveWindow();
    const int first = qMax(0, rowAt(event->rect().top()));
    const int last = qMin(count() - 1, rowAt(event->rect().bottom()));
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = indexOfRow(row);
        QStyleOptionViewItem rowOption = option;
        rowOption.rect = visualRect(index);
        rowOption.state.setFlag(QStyle::State_Selected, selectionModel()->isSelected(index));
        rowOption.state.setFlag(QStyle::State_HasFocus, focused && index == current);
        rowOption.state.setFlag(QStyle::State_Active, active);
        rowOption.palette.setCurrentColorGroup(active ? QPalette::Active : QPalette::Inactive);
        itemDelegateForIndex(index)->paint(&painter, rowOption, index);
    }
}

void ListBoxWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        rowHeight_ = 0;
    QListView::changeEvent(event);
}

} // namespace rt::qt

std::unique_ptr<rt::ListBoxDriver> rt::makeListBoxDriver(FormDriver& form, const Rect& area)
{
    return std::make_unique<qt::ListBoxWidget>(static_cast<qt::FormWidget&>(form), area);
}
