#include "platform/CPrintDialog.h"

#include "platform/PostScriptPrinter.h"

#include <QMutex>

namespace {

QMutex factoryMutex;
PrinterFactory& Factory()
{
    static PrinterFactory factory;
    return factory;
}

} // namespace

CPrintDialog::CPrintDialog(bool printSetupOnly, std::uint32_t flags, QObject*) : m_flags(flags)
{
    // The setup-only form is never asked for its defaults here; it is kept
    // for the shape of the call.
    Q_UNUSED(printSetupOnly);
}

bool CPrintDialog::GetDefaults()
{
    m_flags |= PD_RETURNDEFAULT | PD_RETURNDC;
    PrinterFactory factory;
    {
        QMutexLocker lock(&factoryMutex);
        factory = Factory();
    }
    m_printerDC = factory ? factory() : std::make_unique<PostScriptPrinter>(PaperSize::System());
    return m_printerDC != nullptr;
}

std::unique_ptr<DeviceContext> CPrintDialog::GetPrinterDC()
{
    return std::move(m_printerDC);
}

void CPrintDialog::SetDefaultPrinterFactory(PrinterFactory factory)
{
    QMutexLocker lock(&factoryMutex);
    Factory() = std::move(factory);
}
