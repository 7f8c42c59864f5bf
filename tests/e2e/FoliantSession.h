#pragma once

#include "PageTestTools.h"
#include "QStringPrinter.h"
#include "ScriptedMessageBoxes.h"

#include "app/CFoliantDlg.h"
#include "platform/MessageBoxDispatcher.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class QLineEdit;

// The whole program in this process as the user gets it: the main window
// with the real converters (office host on LibreOffice, Ghostscript), driven
// through its controls by clicks and keys. Every message box goes to the
// scripted responder through the same dispatcher the program uses, and the
// completion dialog is closed whenever it appears.
class FoliantSession : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    CConvertDlg* Page() const { return m_window->m_pConvertDlg; }
    QAbstractButton* Button(int id) const;
    QString Status() const;
    // Control id of option page index (0 Description, 1 Security, 2 Advanced).
    QWidget* OptionControl(int index, int id) const
    {
        return GetDlgItem(Page()->m_optionTabs.Page(index), id);
    }

    // A source file of that name in the input folder: the office documents
    // are copies of the ones made by LibreOffice, pictures are drawn here
    // (a TIFF has three pages).
    QString Source(const QString& name);
    QString InputFolder() const { return m_work.filePath(QStringLiteral("in")); }
    QString OutputFolder() const { return m_work.filePath(QStringLiteral("out")); }
    QString PdfOf(const QString& sourceName) const;

    // Adds the files the two ways a user does: dropped on the list, and
    // typed into the file-name field of Add File(s)'s dialog.
    void Drop(const QStringList& paths);
    void AddThroughDialog(const QStringList& names);

    // Clicks into an edit, selects what it holds and types text over it.
    // Letters outside Latin-1 arrive as an input method commits them.
    static void TypeInto(QWidget* edit, const QString& text);
    void SetOutputFolder(const QString& folder);
    // Ticks "Display Advanced Options." (when not ticked) and clicks the
    // header of option page index.
    void ShowOptionPage(int index);

    // Clicks Convert and waits until the run and its worker have ended.
    void ConvertAndWait();
    void WaitForRunEnd();
    // Waits until the completion dialog has been shown that many times.
    void WaitForCompletion(int shown);

    // The marker of every program this test program starts (see ProcessTree).
    static inline QString s_marker;

    QTemporaryDir m_work;
    ScriptedMessageBoxes m_boxes;
    MessageBoxDispatcher m_dispatcher{m_boxes};
    std::unique_ptr<MessageBoxOverride> m_boxScope;
    std::unique_ptr<CFoliantDlg> m_window;
    std::unique_ptr<pagetest::CompletionWatcher> m_completion;
};
