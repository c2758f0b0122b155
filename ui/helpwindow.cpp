#include "helpwindow.h"

#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// One notch of a mouse wheel, in eighths of a degree.
constexpr int wheelNotch = 120;

} // namespace

HelpWindow::HelpWindow(const QString &pdfPath, QWidget *parent)
    : QWidget(parent), m_document(new QPdfDocument(this)), m_view(new QPdfView(this))
{
    setWindowTitle(tr("Help Window"));
    if (m_document->load(pdfPath) == QPdfDocument::Error::None)
        m_view->setDocument(m_document);
    m_view->setPageMode(QPdfView::PageMode::SinglePage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitInView);
    // Without margins the fitted page needs no scrolling.
    m_view->setDocumentMargins(QMargins());
    m_view->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(buildPageRow());
    addShortcut(Qt::Key_PageUp, [this] { showPage(currentPage() - 1); });
    addShortcut(Qt::Key_PageDown, [this] { showPage(currentPage() + 1); });
    addShortcut(Qt::Key_Home, [this] { showPage(0); });
    addShortcut(Qt::Key_End, [this] { showPage(INT_MAX); });
    connect(m_view->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this,
            &HelpWindow::pageShown);
    pageShown();
    resize(620, 820);
}

QWidget *HelpWindow::buildPageRow()
{
    auto *row = new QWidget;
    m_previous = new QPushButton(tr("Previous"));
    m_previous->setObjectName(QStringLiteral("previous"));
    m_next = new QPushButton(tr("Next"));
    m_next->setObjectName(QStringLiteral("next"));
    m_pageLabel = new QLabel;
    m_pageLabel->setObjectName(QStringLiteral("page"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    // The keys turn pages wherever the focus is; the buttons need none.
    for (QPushButton *button : {m_previous, m_next})
        button->setFocusPolicy(Qt::NoFocus);
    connect(m_previous, &QPushButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(currentPage() + 1); });
    auto *layout = new QHBoxLayout(row);
    layout->addWidget(m_previous);
    layout->addWidget(m_pageLabel, 1);
    layout->addWidget(m_next);
    return row;
}

void HelpWindow::addShortcut(Qt::Key key, const std::function<void()> &turn)
{
    // Ahead of the viewer, which would only scroll within the page.
    auto *shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, turn);
}

int HelpWindow::currentPage() const
{
    return m_view->pageNavigator()->currentPage();
}

void HelpWindow::showPage(int page)
{
    const int last = m_document->pageCount() - 1;
    page = std::clamp(page, 0, std::max(last, 0));
    if (last < 0 || page == currentPage())
        return;
    m_view->pageNavigator()->jump(page, QPointF());
}

void HelpWindow::pageShown()
{
    const int count = m_document->pageCount();
    const int page = currentPage();
    m_pageLabel->setText(count > 0 ? tr("page %1 of %2").arg(page + 1).arg(count) : QString());
    m_previous->setEnabled(page > 0);
    m_next->setEnabled(page + 1 < count);
    m_wheelTurn = 0;
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Wheel)
        return turnWithWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
    return QWidget::eventFilter(watched, event);
}

// Scrolls within a page taller than the window; at its top or bottom edge a
// whole notch turns to the previous or next page.
bool HelpWindow::turnWithWheel(int delta)
{
    const QScrollBar *bar = m_view->verticalScrollBar();
    const bool atEdge = delta < 0 ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum();
    if (delta == 0 || !atEdge) {
        m_wheelTurn = 0;
        return false;
    }
    m_wheelTurn += delta;
    if (std::abs(m_wheelTurn) < wheelNotch)
        return true;
    showPage(currentPage() + (m_wheelTurn < 0 ? 1 : -1));
    m_wheelTurn = 0;
    return true;
}
