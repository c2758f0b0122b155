#include "windowmemory.h"

#include "containertable.h"
#include "contentview.h"
#include "mainwindow.h"

#include <QEvent>
#include <QFileInfo>
#include <QSettings>
#include <QSlider>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype mostRecentFiles = 5;
const QString geometryKey = u"window/geometry"_s;
const QString daysKey = u"window/days"_s;
const QString columnsKey = u"list/columnWidths"_s;
const QString recentKey = u"recentFiles"_s;

} // namespace

WindowMemory::WindowMemory(MainWindow *window, std::unique_ptr<QSettings> settings)
    : QObject(window), m_window(window), m_settings(std::move(settings))
{
    restore();
    watch();
}

WindowMemory::~WindowMemory() = default;

QStringList WindowMemory::recentFiles() const
{
    return m_settings->value(recentKey).toStringList();
}

void WindowMemory::restore()
{
    m_window->restoreGeometry(m_settings->value(geometryKey).toByteArray());
    ContentView *content = m_window->contentView();
    if (const int days = m_settings->value(daysKey).toInt(); days > 0)
        content->daysSlider()->setValue(days);
    QList<int> widths;
    for (const QString &width : m_settings->value(columnsKey).toStringList())
        widths.append(width.toInt());
    if (!widths.isEmpty() && !widths.contains(0))
        content->listView()->setColumnWidths(widths);
    showRecentFiles();
}

void WindowMemory::watch()
{
    ContentView *content = m_window->contentView();
    connect(content->daysSlider(), &QSlider::valueChanged, this,
            [this](int days) { m_settings->setValue(daysKey, days); });
    connect(content->listView(), &ContainerTable::columnsResized, this, [this, content] {
        QStringList widths;
        for (const int width : content->listView()->columnWidths())
            widths.append(QString::number(width));
        m_settings->setValue(columnsKey, widths);
    });
    connect(content->theDiskInfo(), &DiskInfo::historyRead, this, &WindowMemory::remember);
    connect(content->theDiskInfo(), &DiskInfo::historySaved, this, &WindowMemory::remember);
    m_window->installEventFilter(this);
}

bool WindowMemory::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close)
        m_settings->setValue(geometryKey, m_window->saveGeometry());
    return QObject::eventFilter(watched, event);
}

// The latest first, each once.
void WindowMemory::remember(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList recent = recentFiles();
    recent.removeAll(file);
    recent.prepend(file);
    m_settings->setValue(recentKey, recent.mid(0, mostRecentFiles));
    showRecentFiles();
}

void WindowMemory::showRecentFiles()
{
    QStringList existing = recentFiles();
    existing.removeIf([](const QString &path) { return !QFileInfo::exists(path); });
    m_window->setRecentFiles(existing);
}
