#include "containertable.h"

#include "containerlistmodel.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int fewestRows = 2;
constexpr int mostRows = 8;
// The room a cell leaves around its text, as the default delegate draws it.
constexpr int cellMargins = 8;
constexpr int rowPadding = 6;

} // namespace

ContainerTable::ContainerTable(QAbstractItemModel *model, QWidget *parent) : QTableView(parent)
{
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(12);
    setFont(mono);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(mono).height() + rowPadding);
    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(header->fontMetrics().averageCharWidth() * 4);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(model, &QAbstractItemModel::modelReset, this, &ContainerTable::rowsChanged);
    connect(header, &QHeaderView::sectionResized, this, &ContainerTable::sectionResized);
}

QList<int> ContainerTable::columnWidths() const
{
    QList<int> widths;
    for (int column = 0; column < horizontalHeader()->count(); ++column)
        widths.append(columnWidth(column));
    return widths;
}

void ContainerTable::setColumnWidths(const QList<int> &widths)
{
    m_resizing = true;
    for (int column = 0; column < std::min<int>(widths.size(), horizontalHeader()->count());
         ++column)
        setColumnWidth(column, widths[column]);
    m_resizing = false;
    m_columnsSized = true;
    fillWidth();
}

QString ContainerTable::toolTipOf(const QModelIndex &index) const
{
    const QString text = index.data().toString();
    const int room = visualRect(index).width() - cellMargins;
    return fontMetrics().horizontalAdvance(text) > room ? text : QString();
}

int ContainerTable::heightOfRows(int rows) const
{
    const bool scrolls = horizontalHeader()->length() > viewport()->width();
    return 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
           rows * verticalHeader()->defaultSectionSize() +
           (scrolls ? horizontalScrollBar()->sizeHint().height() : 0);
}

QSize ContainerTable::sizeHint() const
{
    const int rows = std::clamp(model()->rowCount(), fewestRows, mostRows);
    return {QTableView::sizeHint().width(), heightOfRows(rows)};
}

QSize ContainerTable::minimumSizeHint() const
{
    return {QTableView::minimumSizeHint().width(), sizeHint().height()};
}

bool ContainerTable::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString tip = toolTipOf(index);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
    return true;
}

void ContainerTable::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fillWidth();
}

void ContainerTable::rowsChanged()
{
    if (!m_columnsSized && model()->rowCount() > 0) {
        m_resizing = true;
        resizeColumnsToContents();
        m_resizing = false;
        m_columnsSized = true;
        fillWidth();
    }
    updateGeometry();
}

void ContainerTable::sectionResized(int column)
{
    if (m_resizing)
        return;
    if (column != ContainerListModel::VolNames)
        fillWidth();
    updateGeometry();
    emit columnsResized();
}

// The Volumes column takes what the others leave, or at least its title's width.
void ContainerTable::fillWidth()
{
    QHeaderView *header = horizontalHeader();
    int others = 0;
    for (int column = 0; column < header->count(); ++column) {
        if (column != ContainerListModel::VolNames)
            others += header->sectionSize(column);
    }
    const int title = header->sectionSizeHint(ContainerListModel::VolNames);
    m_resizing = true;
    header->resizeSection(ContainerListModel::VolNames,
                          std::max(viewport()->width() - others, title));
    m_resizing = false;
    updateGeometry();
}
