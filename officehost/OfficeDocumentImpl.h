#pragma once

#include "officehost/OfficeDocument.h"

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <optional>

// The UNO side of an OfficeDocument.
struct OfficeDocument::Impl
{
    css::uno::Reference<css::lang::XComponent> component;
    css::uno::Reference<css::uno::XComponentContext> context;
    // Whether its JPEGs go out as they are (found out at the first export).
    std::optional<bool> keepsJpegs;
};
