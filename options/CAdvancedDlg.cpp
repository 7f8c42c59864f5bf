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

// The value of the current selection's text, as a selection query followed by
// that item's text; the page's first value when nothing is selected.
template <typename Value, std::size_t N>
Value Selected(const QComboBox* combo, const std::array<advancedchoices::Choice<Value>, N>& table)
{
    const int index = combo->currentIndex();
    return advancedchoices::FromText(table, index < 0 ? QString() : combo->itemText(index))
        .value_or(table.front().value);
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
    fill(m_documentCompression, Texts(kDocumentCompressions));
    fill(m_imagesCompression, Texts(kImageCompressions));
    fill(m_jpegQuality, Texts(kJpegQualities));
    fill(m_pdfVersion, Texts(kPdfVersions));
}

void CAdvancedDlg::ReadAdvancedSettings(ConversionSettings& settings) const
{
    RunInThreadOf(const_cast<CAdvancedDlg*>(this), [&] {
        using namespace advancedchoices;
        settings.pdfVersion = Selected(m_pdfVersion, kPdfVersions);
        settings.documentCompression = Selected(m_documentCompression, kDocumentCompressions);
        settings.imageCompression = Selected(m_imagesCompression, kImageCompressions);
        settings.jpegQuality = Selected(m_jpegQuality, kJpegQualities);
        settings.tagged = m_taggedPdf->isChecked();
        m_textRecognition->Read(settings);
    });
}
