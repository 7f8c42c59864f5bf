#include "PageFixture.h"

#include "app/DialogTemplates.h"
#include "converters/FileKinds.h"
#include "options/CTabCtrlEx.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTabBar>

using namespace pagetest;

namespace {

const auto* const g_runtime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);

const QString kBusy = QStringLiteral("Working now,Hold for a moment!");

class ConvertDlgTest : public PageFixture
{
protected:
    struct State
    {
        QString convertText;
        bool convert, remove, removeAll, inputs;
        bool operator==(const State&) const = default;
    };
    State Current() const
    {
        const bool add = Button(IDC_ADD_FILES)->isEnabled();
        const bool inputs = add == Button(IDC_BROWSE)->isEnabled() && add == FolderEdit()->isEnabled() &&
                            add == page->m_optionTabs.m_securityPage->isEnabled() &&
                            add == page->m_optionTabs.m_descriptionPage->isEnabled() &&
                            add == page->m_optionTabs.m_advancedPage->isEnabled();
        EXPECT_TRUE(inputs) << "Add, Browse, the folder and the pages share one state";
        return {Button(IDC_CONVERT)->text(), Button(IDC_CONVERT)->isEnabled(),
                Button(IDC_REMOVE)->isEnabled(), Button(IDC_REMOVE_ALL)->isEnabled(), add};
    }
    static State Empty() { return {"Convert", false, false, false, true}; }
    static State Ready(bool remove) { return {"Convert", true, remove, true, true}; }
    static State Running() { return {"Stop", true, false, false, false}; }

    // Runs what the user does in the file dialog Add File(s) or Browse opens.
    void WithFileDialog(const std::function<void(QFileDialog*)>& user)
    {
        dialogSeen = false;
        auto* poll = new QTimer(page.get());
        QObject::connect(poll, &QTimer::timeout, [this, user, poll] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            poll->deleteLater();
            dialogSeen = true;
            user(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll->start(5);
    }
    // Picks files (names in dir) in the Add File(s) dialog.
    void AddFiles(const QStringList& names)
    {
        for (const QString& name : names) {
            if (!QFileInfo::exists(PathOf(name))) {
                ASSERT_TRUE(WriteFile(name, "x"));
            }
        }
        bool listed = false;
        WithFileDialog([&](QFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            // The first filter shows the files of every supported kind.
            QStringList shown;
            for (const QString& name : names)
                if (filekinds::KindOf(name))
                    shown << name;
            listed = testtools::WaitUntilListed(*dialog, shown);
            if (!listed)
                return;
            QStringList quoted;
            for (const QString& name : names)
                quoted << QLatin1Char('"') + name + QLatin1Char('"');
            // Typed into the name field, as a user does: selectFile leaves a
            // focused field alone once the folder is read.
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(field, nullptr);
            field->setText(quoted.join(QLatin1Char(' ')));
            static_cast<QDialog*>(dialog)->accept();
        });
        Click(IDC_ADD_FILES);
        ASSERT_TRUE(dialogSeen);
        ASSERT_TRUE(listed) << "the file dialog never listed " << qPrintable(names.join(' '));
    }

    bool dialogSeen = false;
};

TEST_F(ConvertDlgTest, StartsEmptyWithEveryControlAtItsTablePosition)
{
    CConvertDlg fresh(fakes.Set());
    EXPECT_FALSE(fresh.isVisible()) << "made hidden";
    EXPECT_TRUE(fresh.isHidden());

    const DialogUnits units(page->font(), page.get());
    EXPECT_EQ(page->size(), QSize(units.X(442), units.Y(415)));
    int checked = 0;
    for (const DialogItem& item : dialogtemplates::kConvertTemplate.items) {
        if (item.id == IDC_STATIC || item.id == IDC_OPTIONS_TAB)
            continue;
        QWidget* control = GetDlgItem(page.get(), item.id);
        ASSERT_NE(control, nullptr) << item.id;
        QRect expected = units.Map(item.x, item.y, item.w, item.h);
        if (item.kind == ControlKind::Frame)
            expected.setHeight(std::max(expected.height(), 2));
        EXPECT_EQ(control->geometry(), expected) << item.id;
        ++checked;
    }
    EXPECT_EQ(checked, 15);
    EXPECT_FALSE(DlgItem<QAbstractButton>(page.get(), IDC_COMBINE_FILES)->isChecked()) << "one PDF per file";
    EXPECT_NE(qobject_cast<CListBoxEx*>(GetDlgItem(page.get(), IDC_FILE_LIST)), nullptr);
    EXPECT_NE(qobject_cast<CBmpProgCtrl*>(GetDlgItem(page.get(), IDC_PROGRESS)), nullptr);
    EXPECT_NE(qobject_cast<CEnableEdit*>(GetDlgItem(page.get(), IDC_STATUS)), nullptr);
    // The tab control sits in group 1012, inset 10, 30, 10, 10.
    QWidget* group = GetDlgItem(page.get(), IDC_OPTIONS_GROUP);
    EXPECT_EQ(page->m_tab->parentWidget(), group);
    EXPECT_EQ(page->m_tab->geometry(), group->rect().adjusted(10, 30, -10, -10));
    EXPECT_EQ(page->m_tab->GetItemCount(), 3);
    EXPECT_TRUE(page->m_optionTabs.m_descriptionPage->isVisible());
    EXPECT_FALSE(page->m_optionTabs.m_securityPage->isVisible());

    EXPECT_EQ(Status(), "Not started.");
    EXPECT_EQ(Current(), Empty());
    EXPECT_TRUE(GetDlgItem(page.get(), IDC_HEADING)->font().bold());
    EXPECT_TRUE(GetDlgItem(page.get(), IDC_STATUS_LABEL)->font().bold());
    EXPECT_FALSE(GetDlgItem(page.get(), IDC_BROWSE)->font().bold());
    // The list accepts what the table of file kinds lists, nothing more.
    EXPECT_EQ(page->m_fileList->m_extensions, filekinds::Extensions());
    EXPECT_EQ(page->m_fileList->m_hNotifyWnd, page.get());

    // White under the page and its buttons.
    const QImage image = page->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    const QRect check = GetDlgItem(page.get(), IDC_SHOW_ADVANCED)->geometry();
    EXPECT_EQ(image.pixelColor(check.right() + 3, check.center().y()), QColor(Qt::white));
}

TEST_F(ConvertDlgTest, AddFilesTakesTheAcceptedFilesAndTheirFolder)
{
    ASSERT_NO_FATAL_FAILURE(AddFiles({"b.txt", "A.DOC", "notes.zip", "README"}));
    EXPECT_EQ(Entries(), (QStringList{PathOf("A.DOC"), PathOf("b.txt")})) << "sorted, capitals accepted";
    EXPECT_EQ(FolderEdit()->text(), Folder());
    EXPECT_EQ(Status(), "Ready");
    EXPECT_EQ(Current(), Ready(false));
    EXPECT_TRUE(boxes.Boxes().isEmpty()) << "unsupported files are skipped without a word";

    // One file: its folder, with the slash, too.
    FolderEdit()->clear();
    ASSERT_NO_FATAL_FAILURE(AddFiles({"c.xls"}));
    EXPECT_EQ(FolderEdit()->text(), Folder());
    EXPECT_EQ(Entries().size(), 3);
}

TEST_F(ConvertDlgTest, AddingAListedFileWarnsOncePerDuplicate)
{
    ASSERT_NO_FATAL_FAILURE(AddFiles({"a.docx", "r.doc"}));
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    // a.doc beside the listed a.docx is a file of its own.
    ASSERT_TRUE(WriteFile("R.DOC", "x"));
    ASSERT_NO_FATAL_FAILURE(AddFiles({"a.doc", "r.doc"}));
    EXPECT_EQ(Entries(), (QStringList{PathOf("a.doc"), PathOf("a.docx"), PathOf("r.doc")}));
    ASSERT_EQ(boxes.Boxes().size(), 1);
    const MessageBoxRequest box = boxes.Boxes()[0].request;
    EXPECT_EQ(box.text, "Convert File existing.");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.type, MB_ICONINFORMATION);
    EXPECT_EQ(box.owner, page.get());
}

TEST_F(ConvertDlgTest, TheFileDialogShowsTheSixFiltersAndEachMatchesItsPatternsInAnyCase)
{
    for (const char* name : {"a.doc", "b.xls", "c.png", "d.rtf", "e.zip", "plain", "f.PPTX", "g.TIFF",
                             "h.odt", "i.xlsx", "j.webp", "k.odp"})
        ASSERT_TRUE(WriteFile(name, "x"));
    const QString all =
        "All Supported Files(*.doc;*.docx;*.xls;*.ppt;*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.htm;*.tml;*.xml;*."
        "txt;*.rtf;*.html;*.dot;*.docm;*.dotx;*.dotm;*.odt;*.ott;*.fodt;*.xlsx;*.xlsm;*.xltx;*.xlsb;*.ods;*."
        "ots;*.fods;*.csv;*.pptx;*.pptm;*.ppsx;*.pps;*.potx;*.odp;*.otp;*.fodp;*.tif;*.tiff;*.webp)";
    const QString word =
        "Microsoft Word Files(*.doc;*.docx;*.htm;*.tml;*.xml;*.txt;*.rtf;*.html;*.dot;*.docm;*."
        "dotx;*.dotm;*.odt;*.ott;*.fodt)";
    const QString excel = "Microsoft Excel Files(*.xls;*.xlsx;*.xlsm;*.xltx;*.xlsb;*.ods;*.ots;*.fods;*.csv)";
    const QString powerPoint =
        "Microsoft PowerPoint Files(*.ppt;*.pptx;*.pptm;*.ppsx;*.pps;*.potx;*.odp;*.otp;*.fodp)";
    const QString pictures = "Picture Files(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp)";
    const QString any = "All Files(*.*)";
    const QMap<QString, QStringList> expected{
        {all, {"a.doc", "b.xls", "c.png", "d.rtf", "f.PPTX", "g.TIFF", "h.odt", "i.xlsx", "j.webp", "k.odp"}},
        {word, {"a.doc", "d.rtf", "h.odt"}},
        {excel, {"b.xls", "i.xlsx"}},
        {powerPoint, {"f.PPTX", "k.odp"}},
        {pictures, {"c.png", "g.TIFF", "j.webp"}},
        {any,
         {"a.doc", "b.xls", "c.png", "d.rtf", "e.zip", "f.PPTX", "g.TIFF", "h.odt", "i.xlsx", "j.webp",
          "k.odp", "plain"}}};
    QStringList shown;
    QMap<QString, QStringList> matched;
    WithFileDialog([&](QFileDialog* dialog) {
        dialog->setDirectory(dir.path());
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(combo, nullptr);
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        auto* view = dialog->findChild<QListView*>("listView");
        ASSERT_NE(view, nullptr);
        for (int i = 0; i < combo->count(); ++i) {
            dialog->selectNameFilter(dialog->nameFilters().value(i));
            const QString text = combo->currentText();
            QStringList names;
            // The view is filtered and the folder read in the background.
            WaitUntil(
                [&] {
                    names.clear();
                    const QModelIndex root = view->rootIndex();
                    for (int row = 0; row < view->model()->rowCount(root); ++row)
                        names << view->model()->index(row, 0, root).data().toString();
                    names.sort();
                    return names == expected.value(text);
                },
                5000);
            matched[text] = names;
        }
    });
    Click(IDC_ADD_FILES);
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(shown, (QStringList{all, word, excel, powerPoint, pictures, any}));
    for (const QString& text : shown)
        EXPECT_EQ(matched.value(text), expected.value(text)) << qPrintable(text);
}

TEST_F(ConvertDlgTest, CancellingAddFilesChangesNothingButTheStatusAndTheBar)
{
    ASSERT_NO_FATAL_FAILURE(AddFiles({"a.doc"}));
    FolderEdit()->setText("/typed/");
    Bar()->m_bDrawn = 1;
    page->m_status->setText("Complete!");
    WithFileDialog([](QFileDialog* dialog) { dialog->reject(); });
    Click(IDC_ADD_FILES);
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(Entries(), QStringList{PathOf("a.doc")});
    EXPECT_EQ(FolderEdit()->text(), "/typed/");
    EXPECT_EQ(Status(), "Ready");
    EXPECT_EQ(Bar()->m_bDrawn, 0);
}

TEST_F(ConvertDlgTest, RemoveDeletesTheSelectedEntriesAndRemoveAllEmptiesTheList)
{
    ASSERT_NO_FATAL_FAILURE(AddFiles({"a.doc", "b.doc", "c.doc", "d.doc"}));
    ASSERT_EQ(page->m_fileList->count(), 4);
    EXPECT_EQ(Current(), Ready(false));
    page->m_fileList->item(1)->setSelected(true);
    page->m_fileList->item(2)->setSelected(true);
    EXPECT_EQ(Current(), Ready(true)) << "a selection enables Remove";
    Click(IDC_REMOVE);
    EXPECT_EQ(Entries(), (QStringList{PathOf("a.doc"), PathOf("d.doc")}));
    EXPECT_EQ(Current(), Ready(false));

    // Clearing the selection never disables Remove.
    page->m_fileList->item(0)->setSelected(true);
    page->m_fileList->clearSelection();
    EXPECT_TRUE(Button(IDC_REMOVE)->isEnabled());

    page->m_fileList->selectAll();
    Click(IDC_REMOVE);
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(Current(), Empty());

    ASSERT_NO_FATAL_FAILURE(AddFiles({"a.doc", "b.doc"}));
    ASSERT_EQ(page->m_fileList->count(), 2);
    page->m_fileList->item(0)->setSelected(true);
    Click(IDC_REMOVE_ALL);
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(Current(), Empty());
}

TEST_F(ConvertDlgTest, BrowsePutsThePickedFolderAndCancelKeepsTheField)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    WithFileDialog([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->setDirectory(dir.path());
        dialog->selectFile("out");
        static_cast<QDialog*>(dialog)->accept();
    });
    Click(IDC_BROWSE);
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(FolderEdit()->text(), PathOf("out") + "/");

    WithFileDialog([](QFileDialog* dialog) { dialog->reject(); });
    Click(IDC_BROWSE);
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(FolderEdit()->text(), PathOf("out") + "/");
}

TEST_F(ConvertDlgTest, ConvertRefusesAnEmptyListAndAFolderThatIsNotThere)
{
    // An add that accepted nothing still enables Convert.
    ASSERT_NO_FATAL_FAILURE(AddFiles({"notes.zip"}));
    EXPECT_EQ(Current(), Ready(false));
    Click(IDC_CONVERT);
    FolderEdit()->setText(PathOf("missing"));
    List({"a.doc"});
    FolderEdit()->setText(PathOf("missing"));
    Click(IDC_CONVERT);
    ASSERT_TRUE(WriteFile("file.txt", "x"));
    FolderEdit()->setText(PathOf("file.txt"));
    Click(IDC_CONVERT);

    ASSERT_EQ(boxes.Boxes().size(), 3);
    EXPECT_EQ(boxes.Texts(),
              (QStringList{"No Word or Excel File", "Wrong Path cause wrong, Input a valid file path!",
                           "Wrong Path cause wrong, Input a valid file path!"}));
    for (const auto& box : boxes.Boxes()) {
        EXPECT_EQ(box.request.caption, QCoreApplication::applicationName());
        EXPECT_EQ(box.request.type, MB_OK | MB_ICONEXCLAMATION);
    }
    EXPECT_FALSE(page->IsConverting());
    EXPECT_FALSE(page->IsWorkerRunning());
    EXPECT_TRUE(fakes.Calls().isEmpty());
    EXPECT_EQ(page->m_outputFolder, PathOf("file.txt")) << "Convert reads the field";
}

TEST_F(ConvertDlgTest, SecurityThatCouldNotBeAppliedIsRefusedBeforeAnythingRuns)
{
    List({"a.doc"}, Folder());
    QWidget* security = page->m_optionTabs.m_securityPage;
    auto box = [&](int id) { return DlgItem<QCheckBox>(security, id); };
    box(IDC_ENABLE_SECURITY)->click();
    DlgItem<QLineEdit>(security, IDC_USER_PASSWORD)->setText(QStringLiteral("user"));
    // The owner box is ticked but its field is empty; then a user password alone.
    Click(IDC_CONVERT);
    box(IDC_ENABLE_OWNER_PASSWORD)->click();
    Click(IDC_CONVERT);
    ASSERT_EQ(boxes.Boxes().size(), 2);
    for (const auto& shown : boxes.Boxes()) {
        EXPECT_TRUE(shown.request.text.contains(QStringLiteral("\"Enable Owner Password\"")))
            << shown.request.text.toStdString();
        EXPECT_EQ(shown.request.caption, QStringLiteral("Foliant 3.0"));
        EXPECT_EQ(shown.request.type, MB_OK | MB_ICONEXCLAMATION);
    }
    EXPECT_FALSE(page->IsConverting());
    EXPECT_FALSE(page->IsWorkerRunning());
    EXPECT_TRUE(fakes.Calls().isEmpty());
    EXPECT_EQ(Current(), Ready(false)) << "the inputs stay open to mend the settings";

    // With an owner password the run starts.
    box(IDC_ENABLE_OWNER_PASSWORD)->click();
    DlgItem<QLineEdit>(security, IDC_OWNER_PASSWORD)->setText(QStringLiteral("owner"));
    RunToEnd();
    EXPECT_EQ(boxes.Boxes().size(), 2);
    EXPECT_EQ(fakes.CalledNames(), QStringList{QStringLiteral("a.doc")});
}

TEST_F(ConvertDlgTest, WhileRunningTheInputsAreClosedAndAnswerThatTheyAreBusy)
{
    List({"a.doc", "b.doc"}, Folder());
    EXPECT_EQ(Current(), Ready(false));
    fakes.SetAct("a.doc", Act::BlockDeaf);
    Click(IDC_CONVERT);
    EXPECT_EQ(Current(), Running());
    EXPECT_EQ(Status(), "Start to convert");
    EXPECT_TRUE(page->m_fileList->m_busy);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    EXPECT_EQ(Current(), Running());

    // A selection does not enable Remove during a run.
    page->m_fileList->item(0)->setSelected(true);
    EXPECT_FALSE(Button(IDC_REMOVE)->isEnabled());
    // Reached all the same, each handler says it is busy.
    page->OnAddFiles();
    page->OnRemove();
    page->OnRemoveAll();
    page->OnBrowse();
    EXPECT_EQ(boxes.Texts(), (QStringList{kBusy, kBusy, kBusy, kBusy}));
    EXPECT_EQ(Entries().size(), 2);
    // A drop's notice that arrives late leaves the run's state alone.
    page->OnFilesDropped();
    EXPECT_EQ(Current(), Running());
    EXPECT_TRUE(Status().startsWith("Start to convert"));

    CompletionWatcher completion(*page);
    fakes.Release();
    ASSERT_TRUE(WaitUntil([&] { return !page->IsConverting(); }));
    EXPECT_EQ(Current(), Empty());
    EXPECT_EQ(Status(), "Complete!");
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
}

TEST_F(ConvertDlgTest, TheStatusLineCountsDotsAndStartsAgain)
{
    QStringList seen;
    page->m_status->setText("Start to convert");
    for (int tick = 0; tick < 8; ++tick) {
        page->OnTimer(1);
        seen << Status();
    }
    EXPECT_EQ(seen, (QStringList{"Start to convert.", "Start to convert..", "Start to convert...",
                                 "Start to convert....", "Start to convert.....", "Start to convert......",
                                 "Start to convert", "Start to convert."}));

    // A run starts its own count and ticks every half second.
    List({"a.doc"}, Folder());
    fakes.SetAct("a.doc", Act::BlockDeaf);
    Click(IDC_CONVERT);
    EXPECT_EQ(Status(), "Start to convert");
    ASSERT_TRUE(WaitUntil([&] { return Status() == "Start to convert.."; }));
    fakes.Release();
    CompletionWatcher completion(*page);
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_FALSE(page->IsTimerActive(1)) << "timer 1 ends with the run";
}

TEST_F(ConvertDlgTest, DisplayAdvancedOptionsCollapsesAndExpandsWithoutMoving)
{
    QDialog main;
    DialogBuilder::Build(dialogtemplates::kMainTemplate, &main);
    page->setParent(&main);
    QWidget* host = GetDlgItem(&main, IDC_HOST);
    page->move(host->pos());
    page->m_hMainWnd = &main;
    main.move(40, 30);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    page->show();
    const QSize mainSize = main.size();
    const QSize pageSize = page->size();
    const QPoint mainPos = main.pos();
    const QPoint pagePos = page->pos();
    const int separatorTop = GetDlgItem(page.get(), IDC_SEPARATOR)->geometry().top();

    page->OnShowAdvanced(); // the main window's call: collapsed
    EXPECT_EQ(page->size(), QSize(pageSize.width(), separatorTop));
    EXPECT_EQ(main.size(), QSize(mainSize.width(), mainSize.height() - (pageSize.height() - separatorTop)));
    auto* check = DlgItem<QCheckBox>(page.get(), IDC_SHOW_ADVANCED);
    QTest::mouseClick(check, Qt::LeftButton);
    ASSERT_TRUE(check->isChecked());
    EXPECT_EQ(page->size(), pageSize);
    EXPECT_EQ(main.size(), mainSize);
    EXPECT_TRUE(page->m_tab->isVisible());
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(page->size(), QSize(pageSize.width(), separatorTop));
    EXPECT_EQ(main.size().height(), mainSize.height() - (pageSize.height() - separatorTop));
    EXPECT_EQ(main.pos(), mainPos);
    EXPECT_EQ(page->pos(), pagePos);
    page->setParent(nullptr);
}

TEST_F(ConvertDlgTest, ClickingATabHeaderShowsItsPageOnly)
{
    QTabBar* bar = page->m_tab->TabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(page->m_optionTabs.m_curTab, 2);
    EXPECT_TRUE(page->m_optionTabs.m_advancedPage->isVisible());
    EXPECT_FALSE(page->m_optionTabs.m_descriptionPage->isVisible());
    EXPECT_FALSE(page->m_optionTabs.m_securityPage->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(page->m_optionTabs.m_curTab, 1);
    EXPECT_TRUE(page->m_optionTabs.m_securityPage->isVisible());
    EXPECT_FALSE(page->m_optionTabs.m_advancedPage->isVisible());
    // A press elsewhere on the page switches nothing.
    QTest::mouseClick(page.get(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(page->m_optionTabs.m_curTab, 1);
}

TEST_F(ConvertDlgTest, DroppedFilesSetTheFolderOfTheFirstEntry)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("in"));
    QList<QUrl> urls;
    for (const char* name : {"in/z.doc", "in/y.png"}) {
        ASSERT_TRUE(WriteFile(name, "x"));
        urls << QUrl::fromLocalFile(PathOf(name));
    }
    QMimeData mime;
    mime.setUrls(urls);
    QWidget* viewport = page->m_fileList->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    ASSERT_TRUE(WaitUntil([&] { return Status() == "Ready"; }));

    EXPECT_EQ(Entries(), (QStringList{PathOf("in/z.doc"), PathOf("in/y.png")}));
    EXPECT_EQ(FolderEdit()->text(), PathOf("in") + "/");
    EXPECT_EQ(Current(), Ready(false));

    // During a run a drop is refused.
    fakes.SetAct("z.doc", Act::BlockDeaf);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    ASSERT_TRUE(WriteFile("late.doc", "x"));
    QMimeData late;
    late.setUrls({QUrl::fromLocalFile(PathOf("late.doc"))});
    QDragEnterEvent enter2(QPoint(5, 5), Qt::CopyAction, &late, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter2);
    QDropEvent drop2(QPointF(5, 5), Qt::CopyAction, &late, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop2);
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Boxes().isEmpty(); }));
    EXPECT_EQ(boxes.Texts(), QStringList{kBusy});
    EXPECT_EQ(Entries().size(), 2);
    EXPECT_EQ(Current(), Running());
}

TEST_F(ConvertDlgTest, EscapeAndEnterInsideThePageLeaveItAndTheWindowOpen)
{
    QDialog main;
    bool accepted = false;
    QObject::connect(&main, &QDialog::accepted, [&] { accepted = true; });
    main.resize(page->size() + QSize(20, 20));
    page->setParent(&main);
    main.show();
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    // (Enter on a focused push button presses it, as in every dialog.)
    for (QWidget* target : {static_cast<QWidget*>(FolderEdit()), static_cast<QWidget*>(page->m_fileList),
                            GetDlgItem(page.get(), IDC_SHOW_ADVANCED)}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        EXPECT_TRUE(main.isVisible()) << target->objectName().toStdString();
        EXPECT_TRUE(page->isVisible());
    }
    EXPECT_FALSE(accepted);
    page->setParent(nullptr);
}

TEST_F(ConvertDlgTest, TheStatusLineTakesNeitherCaretNorTyping)
{
    CEnableEdit* status = page->m_status;
    EXPECT_EQ(Status(), "Not started.");
    FolderEdit()->setFocus();
    QTest::mouseClick(status, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(status->hasFocus());
    EXPECT_TRUE(FolderEdit()->hasFocus());

    // Even given the focus, it takes no keys, paste or cut.
    QApplication::clipboard()->setText("pasted");
    status->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(status, "typed");
    QTest::keyClick(status, Qt::Key_Backspace);
    QTest::keyClick(status, Qt::Key_V, Qt::ControlModifier);
    status->selectAll();
    QTest::keyClick(status, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(status, Qt::Key_Delete);
    EXPECT_EQ(Status(), "Not started.");
    // A builder that makes it writable again does not open it.
    status->setReadOnly(false);
    EXPECT_TRUE(status->isReadOnly());
}

TEST_F(ConvertDlgTest, CompletionShowsTheDialogThenDeletesTheSpoolFile)
{
    const QString spool = page->SpoolFilePath(nullptr);
    ASSERT_FALSE(spool.isEmpty());
    ASSERT_TRUE(spool.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
    {
        QFile file(spool);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%!PS");
    }
    // Nothing made: no dialog, and the spool is left.
    Bar()->m_bDrawn = 1;
    page->ShowCompletion();
    EXPECT_TRUE(QFileInfo::exists(spool));
    EXPECT_EQ(Bar()->m_bDrawn, 0);

    page->m_finishDlg.m_folder = dir.path();
    page->m_finishDlg.m_files = {"B.pdf", "A.pdf"};
    bool spoolWhileShown = false;
    QStringList listed;
    QTimer::singleShot(0, page.get(), [&] {
        spoolWhileShown = QFileInfo::exists(spool);
        listed = testtools::ListEntries(*page->m_finishDlg.m_resultList);
        DlgItem<QAbstractButton>(&page->m_finishDlg, IDCANCEL)->click();
    });
    Bar()->m_bDrawn = 1;
    page->ShowCompletion();
    EXPECT_TRUE(spoolWhileShown);
    EXPECT_EQ(listed, (QStringList{"A.pdf", "B.pdf"}));
    EXPECT_FALSE(QFileInfo::exists(spool));
    EXPECT_EQ(Bar()->m_bDrawn, 0);
    EXPECT_TRUE(page->m_finishDlg.m_files.isEmpty());
}

} // namespace
