#pragma once

#include "pdf/AdvancedChoices.h"
#include "pdf/ConversionSettings.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The Security page's encryption levels and rights with the names the
// command line takes; the page itself reads its buttons by position.
namespace securitychoices {

inline constexpr std::array<advancedchoices::Choice<EncryptionMethod>, 4> kEncryptionMethods{{
    {EncryptionMethod::Rc4_40, u"Low(40-bit RC4)", u"rc4-40"},
    {EncryptionMethod::Rc4_128, u"High(128-bit RC4)", u"rc4-128"},
    {EncryptionMethod::Aes128, u"Strong(128-bit AES)", u"aes-128"},
    {EncryptionMethod::Aes256, u"Strongest(256-bit AES)", u"aes-256"},
}};

struct Right
{
    bool WithheldRights::*withheld;
    QStringView name;
};
inline constexpr std::array<Right, 4> kRights{{
    {&WithheldRights::printing, u"print"},
    {&WithheldRights::changing, u"modify"},
    {&WithheldRights::copying, u"copy"},
    {&WithheldRights::forms, u"annotate"},
}};

// The method of the page's button at index (0 for the first); none when no
// button is chosen.
inline std::optional<EncryptionMethod> EncryptionAt(int index)
{
    if (index < 0 || index >= static_cast<int>(kEncryptionMethods.size()))
        return std::nullopt;
    return kEncryptionMethods[static_cast<std::size_t>(index)].value;
}

// Withholds the right a command-line name stands for, without case; false
// for a name of no right.
inline bool Withhold(WithheldRights& rights, const QString& name)
{
    for (const Right& right : kRights) {
        if (right.name.compare(name, Qt::CaseInsensitive) == 0) {
            rights.*right.withheld = true;
            return true;
        }
    }
    return false;
}

} // namespace securitychoices
