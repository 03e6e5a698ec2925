#include "cell_accessible.h"

#include "picture_cell.h"

#include <QAccessibleWidget>

namespace {

class CellAccessible : public QAccessibleWidget {
public:
    explicit CellAccessible(PictureCell* cell)
        : QAccessibleWidget(cell, QAccessible::Button) {}

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            static_cast<PictureCell*>(widget())->press();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }
};

QAccessibleInterface* cellAccessible(const QString&, QObject* object) {
    auto* cell = qobject_cast<PictureCell*>(object);
    return cell != nullptr ? new CellAccessible(cell) : nullptr;
}

} // namespace

void installCellAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(cellAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
