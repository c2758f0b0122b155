#include "containerlistmodel.h"

#include <QColor>

namespace {

QString cellText(const ContainerInfo &info, int column)
{
    switch (column) {
    case ContainerListModel::ConRef:
        return info.conRef;
    case ContainerListModel::FirstVolName:
        return info.firstVolName;
    case ContainerListModel::Capacity:
        return QString::number(info.capacity);
    case ContainerListModel::TotalUsed:
        return QString::number(info.totalUsed);
    case ContainerListModel::Free:
        return QString::number(info.free);
    case ContainerListModel::VolNames:
        return info.volNames;
    case ContainerListModel::ConUUID:
        return info.conUUID;
    }
    return {};
}

QVariant cellColour(int column)
{
    switch (column) {
    case ContainerListModel::FirstVolName:
        return QColor(Qt::blue);
    case ContainerListModel::TotalUsed:
        return QColor(Qt::red);
    case ContainerListModel::Free:
        return QColor(0x8B, 0x45, 0x13); // brown
    case ContainerListModel::VolNames:
        return QColor(Qt::darkGreen);
    }
    return {};
}

} // namespace

void ContainerListModel::setContainers(const QList<ContainerInfo> &containers)
{
    beginResetModel();
    m_containers = containers;
    endResetModel();
}

int ContainerListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_containers.size());
}

int ContainerListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContainerListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const ContainerInfo &info = m_containers[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(info, index.column());
    case Qt::ForegroundRole:
        return cellColour(index.column());
    case IdRole:
        return QVariant::fromValue(info.id);
    }
    return {};
}

QVariant ContainerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[ColumnCount] = {
        "Reference", "First Volume", "Capacity", "Used", "Free", "Volumes", "Container UUID"};
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
}
