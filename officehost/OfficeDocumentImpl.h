#pragma once

#include "officehost/OfficeDocument.h"

#include <com/sun/star/lang/XComponent.hpp>

// The UNO side of an OfficeDocument.
struct OfficeDocument::Impl
{
    css::uno::Reference<css::lang::XComponent> component;
};
