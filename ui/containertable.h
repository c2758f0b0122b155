#pragma once

#include <QTableView>

// The list of containers: one row per container in the monospaced font, as
// high as its rows (at least 2, at most 8; more scroll), columns the user can
// resize, the Volumes column taking the width left over, and an elided cell's
// full text as its tooltip. The columns fit their contents when the first
// containers come, unless the user's widths were given before.
class ContainerTable : public QTableView
{
    Q_OBJECT
public:
    explicit ContainerTable(QAbstractItemModel *model, QWidget *parent = nullptr);

    QList<int> columnWidths() const;
    void setColumnWidths(const QList<int> &widths);

    // The cell's full text when it does not fit its column; empty otherwise.
    QString toolTipOf(const QModelIndex &index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user resized a column.
    void columnsResized();

protected:
    bool viewportEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void rowsChanged();
    void sectionResized(int column);
    void fillWidth();
    int heightOfRows(int rows) const;

    bool m_columnsSized = false;
    bool m_resizing = false;
};
