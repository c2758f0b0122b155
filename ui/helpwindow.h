#pragma once

#include <QWidget>

class QPdfDocument;
class QPdfView;

// Shows the help PDF one page at a time, fitted to the window and refitted
// whenever the window is resized. A missing or broken PDF leaves the viewer
// empty.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(const QString &pdfPath, QWidget *parent = nullptr);

private:
    QPdfDocument *m_document;
    QPdfView *m_view;
};
