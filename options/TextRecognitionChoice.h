#pragma once

#include "pdf/ConversionSettings.h"

#include <QObject>
#include <QStringList>

class QCheckBox;
class QComboBox;

// The Advanced page's "Recognize text in pictures (OCR)" and the list of the
// recognition languages installed beside it: unticked at first; in the list,
// each language can be ticked, English at first where installed, and the
// list shows the ticked ones joined by "+" ("eng+deu"). At least one stays
// ticked. The list is open only while the box is ticked; with no language
// installed, neither can be used and the box says why.
class TextRecognitionChoice : public QObject
{
    Q_OBJECT
public:
    TextRecognitionChoice(QCheckBox* box, QComboBox* languages, const QStringList& installed);

    // The choice as it stands; on the GUI thread.
    void Read(ConversionSettings& settings) const;

    // The ticked languages joined by "+".
    QString Languages() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Toggle(int row);
    void ShowLanguages();

    QCheckBox* m_box;
    QComboBox* m_languages;
    const bool m_installed; // a language at least
    bool m_pressedInList = false;
};
