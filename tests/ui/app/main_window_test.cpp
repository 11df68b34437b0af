// The main window driven as a user drives it: loading, sorting, marking, saving, the save
// question, the commands held back during a load, the filter and drops.
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>

#include "settings/SettingNames.h"
#include "ui/UiTestSupport.h"
#include "ui/app/StartArguments.h"
#include "ui/list/ListDisplay.h"
#include "ui/list/ShownCount.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

bool HasId3v1(const fs::path& file) {
    const std::string bytes = ScratchDirectory::ReadFile(file);
    return bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
}

// The enabled items of the menus under `bar`, and of their submenus.
QStringList EnabledMenuItems(QWidget* bar) {
    QStringList enabled;
    for (QAction* action : bar->actions()) {
        if (action->menu())
            enabled += EnabledMenuItems(action->menu());
        else if (action->isEnabled() && !action->isSeparator())
            enabled << action->text();
    }
    return enabled;
}

// The texts of the context menu opened on `row`; none when no menu opens.
QStringList ContextMenuOn(ui::FileListView& view, int row) {
    auto shown = std::make_shared<QStringList>();
    const QPoint at = view.visualRect(view.model()->index(row, 0)).center();
    QTimer::singleShot(100, [shown] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                *shown << action->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    QTest::qWait(150);
    return *shown;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    // `velmora PATH`: a folder, or the folder of a file; a path that does not exist loads
    // nothing (not its parent); an unknown option or a second path ends the program.
    void startArgumentsNameWhatToLoad() {
        ScratchDirectory scratch;
        const QString root = QString::fromStdString(scratch.Root().string());
        const QString song = QString::fromStdString(scratch.WriteFile("a.mp3", "x").string());
        const QString missing = root + u"/Musci"_s;
        const std::tuple<QStringList, QString, QString, bool> rows[] = {
            {{}, {}, {}, false},
            {{root}, root, {}, false},
            {{"--", song}, root, {}, false},
            {{missing}, {}, missing + ": no such file or folder; nothing loaded", false},
            {{"--bogus", root}, {}, "unrecognized option '--bogus'", true},
            {{root, song}, {}, "one folder at most, not 2", true}};
        for (const auto& [arguments, folder, problem, usageError] : rows) {
            const auto request = ui::ParseStartArguments(QStringList{"velmora"} + arguments);
            QVERIFY2(std::tie(request.folder, request.problem, request.usageError) ==
                         std::tie(folder, problem, usageError),
                     qPrintable(arguments.join(' ') + ": " + request.problem));
        }
    }

    // Loaded, a row shows its cells; the context menu opens on a selected row only; a marked
    // row turns red (or shows its icon, as the preferences say) until it is saved.
    void loadMarkAndSave() {
        WindowFixture fixture;
        auto& window = fixture.Window();
        auto& proxy = window.Files().Proxy();
        QStringList cells;
        for (int column = 0; column < proxy.columnCount(); ++column)
            cells << fixture.CellText(1, column);
        QCOMPARE(cells.mid(0, 10), QStringList({"b.mp3", "10", "Banana", "alpha", "gamma", "2001",
                                                "96", fixture.SongsText(), "Jazz", "62:05"}));
        fixture.Select({"a.mp3"});
        QVERIFY(ContextMenuOn(window.List(), 1).isEmpty());
        const QStringList menu = ContextMenuOn(window.List(), 0);
        QVERIFY(menu.contains("Remove ID3v&1") && menu.contains("E&xplore Directory"));

        QVERIFY(fixture.Remove({"c.mp3"}, u"Remove ID3v&1"_s)->shown);
        QCOMPARE(proxy.index(2, 0).data(Qt::ForegroundRole).value<QColor>(), ui::kUpdatedText);
        QVERIFY(!proxy.index(1, 0).data(Qt::ForegroundRole).isValid());
        // Icons are off by default: the row keeps the plain icon.
        const QImage clean = ui::CleanRowIcon().pixmap(16, 16).toImage();
        auto iconOf = [&](int row) {
            return proxy.index(row, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16);
        };
        QCOMPARE(iconOf(2).toImage(), clean);
        fixture.Environment().Settings().Write(settings::kShowIcons, true);
        fixture.Environment().Settings().Write(settings::kShowRedText, false);
        QVERIFY(fixture.RunDialog<QDialog>("&Preferences...", [](QDialog* d) { d->reject(); }));
        QCOMPARE(iconOf(2).toImage(), ui::UpdatedRowIcon().pixmap(16, 16).toImage());
        QCOMPARE(iconOf(1).toImage(), clean);
        QVERIFY(!proxy.index(2, 0).data(Qt::ForegroundRole).isValid());
        QCOMPARE(StatusOf(window).text(), u"Loaded 4 files (1 updated)"_s);

        Click(window, u"Save Changes"_s);
        QVERIFY(fixture.WaitIdle());
        QCOMPARE(StatusOf(window).text(), u"Loaded 4 files (0 updated)"_s);
        QCOMPARE(iconOf(2).toImage(), clean);
        QVERIFY(!HasId3v1(fixture.Songs() / "c.mp3") && HasId3v1(fixture.Songs() / "b.mp3"));
    }

    // An ID3v1 value stands in italics where the ID3v2 tag has none; a line break in a name
    // shows as a mark.
    void cellsShowWhatTheirTextCannot() {
        WindowFixture fixture({{.name = "two\nlines.mp3", .v1 = {.year = "1999"}}});
        const auto& proxy = fixture.Window().Files().Proxy();
        const QModelIndex year = proxy.index(0, int(Column::Year));
        QCOMPARE(year.data().toString() + "|" + year.data(Qt::ToolTipRole).toString(),
                 u"1999|From the ID3v1 tag"_s);
        QVERIFY(year.data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(!proxy.index(0, int(Column::Title)).data(Qt::FontRole).isValid());
        QCOMPARE(fixture.CellText(0, 0), u"two\u21B5lines.mp3"_s);
    }

    // Each column sorts both ways by header clicks; only the view sorts, not the model.
    // Sorted by Track, "Track #" numbers the rows the user clicks (in the order of
    // batch::TrackNumbering, tested in tests/batch): a numbered row stays where it is until the
    // next sort, so the next click lands on the row that was under it. Each number undoes
    // alone; switched off, a click numbers nothing.
    void headerClicksSortAndTrackNumbersGoToTheRowsClicked() {
        const std::pair<int, QStringList> rows[] = {
            {2, {"apple", "Banana", "Émile", "zebra"}},  // by collation, not code unit
            {6, {"96", "128", "128 (VBR)", "192"}}};     // by number, VBR after CBR
        WindowFixture fixture;
        QAbstractItemModelTester tester(fixture.Window().List().model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QHeaderView* header = fixture.Window().List().horizontalHeader();
        const auto loaded = fixture.Window().Files().Model().Records();
        for (const auto& [column, ascending] : rows) {
            fixture.ClickHeader(column);
            QVERIFY(fixture.ColumnTexts(column) == ascending &&
                    header->sortIndicatorOrder() == Qt::AscendingOrder);
            fixture.ClickHeader(column);
            QCOMPARE(fixture.ColumnTexts(column),
                     QStringList(ascending.rbegin(), ascending.rend()));
            QVERIFY(header->sortIndicatorOrder() == Qt::DescendingOrder &&
                    header->sortIndicatorSection() == column);
        }
        QCOMPARE(fixture.Window().Files().Model().Records(), loaded);

        // Track compares texts.
        fixture.ClickHeader(1);
        const QStringList names = fixture.ColumnTexts(0);
        QCOMPARE(fixture.ColumnTexts(1), QStringList({"1", "10", "2", "3"}));
        QAbstractButton* toggle = ButtonNamed(fixture.Window(), "Track #");
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), u"Track 1"_s);
        for (int row = 3; row >= 0; --row)
            fixture.ClickRow(row);
        QCOMPARE(fixture.ColumnTexts(0), names);
        QCOMPARE(fixture.ColumnTexts(1), QStringList({"4", "3", "2", "1"}));
        // a.mp3 kept its "2".
        QVERIFY(toggle->text() == "Track 5" && fixture.Window().Files().UpdatedCount() == 3);
        ActionNamed(fixture.Window(), "Undo Track #")->trigger();
        QCOMPARE(fixture.ColumnTexts(1), QStringList({"1", "3", "2", "1"}));
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), u"Track #"_s);
        fixture.ClickRow(1);
        QCOMPARE(fixture.CellText(1, 1), u"3"_s);
    }

    // Yes saves first, No goes on without saving, Cancel stops: each answer once, each command
    // once (the question is one for all three).
    void saveQuestionOnBrowseReloadAndExit() {
        const std::pair<QString, QMessageBox::StandardButton> rows[] = {
            {"Browse", QMessageBox::Yes},
            {"Reload", QMessageBox::No},
            {"Exit", QMessageBox::Cancel}};
        for (const auto& [command, answer] : rows) {
            WindowFixture fixture;
            const fs::path other = fixture.Scratch() / "other";
            WriteSongs(other, {SampleSongs().front()});
            QVERIFY(fixture.Remove({"a.mp3"}, u"Remove ID3v&1"_s)->shown);
            auto question = AnswerNextBox(answer);
            if (command == "Browse") {
                fixture.Chooser().answers << QString::fromStdString(other.string());
                Click(fixture.Window(), u"Browse"_s);
            } else if (command == "Reload") {
                QVERIFY(fixture.Activate());
                QTest::keyClick(&fixture.Window(), Qt::Key_F5);
            } else {
                fixture.Window().close();
            }
            QVERIFY(fixture.WaitIdle());
            QTest::qWait(50);
            QVERIFY(question->text == "Do you want to save changes?" &&
                    question->caption == "Velmora 1.1" && question->icon == QMessageBox::Question);
            QCOMPARE(HasId3v1(fixture.Songs() / "a.mp3"), answer != QMessageBox::Yes);
            auto& files = fixture.Window().Files();
            if (command == "Exit")
                QVERIFY(fixture.Window().isVisible());
            else if (command == "Browse")
                QVERIFY(files.FileCount() == 1 &&
                        fixture.Chooser().asked.front().title == "Select a directory");
            else
                QCOMPARE(files.UpdatedCount(), 0u);
        }
    }

    // Both songs lose their ID3v1 tags, and b.mp3 is made a folder: its save fails, and the
    // worker waits on the box that says so while the row stays pending and the shell commands
    // are held back; a.mp3 is saved. The save is the one Reload's question started, and the
    // window is closed meanwhile: it closes once the save is done (asking again for what it
    // could not save); the reload never runs.
    void failedSaveIsReportedAndACloseMeanwhileRunsOnlyTheClose() {
        WindowFixture fixture;
        auto& window = fixture.Window();
        auto& files = window.Files();
        fixture.Remove({"a.mp3", "b.mp3"}, u"Remove ID3v&1"_s);
        fs::remove(fixture.Songs() / "b.mp3");
        fs::create_directory(fixture.Songs() / "b.mp3");
        QSignalSpy cleared(&files, &ui::Workspace::listCleared);
        QString rowWhileSaving;
        QStringList shellOn;
        std::shared_ptr<SeenBox> failure, askedAgain;
        WhenModal<QMessageBox>([&](QMessageBox* question) {
            failure = AnswerNextBox(QMessageBox::Ok, false, [&] {
                QVERIFY(files.State() == ui::WorkState::Saving);
                // The save's worker rewrites the names these commands read.
                for (const char* command : {"Open", "Enqueue", "Explore Directory"}) {
                    if (ActionNamed(window, QString::fromLatin1(command))->isEnabled())
                        shellOn << QString::fromLatin1(command);
                }
                rowWhileSaving = fixture.CellText(1, 0);
                const QVariant colour = files.Proxy().index(1, 0).data(Qt::ForegroundRole);
                QCOMPARE(colour.value<QColor>(), ui::kUpdatedText);
                window.close();
                askedAgain = AnswerNextBox(QMessageBox::No);
            });
            question->button(QMessageBox::Yes)->click();
        });
        ActionNamed(window, u"&Reload"_s)->trigger();
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(failure && askedAgain && askedAgain->shown && cleared.count() == 0);
        QCOMPARE(QStringList({failure->caption, failure->checkText, rowWhileSaving}),
                 QStringList({"Error", "Don't show more of these until this save ends", "b.mp3"}));
        QCOMPARE(shellOn, QStringList());
        QVERIFY(!HasId3v1(fixture.Songs() / "a.mp3") &&
                ChildNamed<QLabel>(window, "progress").isHidden() &&
                ActionNamed(window, u"Open"_s)->isEnabled());
    }

    // A worker waits on a box the user is asked to tick: commands are held back meanwhile, and
    // what the tick hid is listed once the load ends.
    void hiddenMessagesAreListedOnceTheLoadEnds() {
        WindowFixture fixture(WindowFixture::Start::kEmpty);
        fixture.AddUnreadableSongs();
        QStringList enabledDuringLoad;
        std::shared_ptr<SeenBox> summary;
        auto first = AnswerNextBox(QMessageBox::Ok, true, [&] {
            QVERIFY(fixture.Window().Files().State() == ui::WorkState::Loading);
            enabledDuringLoad = EnabledMenuItems(fixture.Window().menuBar());
            summary = AnswerNextBox(QMessageBox::Ok);  // the next box, once this one is gone
        });
        QVERIFY(fixture.Load());
        QVERIFY(QTest::qWaitFor([&] { return summary && summary->shown; }, 5000));
        QVERIFY(first->text.startsWith(u"Couldn't open file:\n"_s) && !first->hasOwner);
        QCOMPARE(first->checkText, u"Don't show more of these until this load ends"_s);
        enabledDuringLoad.sort();
        QCOMPARE(enabledDuringLoad, QStringList({"&About Velmora...", "&Filter", "&Preferences...",
                                                 "E&xit", "S&top Loading", "Select &All"}));
        QCOMPARE(summary->text, u"2 more messages were not shown:"_s);
        // The files that could not be opened are still rows.
        QVERIFY(fixture.Window().Files().FileCount() == 7 &&
                ActionNamed(fixture.Window(), u"&Save"_s)->isEnabled());
    }

    // The window starts empty and ready; a filter typed then hides rows of the folder loaded
    // under it, and the commands act on the rows shown.
    void filterShowsMatchingRowsAndCommandsActOnThem() {
        WindowFixture fixture(WindowFixture::Start::kEmpty);
        auto& window = fixture.Window();
        auto& view = window.List();
        QCOMPARE(StatusOf(window).text(), u"Ready"_s);
        QVERIFY(!ActionNamed(window, u"&Reload"_s)->isEnabled());
        // The load, sort, edit and filters below keep both models consistent.
        constexpr auto kReport = QAbstractItemModelTester::FailureReportingMode::QtTest;
        QAbstractItemModelTester modelTester(&window.Files().Model(), kReport);
        QAbstractItemModelTester proxyTester(&window.Files().Proxy(), kReport);
        QLabel* count = window.findChild<ui::ShownCount*>();
        QVERIFY(count->isHidden());
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(FilterOf(window).hasFocus());
        QTest::keyClicks(&FilterOf(window), u"BETA"_s);
        QVERIFY(fixture.Load() && !count->isHidden());
        QCOMPARE(count->text(), u"2 of 4 shown"_s);
        // "Beta" is a title, "beta" an album: case-insensitive, any column.
        QCOMPARE(fixture.ColumnTexts(0), QStringList({"a.mp3", "d.mp3"}));
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(count->text(), u"2 of 4 shown, 2 selected"_s);
        auto seen = AnswerNextBox(QMessageBox::Yes);
        ActionNamed(window, u"Remove ID3v&2"_s)->trigger();
        QCOMPARE(window.Files().UpdatedCount(), 2u);

        // Only the columns shown are searched: the folder's name, while Directory shows.
        FilterOf(window).setText(u"songs"_s);
        QCOMPARE(window.Files().Proxy().rowCount(), 4);
        QMenu columns;
        view.FillColumnMenu(columns);
        ActionNamed(columns, u"Directory"_s)->trigger();
        QCOMPARE(count->text(), u"0 of 4 shown"_s);
        // The rows that come back take their places in the sorted list.
        FilterOf(window).clear();
        QVERIFY(count->isHidden());
        QCOMPARE(fixture.ColumnTexts(0), QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    }

    // A file dropped on the window loads its folder, which Browse then starts from; the
    // window comes back as it was left.
    void windowComesBackAsItWasLeft() {
        WindowFixture fixture(WindowFixture::Start::kEmpty);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(fixture.SongsText() + "/b.mp3")});
        auto& first = fixture.Window();
        QDragEnterEvent enter({}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&first, &enter);
        QDropEvent drop({}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&first, &drop);
        QVERIFY(enter.isAccepted() && fixture.WaitIdle());
        QCOMPARE(first.Files().FileCount(), 4u);
        QCOMPARE(fixture.Environment().Settings().ReadString("BrowseDir"),
                 fixture.SongsText().toStdU16String());
        first.resize(900, 640);
        QHeaderView* header = first.List().horizontalHeader();
        header->moveSection(header->visualIndex(2), 0);  // Artist first
        header->resizeSection(4, 333);
        fixture.ClickHeader(6);
        fixture.ClickHeader(6);
        FilterOf(first).setText(u"a"_s);
        QVERIFY(first.close());  // nothing to save: no question

        ui::MainWindow second(fixture.Environment());
        QCOMPARE(second.size(), QSize(900, 640));
        QHeaderView* restored = second.List().horizontalHeader();
        QCOMPARE(QList<int>({restored->logicalIndex(0), restored->sectionSize(4),
                             restored->sortIndicatorSection(), restored->sortIndicatorOrder()}),
                 QList<int>({2, 333, 6, Qt::DescendingOrder}));
        QCOMPARE(FilterOf(second).text(), u"a"_s);
    }

    // A light colour darkens per channel with no carry, a dark theme lightens, and a dark
    // channel stops at zero.
    void evenRowShadeFollowsTheWindowColour() {
        const std::pair<QColor, QColor> rows[] = {
            {QColor(0x20, 0x20, 0x20), QColor(0x30, 0x30, 0x30)},
            {QColor(0xFF, 0xFF, 0xEE), QColor(0xEF, 0xEF, 0xDE)},
            {QColor(0xF8, 0x08, 0x10), QColor(0xE8, 0x00, 0x00)}};
        for (const auto& [window, shade] : rows)
            QCOMPARE(ui::EvenRowShade(window), shade);
    }
};

VELMORA_UI_TEST(MainWindowTest);

}  // namespace velmora::testing

#include "main_window_test.moc"
