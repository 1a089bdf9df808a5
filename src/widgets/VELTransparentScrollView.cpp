#include "widgets/VELTransparentScrollView.h"

#include "widgets/PaintOverride.h"

#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

namespace {
constexpr const char* variantName = "VELTransparentScrollView";
}

QAbstractScrollArea* VELTransparentScrollView::morph(QAbstractScrollArea* scrollView)
{
    // The scroll area's own paint event draws only its frame and the scroll bars' corner:
    // swallowing it leaves exactly those out.
    PaintOverride::install(scrollView, variantName, [](QWidget&, QPainter&, const QPaintEvent&) {});
    scrollView->setAutoFillBackground(false);
    return scrollView;
}

bool VELTransparentScrollView::isMorphed(const QAbstractScrollArea* scrollView)
{
    return PaintOverride::isInstalled(scrollView, variantName);
}

QWidget* VELTransparentScrollView::headerClipView(const QAbstractScrollArea* scrollView)
{
    if (const auto* table = qobject_cast<const QTableView*>(scrollView))
        return table->horizontalHeader()->viewport();
    if (const auto* tree = qobject_cast<const QTreeView*>(scrollView))
        return tree->header()->viewport();
    return nullptr;
}
