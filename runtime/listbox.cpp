#include "listbox.h"

namespace rt {

ListBox::ListBox(QWidget* form, const QString& name, TwipRect geometry)
    : QListWidget(form)
{
    setObjectName(name);
    setGeometry(geometry.toPixels());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
}

bool ListBox::isFull() const
{
    return count() >= capacity;
}

bool ListBox::appendItem(const QString& text)
{
    if (isFull())
        return false;
    addItem(text);
    newIndex_ = static_cast<qint16>(count() - 1);
    return true;
}

qint16 ListBox::itemCount() const
{
    return static_cast<qint16>(count());
}

qint16 ListBox::newIndex() const
{
    return newIndex_;
}

void ListBox::selectIndex(qint16 index)
{
    setCurrentRow(index);
    if (QListWidgetItem* selected = item(index))
        scrollToItem(selected);
}

} // namespace rt
