#pragma once

#include "options/COptionPage.h"
#include "pdf/AdvancedSettingsReader.h"

class QCheckBox;
class QComboBox;
class TextRecognitionChoice;

// The Advanced page (template 134). It keeps no values of its own: the PDF
// step reads the selected texts of four combos, and whether "Tagged PDF" is
// ticked, whenever it needs them.
// Page Layout, Page Mode and "Alternate EMF Rendering" can be operated but
// feed nothing.
class CAdvancedDlg : public COptionPage, public AdvancedSettingsReader
{
    Q_OBJECT
public:
    explicit CAdvancedDlg(QWidget* parent = nullptr);

    // From any thread: a worker's read is carried out on the page's thread
    // while the worker waits.
    void ReadAdvancedSettings(ConversionSettings& settings) const override;

    QComboBox* m_pageLayout;
    QComboBox* m_pageMode;
    QComboBox* m_documentCompression;
    QComboBox* m_imagesCompression;
    QComboBox* m_jpegQuality;
    QComboBox* m_pdfVersion;
    QCheckBox* m_alternateEmf;
    QCheckBox* m_taggedPdf;
    // "Recognize text in pictures (OCR)" and its languages.
    TextRecognitionChoice* m_textRecognition;

private:
    void OnInitDialog();
};
