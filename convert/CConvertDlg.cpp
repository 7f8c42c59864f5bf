#include "convert/CConvertDlg.h"

#include "app/DialogTemplates.h"
#include "convert/CBmpProgCtrl.h"
#include "convert/CEnableEdit.h"
#include "convert/CListBoxEx.h"
#include "convert/ConversionWorker.h"
#include "converters/CEnterPassWordDlg.h"
#include "converters/FileKinds.h"
#include "options/CAdvancedDlg.h"
#include "options/CTabCtrlEx.h"
#include "pdf/EffectivePdfVersion.h"
#include "pdf/GhostscriptCommandLine.h"
#include "pdf/SettingsRefusal.h"
#include "platform/GuiThreadCall.h"
#include "platform/MessageBoxService.h"
#include "platform/WarmGhostscriptConnection.h"
#include "platform/WarmOfficeConnection.h"
#include "platform/WindowRegistry.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

const QString kBusy = QStringLiteral("Working now,Hold for a moment!");

// The Add File(s) filters: each shows its text as written, and the patterns
// it names are the ones it matches ("*.*" meaning every file, as it does on
// the desktop the texts were written for).
const QStringList& AddFilesFilters()
{
    static const QStringList filters = [] {
        const QString filterText = filekinds::FilterText();
        QStringList result;
        const QStringList parts = filterText.split(QLatin1Char('|'));
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            if (parts[i].isEmpty())
                break;
            QString patterns = parts[i + 1];
            patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
            if (patterns == QLatin1String("*.*"))
                patterns = QStringLiteral("*");
            // Qt reads the patterns from the last parentheses and, with
            // HideNameFilterDetails, shows the text before them.
            result << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
        return result;
    }();
    return filters;
}

QString WithSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// Only sizes change; a window of fixed size keeps being fixed, at the new size.
void SetSize(QWidget* widget, const QSize& size)
{
    if (!widget || !size.isValid())
        return;
    if (widget->minimumSize() == widget->maximumSize())
        widget->setFixedSize(size);
    else
        widget->resize(size);
}

} // namespace

CConvertDlg::CConvertDlg(ConverterSet converters, QWidget* parent)
    : QWidget(parent), m_finishDlg(this), m_converters(std::move(converters))
{
    setVisible(false);
    DialogBuilder::Build(dialogtemplates::kConvertTemplate, this,
                         [](const DialogItem& item, QWidget* page) -> QWidget* {
                             switch (item.id) {
                             case IDC_FILE_LIST:
                                 return new CListBoxEx(page);
                             case IDC_PROGRESS:
                                 return new CBmpProgCtrl(page);
                             case IDC_OPTIONS_TAB:
                                 return new CTabCtrlEx(page);
                             case IDC_STATUS:
                                 return new CEnableEdit(page);
                             default:
                                 return nullptr;
                             }
                         });
    m_progress = DlgItem<CBmpProgCtrl>(this, IDC_PROGRESS);
    m_fileList = DlgItem<CListBoxEx>(this, IDC_FILE_LIST);
    m_tab = DlgItem<CTabCtrlEx>(this, IDC_OPTIONS_TAB);
    m_status = DlgItem<CEnableEdit>(this, IDC_STATUS);

    connect(Button(IDC_ADD_FILES), &QAbstractButton::clicked, this, &CConvertDlg::OnAddFiles);
    connect(Button(IDC_REMOVE), &QAbstractButton::clicked, this, &CConvertDlg::OnRemove);
    connect(Button(IDC_REMOVE_ALL), &QAbstractButton::clicked, this, &CConvertDlg::OnRemoveAll);
    connect(Button(IDC_BROWSE), &QAbstractButton::clicked, this, &CConvertDlg::OnBrowse);
    connect(Button(IDC_CONVERT), &QAbstractButton::clicked, this, &CConvertDlg::OnConvert);
    connect(Button(IDC_SHOW_ADVANCED), &QAbstractButton::clicked, this, &CConvertDlg::OnShowAdvanced);
    connect(m_fileList, &QListWidget::itemSelectionChanged, this, &CConvertDlg::OnListSelChange);
    connect(m_fileList, &CListBoxEx::WM_FILES_DROPPED, this, &CConvertDlg::OnFilesDropped);

    OnInitDialog();
}

CConvertDlg::~CConvertDlg()
{
    // Nobody waits any more: the worker is stopped and its end awaited here,
    // with the event loop running so that its last calls are carried out.
    disconnect(this, &CConvertDlg::workerFinished, nullptr, nullptr);
    m_startWhenEnded = false;
    if (m_worker.joinable()) {
        StopRun();
        QEventLoop loop;
        connect(this, &CConvertDlg::workerFinished, &loop, &QEventLoop::quit);
        if (m_worker.joinable())
            loop.exec();
    }
}

void CConvertDlg::OnInitDialog()
{
    // The page and its buttons' surroundings are white; edits and the
    // buttons' faces keep their own colours.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_boldFont = GetDlgItem(this, IDC_HEADING)->font();
    m_boldFont.setWeight(QFont::Bold);
    GetDlgItem(this, IDC_HEADING)->setFont(m_boldFont);
    GetDlgItem(this, IDC_STATUS_LABEL)->setFont(m_boldFont);

    m_optionTabs.SetUp(m_tab, GetDlgItem(this, IDC_OPTIONS_GROUP));
    // Every left-button press on the page reaches the tab switching.
    m_optionTabs.InstallClickFilter(this);

    // The status line never takes the caret: no press, no Tab reaches it.
    m_status->setFocusPolicy(Qt::NoFocus);
    m_status->installEventFilter(this);
    SetStatus(QStringLiteral("Not started."));

    Button(IDC_REMOVE)->setEnabled(false);
    Button(IDC_REMOVE_ALL)->setEnabled(false);
    Button(IDC_CONVERT)->setEnabled(false);

    m_fileList->m_extensions = filekinds::Extensions();
    m_fileList->m_hNotifyWnd = this;
}

QAbstractButton* CConvertDlg::Button(int id) const
{
    return DlgItem<QAbstractButton>(this, id);
}

QLineEdit* CConvertDlg::FolderEdit() const
{
    return DlgItem<QLineEdit>(this, IDC_OUTPUT_FOLDER);
}

void CConvertDlg::UpdateData()
{
    m_outputFolder = FolderEdit()->text();
}

void CConvertDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
}

void CConvertDlg::ClearProgress()
{
    m_progress->m_bDrawn = 0;
    m_progress->update();
}

void CConvertDlg::SetConvertButton(const QString& text, bool enabled)
{
    Button(IDC_CONVERT)->setText(text);
    Button(IDC_CONVERT)->setEnabled(enabled);
}

bool CConvertDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_status &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        return true;
    return QWidget::eventFilter(watched, event);
}

void CConvertDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CConvertDlg::OnFilesDropped()
{
    // A notice that arrives once a run has begun changes nothing of the run.
    if (m_converting != 0)
        return;
    if (QListWidgetItem* first = m_fileList->item(0)) {
        const QString path = first->text();
        FolderEdit()->setText(path.left(path.lastIndexOf(QLatin1Char('/')) + 1));
    }
    SetStatus(QStringLiteral("Ready"));
    Button(IDC_REMOVE_ALL)->setEnabled(true);
    Button(IDC_CONVERT)->setEnabled(true);
}

void CConvertDlg::OnAddFiles()
{
    if (m_converting != 0) {
        AfxMessageBox(kBusy, MB_OK);
        return;
    }
    QFileDialog dialog(m_hMainWnd ? m_hMainWnd : window());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(AddFilesFilters());
    if (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen = dialog.selectedFiles();
        // Adding files makes their folder the output folder.
        if (!chosen.isEmpty())
            FolderEdit()->setText(WithSeparator(QFileInfo(chosen.first()).absolutePath()));
        for (const QString& path : chosen) {
            if (!m_fileList->m_extensions.contains(filekinds::ExtensionOf(path)))
                continue;
            if (m_fileList->Contains(path))
                MessageBox(this, QStringLiteral("Convert File existing."), QStringLiteral("Warning"),
                           MB_ICONINFORMATION);
            else
                m_fileList->AddString(path);
        }
        Button(IDC_REMOVE_ALL)->setEnabled(true);
        Button(IDC_CONVERT)->setEnabled(true);
    }
    ClearProgress();
    SetStatus(QStringLiteral("Ready"));
}

void CConvertDlg::OnRemove()
{
    if (m_converting != 0) {
        AfxMessageBox(kBusy, MB_OK);
        return;
    }
    for (int i = 0; i < m_fileList->count();) {
        if (m_fileList->item(i)->isSelected())
            delete m_fileList->takeItem(i);
        else
            ++i;
    }
    if (m_fileList->count() == 0) {
        Button(IDC_REMOVE_ALL)->setEnabled(false);
        Button(IDC_CONVERT)->setEnabled(false);
    }
    Button(IDC_REMOVE)->setEnabled(false);
}

void CConvertDlg::OnRemoveAll()
{
    if (m_converting != 0) {
        AfxMessageBox(kBusy, MB_OK);
        return;
    }
    m_fileList->clear();
    Button(IDC_REMOVE_ALL)->setEnabled(false);
    Button(IDC_REMOVE)->setEnabled(false);
    Button(IDC_CONVERT)->setEnabled(false);
}

void CConvertDlg::OnListSelChange()
{
    if (m_converting == 0 && !m_fileList->selectedItems().isEmpty())
        Button(IDC_REMOVE)->setEnabled(true);
}

void CConvertDlg::OnBrowse()
{
    if (m_converting != 0) {
        AfxMessageBox(kBusy, MB_OK);
        return;
    }
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A pick that is no folder of this machine empties the field.
    QString path = dialog.selectedFiles().value(0);
    if (!path.isEmpty() && QFileInfo(path).isDir())
        path = WithSeparator(path);
    FolderEdit()->setText(path);
}

void CConvertDlg::OnConvert()
{
    UpdateData();
    if (m_converting != 0) {
        if (m_asking)
            return;
        Button(IDC_CONVERT)->setText(QStringLiteral("Convert"));
        if (AskToStop(this, QStringLiteral("Are you sure you want to stop the conversion? ")) != IDYES &&
            m_converting != 0)
            Button(IDC_CONVERT)->setText(QStringLiteral("Stop"));
        return;
    }

    if (m_fileList->count() == 0) {
        AfxMessageBox(QStringLiteral("No Word or Excel File"));
        return;
    }
    if (!QFileInfo(m_outputFolder).isDir()) {
        AfxMessageBox(QStringLiteral("Wrong Path cause wrong, Input a valid file path!"));
        return;
    }
    // Settings that cannot give the PDF they ask for are refused before
    // anything runs, never found out file by file.
    ConversionSettings settings;
    m_optionTabs.UpdateData(settings);
    m_optionTabs.m_advancedPage->ReadAdvancedSettings(settings);
    if (const QString refusal = SettingsRefusal(settings); !refusal.isEmpty()) {
        MessageBox(this, refusal, QStringLiteral("Foliant 3.0"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_nextCombinedPath.clear();
    if (DlgItem<QAbstractButton>(this, IDC_COMBINE_FILES)->isChecked()) {
        m_nextCombinedPath = AskCombinedPdfPath();
        if (m_nextCombinedPath.isEmpty())
            return;
    }
    // The last run's completion step comes first: its dialog would
    // otherwise open in the middle of this run and delete its spool file.
    if (Timer(2)->isActive()) {
        Timer(2)->stop();
        ShowCompletion();
    }
    // From here a second press is a Stop, never a second run.
    m_converting = 1;
    m_dotCount = 0;
    SetStatus(QStringLiteral("Start to convert"));
    Button(IDC_CONVERT)->setText(QStringLiteral("Stop"));
    m_fileList->m_busy = 1;
    Timer(1)->start(500);

    m_nextSettings = settings;
    m_nextFolder = m_outputFolder;
    m_finishDlg.m_folder =
        m_nextCombinedPath.isEmpty() ? FolderEdit()->text() : QFileInfo(m_nextCombinedPath).absolutePath();
    // Names of an earlier, stopped run never appear under this run's folder.
    m_finishDlg.m_files.clear();
    EnableInputs(false);

    // A stopped run's worker may still be ending: this run starts after it.
    if (m_worker.joinable())
        m_startWhenEnded = true;
    else
        StartWorker();
}

QString CConvertDlg::AskCombinedPdfPath()
{
    // Proposed: the folder's name, as the PDF holds what was collected there.
    const QFileInfo folder(m_outputFolder);
    QString name = QDir(folder.absoluteFilePath()).dirName();
    if (name.isEmpty() || name == QLatin1String("."))
        name = QStringLiteral("Combined");
    QFileDialog dialog(this, QStringLiteral("Combine into one PDF"), folder.absoluteFilePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF Files (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(name + QStringLiteral(".pdf"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

int CConvertDlg::AskToStop(QWidget* owner, const QString& question)
{
    if (m_asking || m_converting == 0)
        return IDNO;
    // The worker holds at its next step while the user decides.
    m_asking = true;
    m_stopGate.Hold();
    const int answer =
        MessageBox(owner, question, QStringLiteral("Foliant 3.0"), MB_YESNO | MB_ICONINFORMATION);
    m_asking = false;
    if (m_converting == 0)
        return answer; // stopped meanwhile, by the window closing
    if (answer == IDYES) {
        StopRun();
        return answer;
    }
    m_stopGate.Release();
    if (m_endWhileAsking) {
        m_endWhileAsking = false;
        FinishRun();
    }
    return answer;
}

void CConvertDlg::StartWorker()
{
    m_runSettings = m_nextSettings;
    m_runFolder = m_nextFolder;
    m_runCombinedPath = m_nextCombinedPath;
    m_endWhileAsking = false;
    m_workerEnding = false;
    m_stopGate.Reset();
    if (m_asking)
        m_stopGate.Hold();
    m_worker = std::thread([this] {
        ConversionWorker(*this).Run();
        // A run leaves nothing running: the warm office and warm
        // Ghostscripts it started end with it, and are waited for, before
        // the run is over.
        WarmOfficeConnection::Instance().End();
        WarmGhostscriptConnection::Instance().End();
        PostToThreadOf(this, [this] { OnWorkerEnded(); });
    });
}

void CConvertDlg::OnWorkerEnded()
{
    if (m_worker.joinable())
        m_worker.join();
    // The office's question boxes are not looked for after the run.
    Timer(3)->stop();
    QPointer<CConvertDlg> self(this);
    emit workerFinished();
    if (self && m_startWhenEnded) {
        m_startWhenEnded = false;
        StartWorker();
    }
}

void CConvertDlg::FinishRun()
{
    if (!RunIsLive())
        return;
    if (m_asking) {
        // The stop question decides: Yes abandons the run, No ends it here.
        m_endWhileAsking = true;
        return;
    }
    m_fileList->clear();
    Timer(1)->stop();
    m_progress->m_nPos = 100;
    m_progress->m_nRange = 100;
    m_progress->m_bDrawn = 1;
    m_progress->update();
    m_converting = 0;
    m_fileList->m_busy = 0;
    SetStatus(m_finishDlg.m_files.isEmpty() ? QStringLiteral("Stoped") : QStringLiteral("Complete!"));
    EnableInputs(true);
    SetConvertButton(QStringLiteral("Convert"), false);
    Timer(2)->start(1000);
}

void CConvertDlg::StopRun()
{
    m_startWhenEnded = false;
    m_endWhileAsking = false;
    m_stopGate.Stop();
    {
        std::lock_guard lock(m_enderMutex);
        if (m_programEnder)
            m_programEnder();
    }
    if (m_converting != 0)
        AbandonRun();
}

void CConvertDlg::AbandonRun()
{
    m_fileList->clear();
    Timer(1)->stop();
    m_converting = 0;
    m_fileList->m_busy = 0;
    SetStatus(QStringLiteral("Stoped"));
    EnableInputs(true);
    ClearProgress();
    SetConvertButton(QStringLiteral("Convert"), false);
}

void CConvertDlg::EnableInputs(bool enable)
{
    if (!enable) {
        Button(IDC_REMOVE)->setEnabled(false);
        Button(IDC_REMOVE_ALL)->setEnabled(false);
    }
    m_optionTabs.EnablePages(enable);
    Button(IDC_ADD_FILES)->setEnabled(enable);
    Button(IDC_BROWSE)->setEnabled(enable);
    FolderEdit()->setEnabled(enable);
    Button(IDC_COMBINE_FILES)->setEnabled(enable);
}

void CConvertDlg::OnShowAdvanced()
{
    const int separatorTop = GetDlgItem(this, IDC_SEPARATOR)->geometry().top();
    if (m_pageSize.isEmpty()) {
        m_pageSize = size();
        m_mainSize = m_hMainWnd ? m_hMainWnd->size() : QSize();
        m_collapsedPageSize = QSize(m_pageSize.width(), separatorTop);
    }
    if (Button(IDC_SHOW_ADVANCED)->isChecked()) {
        SetSize(m_hMainWnd, m_mainSize);
        SetSize(this, m_pageSize);
    } else {
        SetSize(this, m_collapsedPageSize);
        SetSize(m_hMainWnd,
                QSize(m_mainSize.width(), m_mainSize.height() - (m_pageSize.height() - separatorTop)));
    }
}

QTimer* CConvertDlg::Timer(int id)
{
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    return timer;
}

void CConvertDlg::OnTimer(int id)
{
    switch (id) {
    case 1:
        if (++m_dotCount == 7) {
            SetStatus(QStringLiteral("Start to convert"));
            m_dotCount = 0;
        } else {
            SetStatus(m_status->text() + QLatin1Char('.'));
        }
        break;
    case 2:
        Timer(2)->stop();
        ShowCompletion();
        break;
    case 3:
        // The office host answers its own question boxes; all the registry
        // allows here is to see whether one is up.
        WindowRegistry::Instance().FindWindowW(QString(), QStringLiteral("Microsoft Office Word"));
        break;
    default:
        break;
    }
}

void CConvertDlg::ShowCompletion()
{
    if (!m_finishDlg.m_files.isEmpty()) {
        m_finishDlg.DoModal();
        QFile::remove(m_scratch.SpoolFilePath());
    }
    ClearProgress();
}

QString CConvertDlg::OutputFolder() const
{
    return m_runFolder;
}

PdfOutcome CConvertDlg::MakePdfFromSpool(const QString& sourcePath)
{
    // A step of the run like any other: it waits while the page asks, and
    // a stopped run starts no Ghostscript.
    if (m_stopGate.Wait()) {
        PdfOutcome outcome;
        outcome.stopped = true;
        outcome.pdfPath = PdfOutputPath(m_runFolder, sourcePath);
        outcome.reason = QStringLiteral("Stopped.");
        return outcome;
    }
    GhostscriptOptions options;
    options.stopRequested = [this] { return m_stopGate.IsStopped(); };
    options.advancedSettings = m_optionTabs.m_advancedPage;
    options.picture = filekinds::KindOf(sourcePath) == FileKind::Picture;
    QString why;
    options.scratchFolder = m_scratch.Path(&why);
    if (options.scratchFolder.isEmpty()) {
        PdfOutcome outcome;
        outcome.failure = PdfOutcome::Failure::ScratchFiles;
        outcome.pdfPath = PdfOutputPath(m_runFolder, sourcePath);
        outcome.reason = why;
        return outcome;
    }
    if (!m_runCombinedPath.isEmpty())
        options.partPath = m_partPath;
    return ::MakePdfFromSpool(m_runSettings, sourcePath, m_runFolder, options);
}

QString CConvertDlg::PdfCompatibilityLevel()
{
    return EffectiveCompatibilityLevel(RunSettingsNow());
}

ConversionSettings CConvertDlg::RunSettingsNow() const
{
    ConversionSettings settings = m_runSettings;
    m_optionTabs.m_advancedPage->ReadAdvancedSettings(settings);
    return settings;
}

void CConvertDlg::SetTimer(int id, int milliseconds)
{
    RunInThreadOf(this, [=, this] { Timer(id)->start(milliseconds); });
}

void CConvertDlg::KillTimer(int id)
{
    RunInThreadOf(this, [=, this] { Timer(id)->stop(); });
}

bool CConvertDlg::EnterPassword(const QString& fileName, QString* password)
{
    // A stopped run asks the user nothing more.
    if (m_stopGate.Wait())
        return false;
    return PromptForPassword(this, fileName, password);
}

void CConvertDlg::SetCurrentProgramEnder(std::function<void()> ender)
{
    std::lock_guard lock(m_enderMutex);
    m_programEnder = std::move(ender);
}
