#pragma once

#include "ratestats.h"
#include "scrollingchart.h"

// The selected container's used space in whole GB over time. Its y range
// follows the data and need not include zero.
class UsedSpaceChart : public ScrollingChart
{
    Q_OBJECT
public:
    explicit UsedSpaceChart(QWidget *parent = nullptr);

    void setSeries(const QList<RateStats> &points);
};
