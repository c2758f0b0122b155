#include "contentview.h"

#include "containerlistmodel.h"
#include "containertable.h"
#include "qtfilechooser.h"
#include "ratechart.h"
#include "resourcepaths.h"
#include "samecontainer.h"
#include "statuslines.h"
#include "storeworker.h"
#include "trendline.h"
#include "units.h"
#include "usedspacechart.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int sliderInset = 10;
// Tighter than the style's, so that the charts keep room in a small window.
constexpr int lineSpacing = 4;
constexpr int contentMargin = 6;

QLabel *centredLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(QStringLiteral("line"));
    label->setAlignment(Qt::AlignHCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long line takes two in a narrow window rather than widen it.
    label->setWordWrap(true);
    return label;
}

QWidget *linesOf(const QList<QLabel *> &labels)
{
    auto *lines = new QWidget;
    auto *layout = new QVBoxLayout(lines);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QLabel *label : labels)
        layout->addWidget(label);
    return lines;
}

} // namespace

ContentView::ContentView(DiskInfo *store, QWidget *parent)
    : QWidget(parent), m_diskInfo(store), m_model(new ContainerListModel(this))
{
    m_diskInfo->setParent(this);
    m_fileChooser = std::make_unique<QtFileChooser>(this);
    m_diskInfo->setFileChooser(m_fileChooser.get());
    m_worker = std::make_unique<StoreWorker>();
    m_diskInfo->setWorker([worker = m_worker.get()](auto work, auto done) {
        worker->run(std::move(work), std::move(done));
    });
    buildLayout();
    buildToolBar();
    connect(m_diskInfo, &DiskInfo::changed, this, &ContentView::storeChanged);
    connect(m_diskInfo, &DiskInfo::checkingChanged, this, &ContentView::checkingChanged);
    connect(m_diskInfo, &DiskInfo::historyRead, this, [this] { showHistory(); });
    refreshLines();
}

ContentView::~ContentView()
{
    // The store, a child, is deleted after the chooser and the worker: leave
    // it none to call, and no listing tool to wait for.
    m_diskInfo->setFileChooser(nullptr);
    m_diskInfo->stopChecking();
}

void ContentView::buildLayout()
{
    buildList();
    buildLines();
    m_usedChart = new UsedSpaceChart;
    m_usedChart->setObjectName(QStringLiteral("usedSpaceChart"));
    m_rateChart = new RateChart;
    m_rateChart->setObjectName(QStringLiteral("rateChart"));
    m_usedChart->setVisibleDuration(m_visibleDuration);
    m_rateChart->setVisibleDuration(m_visibleDuration);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(lineSpacing);
    layout->setContentsMargins(contentMargin, contentMargin, contentMargin, contentMargin);
    layout->addWidget(m_list);
    layout->addWidget(m_helpLines);
    layout->addWidget(m_summaryLine);
    layout->addWidget(m_usedChart, 1);
    layout->addWidget(m_rateLines);
    layout->addWidget(m_rateChart, 1);
    layout->addLayout(buildSliderRow());
}

void ContentView::buildList()
{
    m_list = new ContainerTable(m_model);
    m_list->setObjectName(QStringLiteral("containers"));
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ContentView::selectionChanged);
}

void ContentView::buildLines()
{
    QList<QLabel *> help;
    for (const QString &line : helpLines())
        help.append(centredLabel(line));
    m_helpLines = linesOf(help);
    m_summaryLine = centredLabel({});
    m_rateLine = centredLabel({});
    m_forecastLine = centredLabel({});
    m_trendLine = centredLabel({});
    m_rateLines = linesOf({m_rateLine, m_forecastLine, m_trendLine});
}

QLayout *ContentView::buildSliderRow()
{
    // Whole days from 1 to 28.
    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setObjectName(QStringLiteral("days"));
    m_slider->setRange(1, 28);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setValue(static_cast<int>(m_visibleDuration / secondsPerDay));
    m_slider->setAccessibleName(tr("Days"));
    connect(m_slider, &QSlider::valueChanged, this, &ContentView::setVisibleDays);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(sliderInset, sliderInset, sliderInset, sliderInset);
    row->addWidget(new QLabel(tr("Days")));
    row->addWidget(new QLabel(QStringLiteral("1")));
    row->addWidget(m_slider, 1);
    row->addWidget(new QLabel(QStringLiteral("28")));
    return row;
}

QAction *ContentView::addTool(const QString &name, const QString &title, const QString &tip,
                              const QString &themeIcon)
{
    QAction *action =
        m_toolBar->addAction(QIcon::fromTheme(themeIcon, QIcon(fallbackIconPath(name))), title);
    action->setObjectName(name);
    action->setToolTip(tip);
    return action;
}

void ContentView::buildToolBar()
{
    m_toolBar = new QToolBar(tr("Tools"), this);
    m_toolBar->setObjectName(QStringLiteral("ContentView.toolbar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    m_toolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_toolBar, &QWidget::customContextMenuRequested, this, &ContentView::showToolMenu);

    connect(addTool(QStringLiteral("readdata"), tr("Read JSON"), tr("Read data from JSON file"),
                    QStringLiteral("document-open")),
            &QAction::triggered, this, &ContentView::readRequested);
    connect(addTool(QStringLiteral("checkcons"), tr("Check All"),
                    tr("Check all accessible APFS containers."), QStringLiteral("view-refresh")),
            &QAction::triggered, this, &ContentView::checkAll);
    connect(addTool(QStringLiteral("savejson"), tr("Save As JSON"),
                    tr("Save all data as JSON file."), QStringLiteral("document-save-as")),
            &QAction::triggered, m_diskInfo, &DiskInfo::saveJSON);
    connect(addTool(QStringLiteral("savecsv"), tr("Save Selection As CSV"),
                    tr("Save selected container data as CSV file."),
                    QStringLiteral("x-office-spreadsheet")),
            &QAction::triggered, this, &ContentView::saveSelectionAsCsv);
}

std::unique_ptr<QMenu> ContentView::toolMenu() const
{
    // Lets the user show or hide each tool.
    auto menu = std::make_unique<QMenu>();
    for (QAction *tool : m_toolBar->actions()) {
        QAction *toggle = menu->addAction(tool->text());
        toggle->setCheckable(true);
        toggle->setChecked(tool->isVisible());
        connect(toggle, &QAction::toggled, tool, &QAction::setVisible);
    }
    return menu;
}

void ContentView::showToolMenu(const QPoint &position)
{
    toolMenu()->exec(m_toolBar->mapToGlobal(position));
}

void ContentView::checkAll()
{
    m_diskInfo->checkContainers();
}

void ContentView::checkingChanged(bool checking)
{
    if (checking)
        return;
    m_hasRun = true;
    refreshLines();
}

void ContentView::saveSelectionAsCsv()
{
    forSelectedContainer(&DiskInfo::saveCSV);
}

void ContentView::forSelectedContainer(void (DiskInfo::*operation)(const QString &))
{
    if (!m_selection)
        return;
    for (const ContainerInfo &info : m_diskInfo->containerList()) {
        if (info.id == *m_selection) {
            (m_diskInfo->*operation)(info.conUUID);
            return;
        }
    }
}

void ContentView::showHistory(const QString &conUUID)
{
    m_hasRun = true;
    m_toSelect = conUUID;
    scheduleRefresh();
}

QString ContentView::selectedConUUID() const
{
    for (const ContainerInfo &info : m_diskInfo->containerList()) {
        if (m_selection && info.id == *m_selection)
            return info.conUUID;
    }
    return {};
}

void ContentView::selectListed(const QString &conUUID)
{
    const QList<ContainerInfo> &listed = m_diskInfo->containerList();
    if (listed.isEmpty())
        return;
    const ContainerMatcher wanted(conUUID);
    const auto found =
        conUUID.isEmpty() ? listed.cend()
                          : std::find_if(listed.cbegin(), listed.cend(),
                                         [&](const ContainerInfo &c) { return wanted(c.conUUID); });
    // Selected afresh even when the row stays, so that the series is rebuilt
    // from the history as it is now.
    m_selection.reset();
    m_list->clearSelection();
    m_list->selectRow(found == listed.cend() ? 0 : int(found - listed.cbegin()));
}

QString ContentView::copyText() const
{
    if (!m_selection)
        return {};
    QStringList items;
    for (const ContainerInfo &info : m_diskInfo->containerList()) {
        if (info.id == *m_selection)
            items.append(info.copyText());
    }
    return items.join(u'\n');
}

void ContentView::copySelection() const
{
    const QString text = copyText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void ContentView::storeChanged(DiskInfo::Property property)
{
    switch (property) {
    case DiskInfo::Property::ContainerList:
        m_listDirty = true;
        break;
    case DiskInfo::Property::RatesPoints:
    case DiskInfo::Property::OverallRate:
    case DiskInfo::Property::RecentTrend:
        m_chartsDirty = true;
        break;
    case DiskInfo::Property::MaxSizeTotal:
    case DiskInfo::Property::MinFree:
    case DiskInfo::Property::TimeToRun:
        break;
    default:
        return;
    }
    scheduleRefresh();
}

void ContentView::scheduleRefresh()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, &ContentView::refresh);
}

void ContentView::refresh()
{
    m_refreshPending = false;
    if (std::exchange(m_listDirty, false))
        m_model->setContainers(m_diskInfo->containerList());
    if (m_toSelect)
        selectListed(*std::exchange(m_toSelect, std::nullopt));
    if (std::exchange(m_chartsDirty, false)) {
        m_usedChart->setSeries(m_diskInfo->ratesPoints());
        m_rateChart->setSeries(m_diskInfo->ratesPoints(), m_diskInfo->overallRate());
        m_usedChart->setTrend(m_diskInfo->recentTrend());
    }
    refreshLines();
}

void ContentView::refreshLines()
{
    m_helpLines->setVisible(!m_hasRun);
    m_summaryLine->setVisible(m_hasRun);
    m_rateLines->setVisible(m_hasRun);
    m_summaryLine->setText(summaryLine(m_diskInfo->maxSizeTotal(), m_diskInfo->minFree()));
    m_rateLine->setText(rateLine(m_diskInfo->overallRate()));
    m_forecastLine->setText(forecastLine(m_diskInfo->timeToRun(), m_diskInfo->ratesPoints(),
                                         m_diskInfo->overallRate()));
    m_trendLine->setText(trendLine(m_diskInfo->recentTrend()));
    m_trendLine->setVisible(m_hasSelected);
}

void ContentView::selectionChanged()
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    std::optional<QUuid> selected;
    if (!rows.isEmpty())
        selected = rows.constFirst().data(ContainerListModel::IdRole).toUuid();
    if (selected == m_selection)
        return;
    m_selection = selected;
    forSelectedContainer(&DiskInfo::selectContainer);
    // A stale selection builds nothing.
    m_hasSelected = m_hasSelected || !m_diskInfo->ratesPoints().isEmpty();
}

void ContentView::setVisibleDays(int days)
{
    m_visibleDuration = days * secondsPerDay;
    m_usedChart->setVisibleDuration(m_visibleDuration);
    m_rateChart->setVisibleDuration(m_visibleDuration);
}
