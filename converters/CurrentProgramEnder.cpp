#include "converters/CurrentProgramEnder.h"

#include "converters/ConversionPage.h"
#include "platform/COleDispatchDriver.h"

CurrentProgramEnder::CurrentProgramEnder(ConversionPage& page, const COleDispatchDriver& application)
    : m_page(page), m_ender(application.m_lpDispatch ? application.m_lpDispatch->ServerEnder() : nullptr)
{
    m_page.SetCurrentProgramEnder(m_ender);
    m_set = true;
}

CurrentProgramEnder::~CurrentProgramEnder()
{
    Clear();
}

void CurrentProgramEnder::Clear()
{
    if (m_set)
        m_page.SetCurrentProgramEnder({});
    m_set = false;
}

void CurrentProgramEnder::EndProgram()
{
    if (m_ender)
        m_ender();
}
