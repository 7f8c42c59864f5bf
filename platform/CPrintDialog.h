#pragma once

#include "platform/DeviceContext.h"

#include <cstdint>
#include <functional>
#include <memory>

class QObject;

// Flags of the common print dialog, with the values of the Windows headers.
inline constexpr std::uint32_t PD_ALLPAGES = 0x00000000;
inline constexpr std::uint32_t PD_NOSELECTION = 0x00000004;
inline constexpr std::uint32_t PD_NOPAGENUMS = 0x00000008;
inline constexpr std::uint32_t PD_RETURNDC = 0x00000100;
inline constexpr std::uint32_t PD_RETURNDEFAULT = 0x00000400;
inline constexpr std::uint32_t PD_USEDEVMODECOPIES = 0x00040000;
inline constexpr std::uint32_t PD_HIDEPRINTTOFILE = 0x00100000;

using PrinterFactory = std::function<std::unique_ptr<DeviceContext>()>;

// The print dialog (MFC's CPrintDialog), reduced to the part the program
// uses: the defaults query, which shows nothing and gives the default
// printer's device context. The default printer is the product's PostScript
// printer on the system's paper; tests put a fake in its place.
class CPrintDialog
{
public:
    explicit CPrintDialog(bool printSetupOnly, std::uint32_t flags = PD_ALLPAGES, QObject* parent = nullptr);

    // PrintDlg with PD_RETURNDEFAULT | PD_RETURNDC: false when there is no printer.
    bool GetDefaults();
    // The device context GetDefaults made; the caller owns it. Null when none.
    std::unique_ptr<DeviceContext> GetPrinterDC();

    std::uint32_t Flags() const { return m_flags; }

    // Replaces the default printer (a factory returning null: no printer);
    // an empty factory restores the product's printer.
    static void SetDefaultPrinterFactory(PrinterFactory factory);

private:
    std::uint32_t m_flags;
    std::unique_ptr<DeviceContext> m_printerDC;
};
