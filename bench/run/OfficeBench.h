#pragma once

#include "ScriptedMessageBoxes.h"

#include "platform/MessageBoxDispatcher.h"

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// What a benchmark of whole office files sets up before it times anything:
// the offscreen platform, private folders, the documents a test script makes
// at run time, no open password, and message boxes answered (and counted)
// instead of shown.
class OfficeBench
{
public:
    // script: a document maker of the tests, run with the corpus folder.
    OfficeBench(int& argc, char** argv, const QString& script);
    ~OfficeBench();

    // True when the documents were made; else says why on stderr.
    bool Ready() const;
    // The documents, and a folder for the PDFs.
    QDir Corpus() const { return QDir(m_corpus.path()); }
    QDir Output() const { return QDir(m_output.path()); }

    // Prints how many message boxes were shown: 0 on none, else 1 (a
    // message is a failure of the run).
    int Finish() const;

private:
    QApplication m_app;
    QTemporaryDir m_corpus;
    QTemporaryDir m_output;
    QString m_failure;
    ScriptedMessageBoxes m_boxes;
    MessageBoxDispatcher m_dispatcher{m_boxes};
    MessageBoxService* m_previous = nullptr;
};
