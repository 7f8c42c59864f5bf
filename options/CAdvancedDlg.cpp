#include "options/CAdvancedDlg.h"

#include "app/DialogTemplates.h"
#include "options/TextRecognitionChoice.h"
#include "pdf/AdvancedChoices.h"
#include "pdf/RecognitionLanguages.h"
#include "platform/GuiThreadCall.h"
#include "platform/widgets/AddString.h"

#include <QCheckBox>
#include <QComboBox>

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
      m_alternateEmf(DlgItem<QCheckBox>(this, IDC_ALTERNATE_EMF)),
      m_taggedPdf(DlgItem<QCheckBox>(this, IDC_TAGGED_PDF)),
      m_textRecognition(new TextRecognitionChoice(DlgItem<QCheckBox>(this, IDC_RECOGNIZE_TEXT),
                                                  DlgItem<QComboBox>(this, IDC_OCR_LANGUAGES),
                                                  recognitionlanguages::Installed()))
{
    OnInitDialog();
}

void CAdvancedDlg::OnInitDialog()
{
    const auto fill = [](QComboBox* combo, const QStringList& items) {
        for (const QString& item : items)
            AddString(combo, item);
        combo->setCurrentIndex(0);
    };
    using namespace advancedchoices;
    fill(m_pageLayout, {QStringLiteral("Continuous")});
    fill(m_pageMode, {QStringLiteral("Normal")});
    fill(m_documentCompression, kDocumentCompressions);
    fill(m_imagesCompression, kImageCompressions);
    fill(m_jpegQuality, kJpegQualities);
    fill(m_pdfVersion, kPdfVersions);
}

void CAdvancedDlg::ReadAdvancedSettings(ConversionSettings& settings) const
{
    RunInThreadOf(const_cast<CAdvancedDlg*>(this), [&] {
        settings.pdfVersion = SelectedText(m_pdfVersion);
        settings.documentCompression = SelectedText(m_documentCompression);
        settings.imageCompression = SelectedText(m_imagesCompression);
        settings.jpegQuality = SelectedText(m_jpegQuality);
        settings.tagged = m_taggedPdf->isChecked();
        m_textRecognition->Read(settings);
    });
}
