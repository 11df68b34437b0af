// Preferences as the user meets it: what a fresh store shows, what OK and Cancel write, and
// the list display refreshed when the dialog closes either way.
#include <QCheckBox>
#include <QRadioButton>

#include "edit/TagEdits.h"
#include "ui/UiTestSupport.h"
#include "ui/dialogs/PreferencesDialog.h"
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
        states << u"%1%2 %3"_s.arg(button->isEnabled() ? "" : "-",
                                   button->isChecked() ? "[x]" : "[ ]", text);
    }
    return states;
}

// The numbers stored under `names`, "-" for one never written.
QString Stored(WindowFixture& fixture, std::initializer_list<const char*> names) {
    QStringList values;
    for (const char* name : names) {
        std::uint32_t value = 0;
        const bool stored = fixture.Environment().Settings().ReadNumber(name, value);
        values << (stored ? QString::number(value) : u"-"_s);
    }
    return values.join(QLatin1Char(' '));
}

// OK, answering the notice that some settings wait for a restart.
void PressOk(QDialog* dialog) {
    AnswerNextBox(QMessageBox::Ok);
    Press(*dialog, QDialogButtonBox::Ok);
}

constexpr auto kPreferences = "&Preferences...";

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

  private slots:
    // One store through several visits: OK writes the General page, the User Interface page
    // only once opened, Cancel writes nothing, and the list is refreshed either way; an
    // encoding outside the buttons checks none and stays; the save options reach files
    // already loaded.
    void okAndCancelWriteWhatTheDialogShows() {
        WindowFixture fixture;
        QStringList general, interface;
        std::shared_ptr<SeenBox> notice;
        QVERIFY(fixture.RunDialog<ui::PreferencesDialog>(kPreferences, [&](QDialog* dialog) {
            auto* tabs = dialog->findChild<QTabWidget*>();
            QCOMPARE(dialog->windowTitle() + "|" + tabs->tabText(1),
                     u"Velmora 1.1 Preferences|User Interface"_s);
            general = States(*tabs->widget(0));
            notice = AnswerNextBox(QMessageBox::Ok);
            Press(*dialog, QDialogButtonBox::Ok);
        }));
        QCOMPARE(general,
                 QStringList(
                     {"[x] Recurse Subdirectories",
                      "[ ] Save files in ID3v2.4 (may create problems with older media players)",
                      "-[x] Don't change encoding", "-[ ] Save as Unicode",
                      "-[ ] Save as Unicode (with BOM)", "-[ ] Save as UTF-8",
                      "[ ] Automatically remove empty IDv1 tags", "[x] Keep a history of saves"}));
        QCOMPARE(notice->text,
                 u"Some settings will not take effect until the program is restarted."_s);
        QCOMPARE(notice->icon, QMessageBox::Information);
        QCOMPARE(Stored(fixture, {"Recurse", "Use2.4", "AutoDeleteV1", "Encoding", "KeepHistory",
                                  "HistoryMaxMiB", "HistoryKeepDays"}),
                 u"1 0 0 0 1 1024 180"_s);
        QVERIFY(fixture.Environment().Settings().ReadString("CodePage") == u"CP1252");
        const auto interfaceNames = {"ShowIcons", "ShowRedText", "ShowGridlines", "AlternateBg"};
        QCOMPARE(Stored(fixture, interfaceNames), u"- - - -"_s);

        QVERIFY(fixture.RunDialog<ui::PreferencesDialog>(kPreferences, [&](QDialog* dialog) {
            auto* tabs = dialog->findChild<QTabWidget*>();
            tabs->setCurrentIndex(1);
            interface = States(*tabs->widget(1));
            ButtonNamed(*tabs->widget(1), u"Show gridlines"_s)->click();
            PressOk(dialog);
        }));
        QCOMPARE(
            interface,
            QStringList({"[ ] Show icons for updated files", "[x] Show updated files with red text",
                         "[ ] Show gridlines", "[x] Alternate item background color"}));
        QCOMPARE(Stored(fixture, interfaceNames), u"0 1 1 1"_s);
        QVERIFY(fixture.Window().List().showGrid());

        // Cancel: the store stays; the list follows the store changed meanwhile.
        fixture.Environment().Settings().WriteBool("ShowGridlines", false);
        fixture.Environment().Settings().WriteBool("Recurse", false);
        QVERIFY(fixture.RunDialog<ui::PreferencesDialog>(kPreferences, [&](QDialog* dialog) {
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                box->setChecked(!box->isChecked());
            Press(*dialog, QDialogButtonBox::Cancel);
        }));
        QCOMPARE(Stored(fixture, {"Recurse", "Use2.4", "ShowGridlines"}), u"0 0 0"_s);
        QVERIFY(!fixture.Window().List().showGrid());

        // An encoding outside the buttons checks none and stays; the buttons follow the version
        // box, and what they set reaches every frame of files already loaded.
        fixture.Environment().Settings().WriteNumber("Encoding", 7);
        QVERIFY(fixture.RunDialog<ui::PreferencesDialog>(kPreferences, [&](QDialog* dialog) {
            Click(*dialog, "Save files in ID3v2.4 (may create problems with older media players)");
            general = States(*dialog->findChild<QTabWidget*>()->widget(0));
            PressOk(dialog);
        }));
        QVERIFY(general.contains("[ ] Don't change encoding") &&
                general.contains("[ ] Save as UTF-8"));
        QCOMPARE(Stored(fixture, {"Encoding"}), u"7"_s);
        QVERIFY(fixture.RunDialog<ui::PreferencesDialog>(kPreferences, [&](QDialog* dialog) {
            dialog->findChildren<QRadioButton*>().back()->click();  // "Save as UTF-8"
            PressOk(dialog);
        }));
        fixture.Select({"a.mp3"});
        Type(fixture.Field(edit::V2Field::Title), u"x"_s);
        fixture.Click(u"Save All"_s);
        QVERIFY(fixture.Save());
        // Every frame of the file, typed in or not, is written in UTF-8 in an ID3v2.4 tag.
        QCOMPARE(MutagenSays(fixture.Songs() / "a.mp3",
                             "t.version[1], sorted({int(f.encoding) for f in t.values() if "
                             "hasattr(f, 'encoding')})"),
                 u"4 [3]"_s);
    }
};

VELMORA_UI_TEST(PreferencesTest);

}  // namespace velmora::testing

#include "preferences_test.moc"
