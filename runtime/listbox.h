#pragma once

// An unsorted, single-selection list whose item count is a 16-bit signed integer, as the game
// counts it. It holds at most 32767 items; appending to a full list adds nothing.

#include "twips.h"

#include <QListWidget>
#include <limits>

namespace rt {

class ListBox final : public QListWidget {
    Q_OBJECT

public:
    static constexpr qint16 capacity = std::numeric_limits<qint16>::max();

    ListBox(QWidget* form, const QString& name, TwipRect geometry);

    bool isFull() const;
    bool appendItem(const QString& text);
    qint16 itemCount() const;
    // The index of the item appended last, or -1 before the first.
    qint16 newIndex() const;
    // Selects the item and scrolls it into view.
    void selectIndex(qint16 index);

private:
    qint16 newIndex_ = -1;
};

} // namespace rt
