#pragma once

#include "ScriptedMessageBoxes.h"

#include "platform/MessageBoxDispatcher.h"

#include <QApplication>
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

    // Why the documents could not be made; empty when they were.
    QString Failure() const { return m_failure; }
    QString Corpus() const { return m_corpus.path(); }
    QString Output() const { return m_output.path(); }

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
