#include "options/TextRecognitionChoice.h"

#include "pdf/RecognitionLanguages.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QStandardItemModel>

namespace {

// "German (deu)" for Tesseract's "deu"; the code alone where the name is not known.
QString ShownName(const QString& code)
{
    const QLocale::Language language =
        QLocale::codeToLanguage(code.section(u'_', 0, 0), QLocale::ISO639Part2);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return code;
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(language), code);
}

} // namespace

TextRecognitionChoice::TextRecognitionChoice(QCheckBox* box, QComboBox* languages,
                                             const QStringList& installed)
    : QObject(box), m_box(box), m_languages(languages), m_installed(!installed.isEmpty())
{
    auto* model = new QStandardItemModel(m_languages);
    // English (or the first-shown language) heads the list.
    const QString first = recognitionlanguages::Default(installed);
    QStringList listed = installed;
    listed.removeAll(first);
    if (!first.isEmpty())
        listed.prepend(first);
    for (const QString& code : listed) {
        auto* item = new QStandardItem(ShownName(code));
        item->setData(code, Qt::UserRole);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(code == first ? Qt::Checked : Qt::Unchecked);
        model->appendRow(item);
    }
    m_languages->setModel(model);
    // The closed list shows the ticked languages, in the text's own colour
    // (greyed with the list).
    QPalette palette = m_languages->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::PlaceholderText, palette.color(group, QPalette::Text));
    m_languages->setPalette(palette);
    ShowLanguages();
    m_languages->view()->viewport()->installEventFilter(this);
    m_languages->view()->installEventFilter(this);

    m_box->setChecked(false);
    m_languages->setEnabled(false);
    if (installed.isEmpty()) {
        m_box->setEnabled(false);
        m_box->setToolTip(tr("Tesseract, which recognizes the text, is not installed with any language."));
    }
    connect(m_box, &QCheckBox::toggled, m_languages, &QWidget::setEnabled);
}

void TextRecognitionChoice::Read(ConversionSettings& settings) const
{
    // Read during a run too, while the page is disabled.
    settings.recognizeText = m_installed && m_box->isChecked();
    settings.recognitionLanguages = Languages();
}

QString TextRecognitionChoice::Languages() const
{
    QStringList ticked;
    const auto* model = static_cast<const QStandardItemModel*>(m_languages->model());
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->item(row)->checkState() == Qt::Checked)
            ticked << model->item(row)->data(Qt::UserRole).toString();
    return ticked.join(u'+');
}

void TextRecognitionChoice::Toggle(int row)
{
    auto* model = static_cast<QStandardItemModel*>(m_languages->model());
    QStandardItem* item = model->item(row);
    if (!item)
        return;
    const bool ticked = item->checkState() == Qt::Checked;
    // The last ticked language stays: recognition needs one.
    if (ticked && !Languages().contains(u'+'))
        return;
    item->setCheckState(ticked ? Qt::Unchecked : Qt::Checked);
    ShowLanguages();
}

void TextRecognitionChoice::ShowLanguages()
{
    // No item is current: the closed list shows the ticked ones instead.
    m_languages->setCurrentIndex(-1);
    m_languages->setPlaceholderText(Languages());
    m_languages->setToolTip(Languages());
}

bool TextRecognitionChoice::eventFilter(QObject* watched, QEvent* event)
{
    // A click or Space on a language ticks or unticks it and leaves the list
    // open for the next one.
    // The release of the click that opened the list ticks nothing.
    QAbstractItemView* view = m_languages->view();
    if (watched == view->viewport() && event->type() == QEvent::MouseButtonPress) {
        m_pressedInList = true;
        return true;
    }
    if (watched == view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QModelIndex index = view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (m_pressedInList && index.isValid())
            Toggle(index.row());
        m_pressedInList = false;
        return true;
    }
    if (watched == view && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        Toggle(view->currentIndex().row());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
