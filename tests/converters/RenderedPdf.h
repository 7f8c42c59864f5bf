#pragma once

#include <QString>

// The first page of a PDF rendered by poppler: how many of its pixels are
// not white, and the PDF's text. inkedPixels is -1 when it could not be
// rendered. userPassword opens an encrypted PDF.
struct Rendered
{
    int inkedPixels = -1;
    QString text;
};

Rendered Render(const QString& pdf, const QString& userPassword = {});
