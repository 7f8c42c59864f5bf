#include "convert/CListBoxEx.h"

#include "converters/FileKinds.h"
#include "platform/MessageBoxService.h"
#include "platform/widgets/AddString.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

CListBoxEx::CListBoxEx(QWidget* parent) : QListWidget(parent)
{
    // Dropped files are taken as they come, like WS_EX_ACCEPTFILES; the
    // list's own entries are never dragged about.
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    // The styles of list 1008, for a list made without its template.
    setProperty("sorted", true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

CListBoxEx::~CListBoxEx()
{
    m_extensions.clear();
}

int CListBoxEx::AddString(const QString& path)
{
    return ::AddString(this, path);
}

int CListBoxEx::InsertString(int index, const QString& path)
{
    if (index < 0 || index > count())
        index = count();
    insertItem(index, path);
    return index;
}

bool CListBoxEx::Contains(const QString& path) const
{
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().compare(path, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void CListBoxEx::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CListBoxEx::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CListBoxEx::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The files are looked at once the drag is over, so a message box never
    // holds the file manager that dropped them.
    QMetaObject::invokeMethod(
        this, [this, dropped = event->mimeData()->urls()] { OnDropFiles(dropped); }, Qt::QueuedConnection);
}

void CListBoxEx::OnDropFiles(const QList<QUrl>& dropped)
{
    if (m_busy != 0) {
        AfxMessageBox(QStringLiteral("Working now,Hold for a moment!"), MB_OK);
        return;
    }
    int position = count();
    bool inserted = false;
    for (const QUrl& url : dropped) {
        // Only files of this machine can be converted; anything else a drop
        // may carry (a web address) is passed over.
        if (!url.isLocalFile())
            continue;
        const QString path = QDir::toNativeSeparators(url.toLocalFile());
        // A folder, or a name without ".", ends this drop; what was
        // inserted before it stays.
        if (QFileInfo(path).isDir() || !path.contains(QLatin1Char('.')))
            break;
        if (!m_extensions.contains(filekinds::ExtensionOf(path)))
            continue;
        if (Contains(path)) {
            MessageBox(this, QStringLiteral("Convert File existing."), QStringLiteral("Warning"),
                       MB_ICONINFORMATION);
            continue;
        }
        InsertString(position++, path);
        inserted = true;
    }
    if (inserted && m_hNotifyWnd) {
        // PostMessage: delivered later, in the receiver's thread, and only
        // while the receiver still exists.
        QMetaObject::invokeMethod(
            m_hNotifyWnd,
            [list = QPointer<CListBoxEx>(this)] {
                if (list)
                    emit list->WM_FILES_DROPPED();
            },
            Qt::QueuedConnection);
    }
}
