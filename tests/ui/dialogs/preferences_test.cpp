// Preferences as the user meets it: what a fresh store shows, what OK and Cancel write, and
// the list display refreshed when the dialog closes either way.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "edit/TagEdits.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/list/FileListView.h"
#include "ui/panel/FieldEdit.h"
#include "ui/panel/GeneralPage.h"
#include "ui/panel/TagEditorPanel.h"

namespace velmora::testing {
namespace {

// The check state of every box and radio button, by its text without the accelerator;
// "-" marks a disabled control.
QStringList States(QWidget& dialog) {
    QStringList states;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QCheckBox*>(button) && !qobject_cast<QRadioButton*>(button))
            continue;
        QString text = button->text().remove(QLatin1Char('&'));
        states << QStringLiteral("%1%2 %3").arg(button->isEnabled() ? "" : "-",
                                                button->isChecked() ? "[x]" : "[ ]", text);
    }
    return states;
}

void Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
}

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

    // Opens Preferences from the Edit menu and runs `inside` on the dialog.
    void Run(WindowFixture& fixture, std::function<void(ui::PreferencesDialog*)> inside) {
        bool ran = false;
        WhenModal<ui::PreferencesDialog>([&](ui::PreferencesDialog* dialog) {
            ran = true;
            inside(dialog);
        });
        ActionNamed(fixture.Window(), QStringLiteral("&Preferences..."))->trigger();
        QVERIFY(ran);
    }

    static std::optional<std::uint32_t> Stored(WindowFixture& fixture, const char* name) {
        std::uint32_t value = 0;
        if (!fixture.Environment().Settings().ReadNumber(name, value))
            return std::nullopt;
        return value;
    }

  private slots:
    void codePageNoConverterKnowsFallsBackAndSaysSo() {
        ScratchDirectory scratch;
        const auto file = scratch.Root() / "settings.toml";
        SettingsStore::Open(file).store->Root().WriteString("CodePage", u"NO-SUCH-PAGE");
        auto opened = ui::UiEnvironment::Open(file);
        QVERIFY(opened.environment);
        QCOMPARE(QString::fromStdU16String(opened.notice),
                 QStringLiteral("unknown code page NO-SUCH-PAGE, using CP1252"));
    }

    void freshStoreShowsTheDefaultsAndOkWritesTheGeneralPage() {
        WindowFixture fixture;
        QStringList general, interface;
        std::shared_ptr<SeenBox> notice;
        Run(fixture, [&](ui::PreferencesDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Velmora 1.1 Preferences"));
            auto* tabs = dialog->findChild<QTabWidget*>();
            QCOMPARE(tabs->tabText(0), QStringLiteral("General"));
            QCOMPARE(tabs->tabText(1), QStringLiteral("User Interface"));
            QCOMPARE(tabs->currentIndex(), 0);
            general = States(*tabs->widget(0));
            notice = AnswerNextBox(QMessageBox::Ok);
            Press(*dialog, QDialogButtonBox::Ok);
        });
        QCOMPARE(general,
                 QStringList(
                     {"[x] Recurse Subdirectories",
                      "[ ] Save files in ID3v2.4 (may create problems with older media players)",
                      "-[x] Don't change encoding", "-[ ] Save as Unicode",
                      "-[ ] Save as Unicode (with BOM)", "-[ ] Save as UTF-8",
                      "[ ] Automatically remove empty IDv1 tags", "[x] Keep a history of saves"}));
        QCOMPARE(
            notice->text,
            QStringLiteral("Some settings will not take effect until the program is restarted."));
        QCOMPARE(notice->caption, QStringLiteral("Velmora 1.1"));
        QCOMPARE(notice->icon, QMessageBox::Information);
        QCOMPARE(Stored(fixture, "Recurse"), std::optional<std::uint32_t>(1));
        QCOMPARE(Stored(fixture, "Use2.4"), std::optional<std::uint32_t>(0));
        QCOMPARE(Stored(fixture, "AutoDeleteV1"), std::optional<std::uint32_t>(0));
        QCOMPARE(Stored(fixture, "Encoding"), std::optional<std::uint32_t>(0));
        QCOMPARE(Stored(fixture, "KeepHistory"), std::optional<std::uint32_t>(1));
        QCOMPARE(Stored(fixture, "HistoryMaxMiB"), std::optional<std::uint32_t>(1024));
        QCOMPARE(Stored(fixture, "HistoryKeepDays"), std::optional<std::uint32_t>(180));
        QCOMPARE(QString::fromStdU16String(fixture.Environment().Settings().ReadString("CodePage")),
                 QStringLiteral("CP1252"));
        // The User Interface page was never opened: its values are not written.
        for (const char* name : {"ShowIcons", "ShowRedText", "ShowGridlines", "AlternateBg"})
            QVERIFY2(!Stored(fixture, name), name);
    }

    void interfacePageWritesOnlyOnceOpened() {
        WindowFixture fixture;
        QStringList interface;
        Run(fixture, [&](ui::PreferencesDialog* dialog) {
            auto* tabs = dialog->findChild<QTabWidget*>();
            tabs->setCurrentIndex(1);
            interface = States(*tabs->widget(1));
            for (QCheckBox* box : tabs->widget(1)->findChildren<QCheckBox*>()) {
                if (box->text().remove('&') == QStringLiteral("Show gridlines"))
                    box->setChecked(true);
            }
            AnswerNextBox(QMessageBox::Ok);
            Press(*dialog, QDialogButtonBox::Ok);
        });
        QCOMPARE(
            interface,
            QStringList({"[ ] Show icons for updated files", "[x] Show updated files with red text",
                         "[ ] Show gridlines", "[x] Alternate item background color"}));
        QCOMPARE(Stored(fixture, "ShowIcons"), std::optional<std::uint32_t>(0));
        QCOMPARE(Stored(fixture, "ShowRedText"), std::optional<std::uint32_t>(1));
        QCOMPARE(Stored(fixture, "ShowGridlines"), std::optional<std::uint32_t>(1));
        QCOMPARE(Stored(fixture, "AlternateBg"), std::optional<std::uint32_t>(1));
        QVERIFY(fixture.Window().List().showGrid());
    }

    void encodingOutsideTheButtonsChecksNoneAndStays() {
        WindowFixture fixture;
        fixture.Environment().Settings().WriteNumber("Encoding", 7);
        fixture.Environment().Settings().WriteBool("Use2.4", true);
        QStringList general;
        Run(fixture, [&](ui::PreferencesDialog* dialog) {
            general = States(*dialog->findChild<QTabWidget*>()->widget(0));
            AnswerNextBox(QMessageBox::Ok);
            Press(*dialog, QDialogButtonBox::Ok);
        });
        QVERIFY(general.contains(QStringLiteral("[ ] Don't change encoding")));
        QVERIFY(general.contains(QStringLiteral("[ ] Save as UTF-8")));
        QCOMPARE(Stored(fixture, "Encoding"), std::optional<std::uint32_t>(7));
    }

    void cancelWritesNothingButTheListIsRefreshed() {
        WindowFixture fixture;
        fixture.Environment().Settings().WriteBool("ShowGridlines", true);
        QVERIFY(!fixture.Window().List().showGrid());
        Run(fixture, [&](ui::PreferencesDialog* dialog) {
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                box->setChecked(!box->isChecked());
            Press(*dialog, QDialogButtonBox::Cancel);
        });
        QVERIFY(!Stored(fixture, "Recurse"));
        QVERIFY(!Stored(fixture, "Use2.4"));
        QCOMPARE(Stored(fixture, "ShowGridlines"), std::optional<std::uint32_t>(1));
        QVERIFY(fixture.Window().List().showGrid());
    }

    void encodingButtonsFollowTheVersionBox() {
        WindowFixture fixture;
        Run(fixture, [&](ui::PreferencesDialog* dialog) {
            auto radios = dialog->findChildren<QRadioButton*>();
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                if (box->text().contains(QStringLiteral("2.&4"))) {
                    box->click();
                    for (auto* radio : radios)
                        QVERIFY(radio->isEnabled());
                    radios.back()->click();
                    box->click();
                    for (auto* radio : radios)
                        QVERIFY(!radio->isEnabled());
                }
            }
            AnswerNextBox(QMessageBox::Ok);
            Press(*dialog, QDialogButtonBox::Ok);
        });
        // A disabled button keeps its state, and it is saved.
        QCOMPARE(Stored(fixture, "Encoding"), std::optional<std::uint32_t>(3));
        QCOMPARE(Stored(fixture, "Use2.4"), std::optional<std::uint32_t>(0));
    }

    void saveOptionsReachFilesAlreadyLoaded() {
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        Run(fixture, [&](ui::PreferencesDialog* dialog) {
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                if (box->text().contains(QStringLiteral("2.&4")))
                    box->click();
            }
            dialog->findChildren<QRadioButton*>().back()->click();  // "Save as UTF-8"
            AnswerNextBox(QMessageBox::Ok);
            Press(*dialog, QDialogButtonBox::Ok);
        });
        fixture.Select({"a.mp3"});
        auto& title = static_cast<ui::GeneralPage&>(
                          fixture.Window().Panel().Page(ui::TagEditorPanel::kGeneralPage))
                          .Field(edit::V2Field::Title);
        fixture.Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Window()));
        title.setFocus();
        QTest::keyClicks(&title, QStringLiteral("x"));
        QTest::keyClick(&title, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(fixture.WaitIdle());
        // Every frame of the file, typed in or not, is written in UTF-8 in an ID3v2.4 tag.
        QCOMPARE(MutagenSays(fixture.Songs() / "a.mp3",
                             "t.version[1], sorted({int(f.encoding) for f in t.values() if "
                             "hasattr(f, 'encoding')})"),
                 QStringLiteral("4 [3]"));
    }
};

VELMORA_UI_TEST(PreferencesTest);

}  // namespace velmora::testing

#include "preferences_test.moc"
