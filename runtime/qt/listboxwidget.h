// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A list box's widget on Qt: Qt's own list view, its mouse, keys, selection and accessibility,
// with rows of text that are never edited, sorted or dragged.
//
// All rows have one height, so the list places, finds and scrolls its rows by arithmetic instead
// of the general list view's layout pass over every item: appending an item, selecting it and
// scrolling to it cost the same with 32,766 items as with one. It scrolls by whole items.

#include "driver.h"

#include <QListView>

class QStringListModel;

namespace rt::qt {

class FormWidget;

class ListBoxWidget final : public QListView, public ListBoxDriver {
    Q_OBJECT

public:
    ListBoxWidget(FormWidget& form, const Rect& area);

    void place(const Rect& area) override;
    void appendRow(const std::string& text) override;
    void selectRow(int row) override;
    int selectedRow() const override;
    void setName(const std::string& name) override;

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;

protected:
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int rowHeight() const;
    int topRow() const;
    int visibleRows() const;
    int rowAt(int y) const;
    // Where rows first to last lie in the viewport, whether in view or not.
    QRect rowsRect(int first, int last) const;
    // The part of rows first to last that is in view; empty when none of them is.
    QRect rowsInView(int first, int last) const;
    QModelIndex indexOfRow(int row) const;
    int count() const;

    QStringListModel* const items_;
    mutable int rowHeight_ = 0;
};

} // namespace rt::qt
