#pragma once

#include <QString>

// The system's paper size, by the convention Debian's paper library keeps:
// the PAPERSIZE variable, else the file PAPERCONF names, else /etc/papersize;
// A4 when none of them names a size this program knows.
class PaperSize
{
public:
    // Sizes are in PostScript points (1/72 inch), as the paper library gives them.
    static PaperSize A4();
    // The size a paper name stands for ("a4", "Letter", ...); A4 for an unknown name.
    static PaperSize FromName(const QString& name, bool* known = nullptr);
    // The system's size, reading the given configuration file when no variable names one.
    static PaperSize System(const QString& configurationFile = QStringLiteral("/etc/papersize"));

    const QString& Name() const { return m_name; }
    double WidthPoints() const { return m_widthPoints; }
    double HeightPoints() const { return m_heightPoints; }

private:
    PaperSize(QString name, double widthPoints, double heightPoints);

    QString m_name;
    double m_widthPoints;
    double m_heightPoints;
};
