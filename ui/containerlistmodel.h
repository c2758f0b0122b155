#pragma once

#include "containerinfo.h"

#include <QAbstractTableModel>
#include <QList>

// The containers of the latest reading, one row each, in seven columns. Rows
// hold snapshots of the store's list; the row's id is offered under IdRole.
class ContainerListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ConRef, FirstVolName, Capacity, TotalUsed, Free, VolNames, ConUUID, ColumnCount };
    static constexpr int IdRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setContainers(const QList<ContainerInfo> &containers);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<ContainerInfo> m_containers;
};
