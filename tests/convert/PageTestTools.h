#pragma once

// What the conversion page's tests share: converters that stand in for the
// real ones behind ConverterSet, a message-box responder that lets a test
// look at the page while a box is open, and waiting with the event loop
// running.

#include "ScriptedMessageBoxes.h"
#include "app/Resource.h"
#include "convert/CBmpProgCtrl.h"
#include "convert/CConvertDlg.h"
#include "convert/CListBoxEx.h"
#include "converters/ConversionPage.h"
#include "converters/Converters.h"
#include "platform/GuiThreadCall.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMap>
#include <QMimeData>
#include <QMutex>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <condition_variable>
#include <functional>
#include <mutex>

#include "WidgetTestTools.h"

namespace pagetest {

// Runs the event loop until done() holds; false when it never did within
// the (generous) limit.
inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 60000)
{
    for (int waited = 0; !done(); waited += 5) {
        if (waited > limitMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// Drags the files over the list and drops them, as a file manager does;
// false when the list refused the drag or the drop.
inline bool DropFiles(CListBoxEx& list, const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint point = list.viewport()->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    return drop.isAccepted();
}

// What a fake converter does with one file.
enum class Act {
    Make,          // writes the PDF (new text) and reports it made
    Fail,          // writes nothing and reports it not made
    Block,         // waits until released or until the page ends its "program", then reports made
    BlockDeaf,     // waits until released, whatever the page does; then reports made
    BlockDeafFail, // as BlockDeaf, then reports not made
    ReturnSilent,  // Office only: returns without touching the converted flag
    BlockThenAsk,  // as Block; once ended, still asks for a password and a PDF
};

// The four converters, recording every call. Files are told apart by their
// bare name as the converter receives it.
class FakeConverters
{
public:
    struct Call
    {
        QString kind; // "word", "excel", "powerpoint" or "picture"
        QString path;
        QThread* thread = nullptr;
        int barPos = 0;         // the bar's position when the call began (0 when not drawn)
        int returnedBefore = 0; // calls that had returned when this one began
    };

    void SetAct(const QString& name, Act act)
    {
        std::unique_lock lock(m_mutex);
        m_acts[name] = act;
    }

    ConverterSet Set()
    {
        ConverterSet set;
        set.word = [this](ConversionPage& page, const QString& path) { Office("word", page, path); };
        set.excel = [this](ConversionPage& page, const QString& path) { Office("excel", page, path); };
        set.powerPoint = [this](ConversionPage& page, const QString& path) {
            Office("powerpoint", page, path);
        };
        set.picture = [this](ConversionPage& page, const QString& path) {
            return Convert("picture", page, path);
        };
        return set;
    }

    QList<Call> Calls() const
    {
        std::unique_lock lock(m_mutex);
        return m_calls;
    }
    QStringList CalledNames() const
    {
        QStringList names;
        for (const Call& call : Calls())
            names << QFileInfo(call.path).fileName();
        return names;
    }

    // A blocked converter is inside and waiting.
    bool Blocked() const
    {
        std::unique_lock lock(m_mutex);
        return m_blocked > 0;
    }
    // Lets every converter blocked now return; a later one blocks again.
    void Release()
    {
        std::unique_lock lock(m_mutex);
        ++m_releases;
        m_wake.notify_all();
    }
    // How many times the page ended a converter's "program".
    int EndedByPage() const
    {
        std::unique_lock lock(m_mutex);
        return m_endedByPage;
    }
    int Returned() const
    {
        std::unique_lock lock(m_mutex);
        return m_returned;
    }
    // What BlockThenAsk got from the page after it was ended.
    struct Late
    {
        bool asked = false;
        bool password = true;
        PdfOutcome pdf;
    };
    Late LateAnswers() const
    {
        std::unique_lock lock(m_mutex);
        return m_late;
    }

private:
    void Office(const char* kind, ConversionPage& page, const QString& path)
    {
        if (ActOf(path) == Act::ReturnSilent) {
            Record(kind, page, path);
            Finish();
            return;
        }
        page.SetConverted(Convert(kind, page, path) ? 1 : 0);
    }

    Act ActOf(const QString& path) const
    {
        std::unique_lock lock(m_mutex);
        return m_acts.value(QFileInfo(path).fileName(), Act::Make);
    }

    void Record(const char* kind, ConversionPage& page, const QString& path)
    {
        int pos = 0;
        RunInThreadOf(page.Window(), [&] {
            auto* bar = DlgItem<CBmpProgCtrl>(qobject_cast<QWidget*>(page.Window()), IDC_PROGRESS);
            pos = bar->m_bDrawn ? bar->m_nPos : 0;
        });
        std::unique_lock lock(m_mutex);
        m_calls.append({QString::fromLatin1(kind), path, QThread::currentThread(), pos, m_returned});
    }

    void Finish()
    {
        std::unique_lock lock(m_mutex);
        ++m_returned;
    }

    bool Convert(const char* kind, ConversionPage& page, const QString& path)
    {
        Record(kind, page, path);
        const Act act = ActOf(path);
        bool made = act != Act::Fail;
        const bool deaf = act == Act::BlockDeaf || act == Act::BlockDeafFail;
        if (act == Act::Block || deaf || act == Act::BlockThenAsk) {
            if (!deaf)
                page.SetCurrentProgramEnder([this] {
                    std::unique_lock lock(m_mutex);
                    ++m_endedByPage;
                    m_ended = true;
                    m_wake.notify_all();
                });
            std::unique_lock lock(m_mutex);
            ++m_blocked;
            const int releases = m_releases;
            while (m_releases == releases && !m_ended)
                m_wake.wait(lock);
            --m_blocked;
            made = !m_ended && act != Act::BlockDeafFail;
            m_ended = false;
            lock.unlock();
            page.SetCurrentProgramEnder({});
            if (act == Act::BlockThenAsk) {
                Late late;
                late.asked = true;
                QString typed;
                late.password = page.EnterPassword(QFileInfo(path).fileName(), &typed);
                late.pdf = page.MakePdfFromSpool(path);
                const std::lock_guard again(m_mutex);
                m_late = late;
            }
        }
        if (made) {
            const QString dot = path.left(path.lastIndexOf(QLatin1Char('.')));
            const QString pdf = QDir(page.OutputFolder()).filePath(QFileInfo(dot).fileName() + ".pdf");
            QFile file(pdf);
            made = file.open(QIODevice::WriteOnly) && file.write("new " + pdf.toUtf8()) > 0;
        }
        Finish();
        return made;
    }

    // The standard library's mutex and condition, whose waits a thread
    // checker follows (Qt's wait condition relocks the mutex out of its sight).
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    QMap<QString, Act> m_acts;
    QList<Call> m_calls;
    int m_blocked = 0;
    int m_releases = 0;
    bool m_ended = false;
    int m_endedByPage = 0;
    int m_returned = 0;
    Late m_late;
};

// The scripted responder with a look inside: before a box is answered, the
// hook for its text (if any) runs on the thread that showed it.
class InspectingBoxes : public ScriptedMessageBoxes
{
public:
    void OnBox(const QString& textStart, std::function<void()> hook)
    {
        QMutexLocker lock(&m_hookMutex);
        m_hooks.append({textStart, std::move(hook)});
    }
    int Show(const MessageBoxRequest& request) override
    {
        std::function<void()> hook;
        {
            QMutexLocker lock(&m_hookMutex);
            for (qsizetype i = 0; i < m_hooks.size(); ++i)
                if (request.text.startsWith(m_hooks[i].first)) {
                    hook = m_hooks.takeAt(i).second;
                    break;
                }
        }
        if (hook)
            hook();
        return ScriptedMessageBoxes::Show(request);
    }

private:
    QMutex m_hookMutex;
    QList<QPair<QString, std::function<void()>>> m_hooks;
};

// Closes the completion dialog whenever it appears, keeping what it listed.
class CompletionWatcher
{
public:
    explicit CompletionWatcher(CConvertDlg& page)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, &page] {
            if (!page.m_finishDlg.isVisible())
                return;
            ++shown;
            listed = testtools::ListEntries(*page.m_finishDlg.m_resultList);
            DlgItem<QAbstractButton>(&page.m_finishDlg, IDCANCEL)->click();
        });
        m_timer.start();
    }
    int shown = 0;
    QStringList listed;

private:
    QTimer m_timer;
};

} // namespace pagetest
