#pragma once

#include "converters/CurrentProgramEnder.h"
#include "platform/COleDispatchDriver.h"

#include <QString>

#include <functional>
#include <optional>

class ConversionPage;

// One attempt at an office file with the current open password: the frame
// the Word, Excel and PowerPoint converters share (the spool file, the
// application started and its ender, giving up, the print wait, the PDF
// step and its report). Each converter brings its application's own calls:
// hiding it, opening, printing, closing and quitting.
class OfficeAttempt
{
public:
    OfficeAttempt(ConversionPage& page, const QString& sourcePath);
    OfficeAttempt(const OfficeAttempt&) = delete;
    OfficeAttempt& operator=(const OfficeAttempt&) = delete;

    // The converted flag at 0, the run's spool file, and the application of
    // progId started with its printer set up for the version the PDF step
    // writes. False when there is nothing to do (the run is stopped) or it
    // cannot start: the user has been told, with notStarted ("Couldn't get
    // Word object.") and the reason.
    bool Start(const QString& progId, const QString& notStarted);
    // Once the document is open, before it prints: waits for the file's turn
    // (see ConversionPage::TakePrintTurn), so that the application starts and
    // opens the document while the file before prints. False once the run
    // is stopped: the application is ended, the file not converted.
    bool TakePrintTurn();

    COleDispatchDriver& Application() { return m_application; }
    const QString& SpoolPath() const { return m_spoolPath; }

    // A call that failed outside the guarded open: the application is
    // ended, the user told why (unless the run was stopped), the file not
    // converted. True: the attempt is over, as the converters return it.
    bool GiveUp(const QString& reason);
    // Makes the calls; the first that throws gives the file up (false).
    bool Try(const std::function<void()>& calls);
    // Empties the spool file before the print; false (given up) when it cannot.
    bool EmptySpool();
    // Waits until the print job is complete; false when the attempt is over:
    // the run was stopped, or the application (named for the message) was
    // given up at the time limit.
    bool WaitForPrint(const QString& applicationName);
    // "<application> did not finish printing within 10 minutes and was ended."
    static QString NotPrintedInTime(const QString& applicationName);
    // The PDF step on the spool file while the application still holds the
    // document, its failure reported; false when the run was stopped meanwhile.
    bool MakePdf();

    // Ends an application that will not close or quit; a PDF already made stands.
    void EndProgram();
    // Lets the application go after it refused the document: the page can
    // no longer end it, and it quits when nothing holds it.
    void Release();

private:
    ConversionPage& m_page;
    const QString m_sourcePath;
    QString m_spoolPath;
    COleDispatchDriver m_application;
    std::optional<CurrentProgramEnder> m_ender;
};
