#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

// The values the Advanced page offers, in the order its boxes list them (the
// first of each is the page's default), each with the text the page shows
// and the name the command line takes. Both front ends turn their texts into
// the typed values here, and only here.
namespace advancedchoices {

template <typename Value> struct Choice
{
    Value value;
    QStringView text; // as the page lists it
    QStringView name; // as the command line takes it
};

inline constexpr QStringView kPdfA2bText = u"PDF/A-2b";

inline constexpr std::array<Choice<PdfVersion>, 6> kPdfVersions{{
    {PdfVersion::V1_3, u"V1.3(Acrobat 4.xx)", u"1.3"},
    {PdfVersion::V1_4, u"V1.4", u"1.4"},
    {PdfVersion::V1_5, u"V1.5", u"1.5"},
    {PdfVersion::V1_6, u"V1.6", u"1.6"},
    {PdfVersion::V1_7, u"V1.7", u"1.7"},
    {PdfVersion::PdfA2b, kPdfA2bText, u"pdf/a-2b"},
}};
inline constexpr std::array<Choice<DocumentCompression>, 2> kDocumentCompressions{{
    {DocumentCompression::Flate, u"Flate", u"flate"},
    {DocumentCompression::Lzw, u"LZW", u"lzw"},
}};
inline constexpr std::array<Choice<ImageCompression>, 3> kImageCompressions{{
    {ImageCompression::Flate, u"Flate", u"flate"},
    {ImageCompression::Jpeg, u"JPEG", u"jpeg"},
    {ImageCompression::Automatic, u"Automatic", u"automatic"},
}};
inline constexpr std::array<Choice<JpegQuality>, 5> kJpegQualities{{
    {JpegQuality::Minimum, u"Minimum", u"minimum"},
    {JpegQuality::Low, u"Low", u"low"},
    {JpegQuality::Medium, u"Medium", u"medium"},
    {JpegQuality::High, u"High", u"high"},
    {JpegQuality::Maximum, u"Maximum", u"maximum"},
}};

// The archival version's text, as the page lists it.
inline const QString kPdfA2bVersion = kPdfA2bText.toString();

// The page's texts, in its order.
template <typename Value, std::size_t N> QStringList Texts(const std::array<Choice<Value>, N>& table)
{
    QStringList texts;
    for (const Choice<Value>& choice : table)
        texts << choice.text.toString();
    return texts;
}

// The value a page's text stands for; none for a text the page does not list.
template <typename Value, std::size_t N>
std::optional<Value> FromText(const std::array<Choice<Value>, N>& table, const QString& text)
{
    for (const Choice<Value>& choice : table) {
        if (choice.text == text)
            return choice.value;
    }
    return std::nullopt;
}

// The value a command-line value names, by its name or the page's text,
// without case; none for anything else.
template <typename Value, std::size_t N>
std::optional<Value> FromName(const std::array<Choice<Value>, N>& table, const QString& given)
{
    for (const Choice<Value>& choice : table) {
        if (choice.name.compare(given, Qt::CaseInsensitive) == 0 ||
            choice.text.compare(given, Qt::CaseInsensitive) == 0)
            return choice.value;
    }
    return std::nullopt;
}

// The command line's names, and joined for a help or error text.
template <typename Value, std::size_t N> QStringList NameList(const std::array<Choice<Value>, N>& table)
{
    QStringList names;
    for (const Choice<Value>& choice : table)
        names << choice.name.toString();
    return names;
}
template <typename Value, std::size_t N>
QString Names(const std::array<Choice<Value>, N>& table, const QString& separator = QStringLiteral("|"))
{
    return NameList(table).join(separator);
}

// The page's text of a value.
template <typename Value, std::size_t N>
QString TextOf(const std::array<Choice<Value>, N>& table, Value value)
{
    for (const Choice<Value>& choice : table) {
        if (choice.value == value)
            return choice.text.toString();
    }
    return {};
}

} // namespace advancedchoices
