#pragma once

#include <QString>
#include <QStringList>

// Other ways to the same PDFs, timed on the same files in the same run.
namespace comparisons {

struct Timed
{
    double seconds = 0; // wall time of the program(s)
    int made = 0;       // PDFs that appeared
};

// `soffice --headless --convert-to pdf`, in a profile of its own (made
// before the first timing, so no timing pays for it).
class Soffice
{
public:
    explicit Soffice(const QString& profileFolder);
    bool Available() const;
    // Makes the profile with one conversion of file, untimed.
    void WarmUp(const QString& file, const QString& outputFolder) const;
    // One process for the files given.
    Timed Convert(const QStringList& files, const QString& outputFolder) const;

private:
    QString m_profileUrl;
};

// `img2pdf picture -o picture.pdf`, one process per picture.
bool HaveImg2pdf();
Timed Img2pdf(const QString& picture, const QString& outputFolder);

} // namespace comparisons
