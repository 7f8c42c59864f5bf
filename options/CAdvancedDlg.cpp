#include "options/CAdvancedDlg.h"

#include "app/DialogTemplates.h"
#include "platform/GuiThreadCall.h"
#include "platform/widgets/AddString.h"

#include <QCheckBox>
#include <QComboBox>

#include <initializer_list>

namespace {

// The current selection's text, as a selection query followed by that item's
// text: empty when nothing is selected.
QString SelectedText(const QComboBox* combo)
{
    const int index = combo->currentIndex();
    return index < 0 ? QString() : combo->itemText(index);
}

} // namespace

CAdvancedDlg::CAdvancedDlg(QWidget* parent)
    : COptionPage(dialogtemplates::kAdvancedTemplate, parent),
      m_pageLayout(DlgItem<QComboBox>(this, IDC_PAGE_LAYOUT)),
      m_pageMode(DlgItem<QComboBox>(this, IDC_PAGE_MODE)),
      m_documentCompression(DlgItem<QComboBox>(this, IDC_DOCUMENT_COMPRESSION)),
      m_imagesCompression(DlgItem<QComboBox>(this, IDC_IMAGES_COMPRESSION)),
      m_jpegQuality(DlgItem<QComboBox>(this, IDC_JPEG_QUALITY)),
      m_pdfVersion(DlgItem<QComboBox>(this, IDC_PDF_VERSION)),
      m_alternateEmf(DlgItem<QCheckBox>(this, IDC_ALTERNATE_EMF))
{
    OnInitDialog();
}

void CAdvancedDlg::OnInitDialog()
{
    const auto fill = [](QComboBox* combo, std::initializer_list<const char*> items) {
        for (const char* item : items)
            AddString(combo, QString::fromLatin1(item));
        combo->setCurrentIndex(0);
    };
    fill(m_pageLayout, {"Continuous"});
    fill(m_pageMode, {"Normal"});
    fill(m_documentCompression, {"Flate", "LZW"});
    fill(m_imagesCompression, {"Flate", "JPEG", "Automatic"});
    fill(m_jpegQuality, {"Minimum", "Low", "Medium", "High", "Maximum"});
    fill(m_pdfVersion, {"V1.3(Acrobat 4.xx)", "V1.4", "V1.5", "V1.6", "V1.7", "PDF/A-2b"});
}

void CAdvancedDlg::ReadAdvancedSettings(ConversionSettings& settings) const
{
    RunInThreadOf(const_cast<CAdvancedDlg*>(this), [&] {
        settings.pdfVersion = SelectedText(m_pdfVersion);
        settings.documentCompression = SelectedText(m_documentCompression);
        settings.imageCompression = SelectedText(m_imagesCompression);
        settings.jpegQuality = SelectedText(m_jpegQuality);
    });
}
