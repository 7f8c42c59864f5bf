#pragma once

#include <QListWidget>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <atomic>

// The conversion page's list of files to convert (control 1008): full paths,
// one an entry. Files dropped from a file manager are checked against the
// accepted extensions and the entries already listed and appended in drop
// order; after a drop that added something, the page is told through
// WM_FILES_DROPPED. While a conversion runs, drops are refused.
//
// The page and the worker use the ordinary list operations (count(),
// item(i)->text(), the selection, takeItem(), clear()) and the two ways in:
// AddString (sorted) and InsertString (at a position).
class CListBoxEx : public QListWidget
{
    Q_OBJECT

public:
    explicit CListBoxEx(QWidget* parent = nullptr);
    ~CListBoxEx() override;

    // LB_ADDSTRING: into its sorted place. Returns the entry's index.
    int AddString(const QString& path);
    // LB_INSERTSTRING: at index, unsorted; -1 appends. Returns the entry's index.
    int InsertString(int index, const QString& path);
    // True when an entry equals path, compared whole and ignoring case.
    bool Contains(const QString& path) const;

    QStringList m_extensions;       // accepted extensions, lower case, without the dot
    std::atomic<int> m_busy{0};     // 1 while a conversion runs (written by the worker too)
    QPointer<QObject> m_hNotifyWnd; // whom WM_FILES_DROPPED is posted to; none: nobody

signals:
    // Posted (queued, in m_hNotifyWnd's thread) after a drop that added at least one file.
    void WM_FILES_DROPPED();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The drop itself, run once the drag has finished, as WM_DROPFILES is.
    void OnDropFiles(const QList<QUrl>& dropped);
};
