#include "helpwindow.h"

#include <QPdfDocument>
#include <QPdfView>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString &pdfPath, QWidget *parent)
    : QWidget(parent), m_document(new QPdfDocument(this)), m_view(new QPdfView(this))
{
    setWindowTitle(tr("Help Window"));
    if (m_document->load(pdfPath) == QPdfDocument::Error::None)
        m_view->setDocument(m_document);
    m_view->setPageMode(QPdfView::PageMode::SinglePage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitInView);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(620, 820);
}
