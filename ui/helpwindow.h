#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPdfDocument;
class QPdfView;
class QPushButton;

// Shows the help PDF one page at a time, fitted to the window and refitted
// whenever the window is resized. Pages turn with the Previous and Next
// buttons, PageUp and PageDown, Home and End, and the wheel once the page
// has no more to scroll that way; "page N of M" tells where the reader is.
// A missing or broken PDF leaves the viewer empty.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(const QString &pdfPath, QWidget *parent = nullptr);

    // The page shown, counting from 0.
    int currentPage() const;
    // Shows the given page, kept within the document.
    void showPage(int page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildPageRow();
    void addShortcut(Qt::Key key, const std::function<void()> &turn);
    bool turnWithWheel(int delta);
    void pageShown();

    QPdfDocument *m_document;
    QPdfView *m_view;
    QPushButton *m_previous;
    QPushButton *m_next;
    QLabel *m_pageLabel;
    int m_wheelTurn = 0; // wheel eighths of a degree gathered at the page's edge
};
